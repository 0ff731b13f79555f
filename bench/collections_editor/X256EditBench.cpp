// The collection editor opening a collection of 2,000 bitmaps of 128 x 128 (read,
// both browsers filled, the first frame of the grid drawn) and scrolling the grid
// a row a frame; the frame view playing a sequence of 8 views and 12 frames with
// the onion skin, the contrail and the shadows at 300%, a new picture every tick;
// then, without windows, palette reconciliation, plate export and plate import for
// a 4096 x 4096 plate. Run from the build's run folder.
//
//   collections_editor_bench [frames]
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "bench/support/BenchFigures.h"
#include "collections/BitmapExport.h"
#include "collections/BitmapImport.h"
#include "collections/CollectionEdits.h"
#include "collections/CollectionFile.h"
#include "collections/ColorPlate.h"
#include "collections/PaletteMerge.h"
#include "collections/SequenceLayout.h"
#include "collections/editor/X256BitmapBrowser.h"
#include "collections/editor/X256Edit.h"
#include "collections/editor/X256ItemBrowser.h"
#include "collections/editor/X256SequenceEdit.h"
#include "collections/editor/X256SequenceFrameEdit.h"
#include "collections/editor/X256SequenceFrameView.h"
#include "editing/TagEditorRegistry.h"
#include "images/MediaFile.h"
#include "tags/Codex.h"
#include "tags/TagOperations.h"
#include "tests/ui/support/UiTestDriver.h"
#include "ui/widgets/GridWindow.h"
#include "ui/widgets/TabWindow.h"

using namespace tamber::bench;
using namespace tamber::collections;
using namespace tamber::collections::editor;
using namespace tamber::editing;
using namespace tamber::images;
using namespace tamber::tags;

namespace {

constexpr int kBitmaps = 2000;
constexpr int kSide = 128;
constexpr int kFrames = 12, kViews = 8;

std::unique_ptr<Collection> BigCollection(int count, int side) {
    auto c = std::make_unique<Collection>();
    for (size_t i = 0; i < 256; ++i) c->palette[i * 3] = uint8_t(i), c->palette[i * 3 + 1] = uint8_t(i * 7);
    for (int n = 0; n < count; ++n) {
        auto b = std::make_shared<Bitmap>();
        b->name = "bitmap " + std::to_string(n);
        b->flags = kBitmapRle;
        std::vector<uint8_t> pixels(size_t(side) * size_t(side) * 2);
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x) {
                uint8_t* p = &pixels[(size_t(y) * size_t(side) + size_t(x)) * 2];
                const int dx = x - side / 2, dy = y - side / 2;
                const bool inside = dx * dx + dy * dy < (side / 2 - n % 8) * (side / 2 - n % 8);
                p[0] = inside ? 255 : 0;
                p[1] = inside ? uint8_t(2 + (x + y + n) % 250) : 0;
            }
        StorePixels(*b, side, side, std::move(pixels));
        c->bitmaps.push_back(b);
    }
    // A walk: each frame's pictures a little further on, shadows under every frame.
    Sequence walk;
    walk.name = "walk";
    ResizeSequence(walk, kFrames, kViews);
    walk.header.ticksPerFrame = 1;
    for (int f = 0; f < kFrames && count >= kFrames * kViews; ++f) {
        Frame& frame = walk.frames[size_t(f)];
        frame.shadow.bitmap = c->bitmaps[size_t(f)];
        for (int v = 0; v < kViews; ++v) {
            View& view = frame.views[size_t(v)];
            view.sets[0] = {c->bitmaps[size_t(f * kViews + v)], int16_t(side / 2 - f * 4), int16_t(side), kFirstSetScale};
            view.pointX = int16_t(side / 2), view.pointY = int16_t(side / 3);
        }
    }
    c->sequences.push_back(walk);
    return c;
}

