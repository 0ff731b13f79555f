#include "terrain/HighlightColors.h"

#include "images/ColorTable.h"

namespace tamber::terrain {
using namespace tamber::base;
using namespace tamber::images;

namespace {

constexpr uint8_t kFallback[8][3] = {
    {255, 8, 51}, {221, 0, 230}, {42, 12, 255}, {0, 123, 255},
    {0, 246, 204}, {32, 255, 26}, {212, 242, 0}, {255, 120, 0},
};

}  // namespace

std::array<uint8_t, 768> LoadHighlightColors(const std::string& path) {
    if (Result<ColorTable> read = ReadColorTable(path))
        return read->entries;
    std::array<uint8_t, 768> table{};
    for (size_t i = 0; i < 256; ++i)
        for (size_t c = 0; c < 3; ++c)
            table[i * 3 + c] = kFallback[i % 8][c];
    // The fallback works without the file, so a failed write-back only means the
    // next start tries again. The write goes through a temporary: a failure
    // leaves nothing behind.
    (void)WriteColorTable(path, table.data(), 256);
    return table;
}

}  // namespace tamber::terrain
