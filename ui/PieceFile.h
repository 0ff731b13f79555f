#pragma once
// The piece file: the format of res/texturepack and res/cursors. All numbers are
// little-endian: a 32-bit piece count, then per piece a 28-byte header and its
// pixels (width x height x 4 bytes R, G, B, A, rows top to bottom).
//
//   0  8  two 32-bit link values (written 0, ignored)
//   8  4  two 16-bit values: the atlas position in the texture pack (ignored there);
//         res/cursors keeps each cursor's hot spot x and y here
//  12  2  width             14  2  height
//  16  4  flags and page (written 0, ignored)
//  20  4  a pointer value (written 0, ignored)
//  24  4  piece id (for cursors the cursor resource number)
//
// Reading needs no OpenGL, so the platform layer can make cursors from res/cursors.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tamber::ui {

struct PieceImage {
    uint32_t id = 0;
    uint16_t width = 0;
    uint16_t height = 0;
    uint16_t hotX = 0;
    uint16_t hotY = 0;
    std::vector<uint8_t> rgba;
};

// Nothing when the data ends inside a record (every byte count is checked first).
std::optional<std::vector<PieceImage>> ParsePieceFile(const uint8_t* data, size_t size);
std::optional<std::vector<PieceImage>> ReadPieceFile(const std::string& path);
std::vector<uint8_t> EncodePieceFile(const std::vector<PieceImage>& pieces);
bool WritePieceFile(const std::string& path, const std::vector<PieceImage>& pieces);

}  // namespace tamber::ui
