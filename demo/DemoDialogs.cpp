// "demo main menu" (`mmen`, foundation archive) and "demo options" (`opti`,
// loose), whose last control has the unknown type `zzzz`.
#include "demo/DemoDialogs.h"

#include <cassert>

#include "dialogs/DialogPayload.h"
#include "tags/FourCC.h"

namespace tamber::demo {
using namespace tamber::dialogs;
using namespace tamber::tags;

namespace {

DemoTag DialogTag(const std::string& name, uint32_t tagid, const Dialog& dialog) {
    DemoTag tag;
    tag.group = FourCC("bina");
    tag.tagid = tagid;
    tag.name = name;
    // The demo dialogs have a handful of controls, so they always store.
    base::Result<std::vector<uint8_t>> payload = WriteDialogPayload(dialog);
    assert(payload.ok());
    if (payload) tag.data = std::move(payload).value();
    return tag;
}

DialogControl Control(const char (&type)[5], uint16_t id, int32_t left, int32_t top, int32_t width, int32_t height,
                      const char* text) {
    return DialogControl{FourCC(type), id, left, top, left + width, top + height, text};
}

Dialog MakeDialog(int32_t left, int32_t top, int32_t right, int32_t bottom, std::vector<DialogControl> controls) {
    Dialog dialog;
    dialog.version = 1;
    dialog.left = left;
    dialog.top = top;
    dialog.right = right;
    dialog.bottom = bottom;
    dialog.controls = std::move(controls);
    return dialog;
}

}  // namespace

void AddDialogContent(DemoGame& game) {
    const Dialog menu = MakeDialog(0, 0, 640, 480, {
        Control("bann", 1, 20, 16, 600, 64, "Vesk II"),
        Control("butt", 2, 220, 120, 200, 40, "New Game"),
        Control("butt", 3, 220, 170, 200, 40, "Load Game"),
        Control("butt", 4, 220, 220, 200, 40, "Options"),
        Control("butt", 5, 220, 270, 200, 40, "Quit"),
        Control("bitm", 6, 20, 360, 96, 96, ""),
        Control("stat", 7, 140, 440, 360, 20, "Demo build"),
    });
    game.ArchiveNamed("foundation.dng").tags.push_back(DialogTag("demo main menu", FourCC("mmen"), menu));

    const Dialog options = MakeDialog(40, 30, 440, 330, {
        Control("tabc", 1, 10, 10, 380, 24, ""),
        Control("chek", 2, 20, 50, 160, 20, "Show blood"),
        Control("slid", 3, 20, 80, 200, 20, "Music volume"),
        Control("popu", 4, 20, 110, 200, 20, ""),
        Control("edit", 5, 20, 140, 200, 20, "Player"),
        Control("colr", 6, 240, 140, 40, 20, ""),
        Control("radi", 7, 20, 170, 160, 20, "Fast"),
        Control("radi", 8, 20, 195, 160, 20, "Slow"),
        Control("butt", 9, 280, 260, 100, 30, "Done"),
        Control("zzzz", 12, 20, 260, 100, 30, "mystery"),
    });
    const DemoTag loose = DialogTag("demo options", FourCC("opti"), options);
    game.AddLoose({"dialogs", loose.name, loose, false});
}

}  // namespace tamber::demo
