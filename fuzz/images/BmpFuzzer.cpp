#include "fuzz/images/RoundTrip.h"
#include "images/BmpCodec.h"

using namespace tamber::base;
using namespace tamber::images;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Result<BmpHeader> header = ReadBmpHeader(data, size);
    if (header && (header->width < 1 || header->height < 1 ||
                   header->pixelOffset < header->paletteOffset + 4 * size_t(header->paletteEntries)))
        std::abort();
    CheckDecoded(data, size, kFormatBmp);
    return 0;
}
