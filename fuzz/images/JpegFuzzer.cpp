// Reads arbitrary bytes as a JPEG; whatever is accepted must be a consistent
// picture that survives being written as PNG and read again unchanged.
#include "fuzz/images/RoundTrip.h"
#include "images/JpegCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Result<Image> image = ReadJpeg(data, size);
    if (!image) return 0;
    if (image->format != kPixelGrey && image->format != kPixelRGB) std::abort();
    if (image->pixels.size() != image->PixelCount() * BytesPerPixel(image->format)) std::abort();
    Result<std::vector<uint8_t>> png = EncodeImage(*image, kFormatPng);
    if (!png) std::abort();
    CheckDecoded(png->data(), png->size(), kFormatPng);
    return 0;
}
