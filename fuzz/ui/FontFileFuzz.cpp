// Font files from strangers (a replaced res folder): parse, pack and lay text out.
#include <cstddef>
#include <cstdint>

#include "ui/Font.h"
#include "ui/FontFile.h"
#include "ui/TextLayout.h"

using namespace tamber::ui;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto font = ParseFont(data, size);
    if (!font) return 0;
    PackFontGlyphs(*font, 256);
    int width = 0;
    DrawText(font.get(), "Tamber |bbold|p\t|itab|o\nwrap me please", 0, 0x200 | 8, Rect{0, 0, 60, 400});
    width = CharIndexAtX(font.get(), "Tamber", 20);
    (void)width;
    return 0;
}
