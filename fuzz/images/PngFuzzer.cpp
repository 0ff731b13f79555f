#include "fuzz/images/RoundTrip.h"
#include "images/PngCodec.h"

using namespace tamber::images;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Image header;
    if (ReadPng(data, size, header, true) && !header.pixels.empty())
        std::abort();
    CheckDecoded(data, size, kFormatPng);
    return 0;
}
