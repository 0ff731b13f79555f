#pragma once
// The highlight colours of detail materials, from the colour table res/dtex.act.
#include <array>
#include <cstdint>
#include <string>

namespace tamber::terrain {

constexpr const char* kHighlightColorsPath = "res/dtex.act";

// Reads the 256 colours (red, green, blue). When the file cannot be read, fills
// the table with eight fallback colours repeated 32 times and writes that table
// back to `path` (through a temporary file, so a failed write leaves nothing).
std::array<uint8_t, 768> LoadHighlightColors(const std::string& path = kHighlightColorsPath);

}  // namespace tamber::terrain
