#include "fuzz/images/RoundTrip.h"
#include "images/BmpCodec.h"

using namespace tamber::images;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    BmpHeader header;
    if (ReadBmpHeader(data, size, header) && (header.width < 1 || header.height < 1 || header.pixelOffset > 54 + 1024))
        std::abort();
    CheckDecoded(data, size, kFormatBmp);
    return 0;
}
