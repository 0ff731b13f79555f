#include "fuzz/images/RoundTrip.h"
#include "images/TiffCodec.h"

using namespace tamber::images;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Image header;
    if (ReadTiff(data, size, header, true) && (!header.pixels.empty() || !CanOpenTiff(data, size)))
        std::abort();
    CheckDecoded(data, size, kFormatTiff);
    return 0;
}