// Plays "walk" in a frame editor of 1000 x 740, opened as a user opens it (the
// Sequences page, the sequence editor, "Frame View"), and times the frames that
// show a new picture: every step moves the clock on by one tick. Then the same with
// the page of 2,000 bitmaps behind it, and with nothing behind it: the windows under
// the redrawn area are drawn again each frame, and they take most of the time.
void FrameViewFigures(UiTestDriver& ui, X256Edit& edit, int frames) {
    edit.Tabs()->SelectTab(X256Edit::kSequencesPage);
    static_cast<X256ItemBrowser*>(edit.GetPage(X256Edit::kSequencesPage))->OpenEditor(0);
    ui.step();
    auto* sequence = dynamic_cast<X256SequenceEdit*>(ui.find("Sequence: walk"));
    if (sequence) sequence->OpenFrameEditor();
    ui.step();
    auto* editor = dynamic_cast<X256SequenceFrameEdit*>(ui.find("Frames: walk"));
    if (!editor) {
        std::fprintf(stderr, "no frame editor\n");
        return;
    }
    editor->SetFrameXYWH(0, 0, 1000, 740);
    X256SequenceFrameView* view = editor->View();
    view->SetOption(X256SequenceFrameView::kShowOnionSkin, true);
    view->SetOption(X256SequenceFrameView::kShowContrail, true);
    view->SetZoom(3);
    editor->Press(X256SequenceFrameEdit::kAnimate);
    ui.step();
    auto play = [&](const char* behind, bool goal) {
        std::vector<double> frameMs, frameCpu;
        int shown = 0;
        for (int i = 0; i < frames; ++i) {
            const int before = view->FrameIndex();
            ui.wait(1.0 / X256SequenceFrameView::kTicksPerSecond - UiTestDriver::kFrameSeconds);
            const auto frame = Clock::now();
            const double cpu = ProcessCpuMilliseconds();
            ui.step();
            frameMs.push_back(MillisecondsSince(frame));
            frameCpu.push_back(ProcessCpuMilliseconds() - cpu);
            shown += view->FrameIndex() != before;
        }
        const double fps = 1000.0 / std::max(Median(frameMs), 1e-3);
        const std::string measure =
            std::string("frame view: animating 128 x 128 at 300%, onion skin, contrail, shadow, a picture a tick, ") +
            behind;
        std::printf("%s: %d of %d steps showed a new picture\n", behind, shown, frames);
        const double rate = X256SequenceFrameView::kTicksPerSecond;
        PrintFigure(measure, Format("%.0f frames/s", fps), goal ? Format(">= %.0f frames/s", rate) : "",
                    goal ? Met(shown == frames && fps >= rate) : "note");
        PrintFigure(measure + ", processor time a frame", Format("%.1f ms", Median(frameCpu)), "", "note");
    };
    play("sequence editor behind", true);
    edit.Tabs()->SelectTab(X256Edit::kBitmapsPage);
    ui.step();
    play("2,000-bitmap page behind", false);
    // What the frame view's own drawing costs: the windows below it hidden, so that
    // the redrawn area holds the frame editor alone.
    edit.SetVisible(false);
    if (sequence) sequence->SetVisible(false);
    ui.step();
    play("nothing behind", false);
    edit.SetVisible(true);
    editor->Close();
    if (sequence) sequence->Close();
    ui.step();
}

TagRecord* WriteTag(const Collection& collection) {
    Codex& codex = Codex::Instance();
    Result<NewTag> created = CreateTag(codex, kCollectionGroupCode, std::nullopt, "big sprites", true);
    if (!created) return nullptr;
    const Result<CollectionPayload> payload = WriteCollection(collection);
    if (!payload) return nullptr;
    TagHeader header = created->header;
    header.version = payload->fields.version;
    Result<FILE*> stream = BeginTagWrite(codex, created->record, header);
    const bool written = stream && std::fwrite(payload->bytes.data(), 1, payload->bytes.size(), *stream) == payload->bytes.size();
    if (!FinishTagWrite(codex, created->record, &header, written)) return nullptr;
    codex.RefreshLocalFolder(true);
    return codex.FindTag(kCollectionGroupCode, created->record->tagid);
}

