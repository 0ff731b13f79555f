#include "fuzz/images/RoundTrip.h"
#include "images/TiffCodec.h"

using namespace tamber::base;
using namespace tamber::images;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Result<Image> header = ReadTiff(data, size, true);
    if (header && (!header->pixels.empty() || !CanOpenTiff(data, size)))
        std::abort();
    CheckDecoded(data, size, kFormatTiff);
    return 0;
}
