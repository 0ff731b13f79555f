// Detail texture streams and payloads: any input decodes without fault, and a
// decoded image encodes and decodes back to the same pixels.
#include <cstdint>

#include "terrain/DetailTexture.h"
#include "terrain/DtexStream.h"

using namespace tamber::terrain;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::span<const uint8_t> bytes(data, size);
    (void)ReadDetailTexture(bytes);
    auto image = DecodeDtexStream(bytes);
    if (!image)
        return 0;
    auto stream = EncodeDtexStream(image->rgb.data(), image->width, image->height);
    if (!stream)
        __builtin_trap();
    auto again = DecodeDtexStream(*stream);
    if (!again || again->rgb != image->rgb)
        __builtin_trap();
    return 0;
}