void PlateFigures(const std::string& folder) {
    // 1,024 bitmaps of 124 x 124 fill a plate of about 4096 x 4096.
    std::unique_ptr<Collection> c = BigCollection(1024, 124);
    std::vector<const Bitmap*> bitmaps;
    for (const auto& b : c->bitmaps) bitmaps.push_back(b.get());
    auto start = Clock::now();
    const Image plate = MakePlate(*c, bitmaps, false);
    const std::string path = folder + "/plate.png";
    if (!ExportPlate(*c, bitmaps, path, false).ok()) std::fprintf(stderr, "couldn't write the plate\n");
    const double exportMs = MillisecondsSince(start);
    start = Clock::now();
    Collection target = *c;
    const ImportOutcome imported = ReplaceFromPlate(target, bitmaps, path, [] { return false; });
    const double importMs = MillisecondsSince(start);
    // Reconciliation alone: the plate's palette rotated, so that every colour is new
    // to a palette with 256 repeated entries.
    Image shifted = plate;
    for (size_t i = 0; i < shifted.palette.size(); ++i) shifted.palette[i] = uint8_t(shifted.palette[i] ^ 0x55);
    Collection blankish;
    blankish.palette.fill(0);
    blankish.palette[3] = 1;
    start = Clock::now();
    const PaletteMerge merge = MergePalette(blankish, shifted);
    const std::array<uint8_t, 256> map = IndexMap(blankish.palette, shifted);
    size_t sum = 0;
    for (uint8_t v : shifted.pixels) sum += map[v];
    const double mergeMs = MillisecondsSince(start);
    std::printf("plate %d x %d, %d bitmaps replaced, merge %d, checksum %zu\n", plate.width, plate.height,
                imported.changed, int(merge), sum);
    PrintFigure(Format("plate export, %.0f-pixel square plate", plate.width), Format("%.0f ms", exportMs), "", "note");
    PrintFigure(Format("plate import, %.0f-pixel square plate", plate.width), Format("%.0f ms", importMs), "", "note");
    PrintFigure(Format("palette reconciliation, %.0f-pixel square plate", plate.width), Format("%.1f ms", mergeMs), "",
                "note");
}

}  // namespace

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
    const std::string root = std::filesystem::temp_directory_path() / ("tamber-x256-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(root + "/game/local");
    Codex::Instance().Init(root + "/game/");
    SetTagEditorFactory(kCollectionGroupCode, &X256Edit::Create);
    TagRecord* record = WriteTag(*BigCollection(kBitmaps, kSide));
    UiTestDriver::Options options;
    options.watchdogSeconds = 600;
    UiTestDriver ui(options);
    if (!record || !ui.Ready()) {
        std::fprintf(stderr, "no collection or no OpenGL: %s\n", ui.Error().c_str());
        return 1;
    }
    ui.Run([&](UiTestDriver& ui) {
        const auto start = Clock::now();
        const double openCpu = ProcessCpuMilliseconds();
        auto* edit = dynamic_cast<X256Edit*>(OpenTagEditor(record));
        auto* page = static_cast<X256BitmapBrowser*>(edit->GetPage(X256Edit::kBitmapsPage));
        if (!page->ShowingGrid()) page->SwitchView();
        ui.step();
        const double openMs = MillisecondsSince(start), openCpuMs = ProcessCpuMilliseconds() - openCpu;
        std::vector<double> frameMs, frameCpu;
        for (int i = 0; i < frames; ++i) {
            const auto frame = Clock::now();
            const double cpu = ProcessCpuMilliseconds();
            page->Grid()->ScrollBy(ScrollableWindow::kVertical, 1);
            ui.step();
            frameMs.push_back(MillisecondsSince(frame));
            frameCpu.push_back(ProcessCpuMilliseconds() - cpu);
        }
        PrintFigure("collection editor: open 2,000 bitmaps of 128 x 128, first grid frame", Format("%.0f ms", openMs),
                    "< 500 ms", Met(openMs < 500));
        PrintFigure("collection editor: opening, processor time", Format("%.0f ms", openCpuMs), "", "note");
        PrintFigure("collection editor: scrolling the grid a row a frame", Format("%.1f ms", Median(frameMs)),
                    "< 16 ms", Met(Median(frameMs) < 16));
        PrintFigure("collection editor: scrolling, processor time a frame", Format("%.1f ms", Median(frameCpu)), "",
                    "note");
        FrameViewFigures(ui, *edit, frames);
        edit->Close();
        ui.step(2);
    });
    PlateFigures(root);
    Codex::Instance().Init("/nonexistent-tamber-folder/");
    std::filesystem::remove_all(root);
    return 0;
}
