#include "terrain/editor/ClipboardPng.h"

#include "images/MediaFile.h"
#include "images/PixelConvert.h"
#include "platform/ClipboardImageCodec.h"

namespace tamber::terrain::editor {
using namespace tamber::base;
using namespace tamber::images;
using namespace tamber::platform;

namespace {

std::vector<uint8_t> EncodePng(const std::vector<uint8_t>& rgb, int width, int height) {
    Image image;
    if (!CreateImage(image, width, height, kPixelRGB) || rgb.size() != image.pixels.size())
        return {};
    image.pixels = rgb;
    Result<std::vector<uint8_t>> bytes = EncodeImage(image, kFormatPng);
    return bytes ? std::move(*bytes) : std::vector<uint8_t>{};
}

// Any PNG the image library reads becomes RGB (transparency dropped).
bool DecodePng(const std::vector<uint8_t>& bytes, std::vector<uint8_t>& rgb, int& width, int& height) {
    Result<Image> image = DecodeImage(bytes.data(), bytes.size(), kFormatPng);
    if (!image || (image->format != kPixelRGB && !Convert(*image, kPixelRGB)))
        return false;
    rgb = std::move(image->pixels);
    width = image->width, height = image->height;
    return true;
}

}  // namespace

void InstallClipboardPng() {
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    OsSetClipboardPngCodec({EncodePng, DecodePng});
}

}  // namespace tamber::terrain::editor
