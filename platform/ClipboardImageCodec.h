#pragma once
// A compressed image format the clipboard offers and accepts beside the bitmap
// form (PNG on X11). The platform layer holds no image codecs: the program
// installs one; until then only bitmaps are exchanged.
#include <cstdint>
#include <functional>
#include <vector>

namespace tamber::platform {

struct ClipboardImageCodec {
    // Top-down RGB to the file's bytes; empty on failure.
    std::function<std::vector<uint8_t>(const std::vector<uint8_t>& rgb, int width, int height)> encode;
    // The file's bytes to top-down RGB; false when they are not a readable image.
    std::function<bool(const std::vector<uint8_t>& bytes, std::vector<uint8_t>& rgb, int& width, int& height)> decode;
};

void OsSetClipboardPngCodec(ClipboardImageCodec codec);
// The installed codec; its functions are empty when none was installed.
const ClipboardImageCodec& OsClipboardPngCodec();

}  // namespace tamber::platform
