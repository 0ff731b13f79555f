#include "terrain/HighlightColors.h"

#include <cstdio>
#include <filesystem>

#include "images/ColorTable.h"

namespace tamber::terrain {
using namespace tamber::images;

namespace {

constexpr uint8_t kFallback[8][3] = {
    {255, 8, 51}, {221, 0, 230}, {42, 12, 255}, {0, 123, 255},
    {0, 246, 204}, {32, 255, 26}, {212, 242, 0}, {255, 120, 0},
};

void WriteBack(const std::string& path, const uint8_t* table) {
    const std::string temporary = path + ".tmp";
    std::error_code ec;
    if (WriteColorTable(temporary, table, 256))
        std::filesystem::rename(temporary, path, ec);
    if (ec || std::filesystem::exists(temporary, ec))
        std::filesystem::remove(temporary, ec);
}

}  // namespace

std::array<uint8_t, 768> LoadHighlightColors(const std::string& path) {
    std::array<uint8_t, 768> table{};
    uint32_t count = 0;
    if (ReadColorTable(path, table.data(), count))
        return table;
    for (size_t i = 0; i < 256; ++i)
        for (size_t c = 0; c < 3; ++c)
            table[i * 3 + c] = kFallback[i % 8][c];
    WriteBack(path, table.data());
    return table;
}

}  // namespace tamber::terrain
