#include "fuzz/images/RoundTrip.h"
#include "images/PngCodec.h"

using namespace tamber::base;
using namespace tamber::images;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Result<Image> header = ReadPngHeader(data, size);
    if (header && !header->pixels.empty())
        std::abort();
    CheckDecoded(data, size, kFormatPng);
    // With the transparency applied the picture may become RGBA, never anything odd.
    Result<Image> applied = ReadPng(data, size, Transparency::kApply);
    if (applied && applied->pixels.size() != applied->PixelCount() * BytesPerPixel(applied->format))
        std::abort();
    return 0;
}
