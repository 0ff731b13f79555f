#include "terrain/DetailTexture.h"

#include <algorithm>
#include <string>

#include "collections/RecordIO.h"
#include "terrain/DtexStream.h"
#include "terrain/TerrainRecords.h"

namespace tamber::terrain {
using namespace tamber::base;
using namespace tamber::collections;

namespace {

uint8_t Clamp(int value) { return uint8_t(std::clamp(value, 0, 255)); }

}  // namespace

bool IsPowerOfTwo(uint32_t value) { return value != 0 && (value & (value - 1)) == 0; }

Result<DetailTexture> ReadDetailTexture(std::span<const uint8_t> payload) {
    BigEndianReader in(payload);
    DetailTextureHeaderRecord header;
    UnpackAt(in, &header, 1, kDetailTextureHeaderDescriptor);
    const uint32_t count = in.LE32();
    std::span<const uint8_t> stream = in.Take(count);
    if (!in.Ok())
        return Fail("couldn't read the detail texture: the data is shorter than its header says");
    if (stream.empty())
        return Fail("couldn't read the detail texture: it has no image");
    DetailTexture texture;
    texture.width = header.width;
    texture.height = header.height;
    texture.word12 = header.word12;
    if (!IsPowerOfTwo(texture.width) || !IsPowerOfTwo(texture.height))
        return Fail("couldn't read the detail texture: its sides are not powers of two");
    Result<DtexImage> image = DecodeDtexStream(stream);
    if (!image)
        return Fail("couldn't read the detail texture: " + image.error());
    if (uint32_t(image->width) != texture.width || uint32_t(image->height) != texture.height)
        return Fail("couldn't read the detail texture: its image is " + std::to_string(image->width) + " x " +
                    std::to_string(image->height) + " pixels but the header says " + std::to_string(texture.width) +
                    " x " + std::to_string(texture.height));
    texture.pixels = std::move(image->rgb);
    return texture;
}

Result<std::vector<uint8_t>> WriteDetailTexture(const DetailTexture& texture) {
    if (!IsPowerOfTwo(texture.width) || !IsPowerOfTwo(texture.height))
        return Fail("couldn't write the detail texture: its sides are not powers of two");
    if (texture.pixels.size() != texture.PixelCount() * 3)
        return Fail("couldn't write the detail texture: its pixels do not match its size");
    Result<std::vector<uint8_t>> stream =
        EncodeDtexStream(texture.pixels.data(), int(texture.width), int(texture.height));
    if (!stream)
        return Fail("couldn't write the detail texture: " + stream.error());
    std::vector<uint8_t> payload;
    BigEndianWriter out(payload);
    const DetailTextureHeaderRecord header{texture.width, texture.height, 0, texture.word12};
    PackAt(out, &header, 1, kDetailTextureHeaderDescriptor);
    out.LE32(uint32_t(stream->size()));
    out.Bytes(*stream);
    return payload;
}

DetailTexture MakeDefaultDetailTexture() {
    DetailTexture texture;
    texture.width = texture.height = 256;
    texture.pixels.resize(texture.PixelCount() * 3);
    for (uint32_t y = 0; y < 256; ++y)
        for (uint32_t x = 0; x < 256; ++x) {
            const uint8_t v = ((x ^ y) & 16) ? 0 : 255;
            std::fill_n(&texture.pixels[(y * 256 + x) * 3], 3, v);
        }
    return texture;
}

void MeanCenterRgb(DetailTexture& texture) {
    const size_t n = texture.PixelCount();
    if (n == 0 || texture.pixels.size() < n * 3)
        return;
    uint64_t sums[3] = {};
    for (size_t i = 0; i < n; ++i)
        for (size_t c = 0; c < 3; ++c)
            sums[c] += texture.pixels[i * 3 + c];
    int offsets[3];
    for (size_t c = 0; c < 3; ++c)
        offsets[c] = 128 - int(sums[c] / n);
    for (size_t i = 0; i < n; ++i)
        for (size_t c = 0; c < 3; ++c)
            texture.pixels[i * 3 + c] = Clamp(texture.pixels[i * 3 + c] + offsets[c]);
}

void MeanCenterLuma(DetailTexture& texture) {
    const size_t n = texture.PixelCount();
    if (n == 0 || texture.pixels.size() < n * 3)
        return;
    uint64_t luma = 0;
    for (size_t i = 0; i < n; ++i) {
        const uint8_t* p = &texture.pixels[i * 3];
        luma += (77u * p[0] + 151u * p[1] + 28u * p[2]) >> 8;
    }
    // The mean over N / 256 rounds down to 0 for tiny textures; scale before dividing there.
    const int64_t mean = n >= 256 ? int64_t(luma / 255 / (n >> 8)) : int64_t(luma * 256 / 255 / n);
    const int offset = int(128 - mean);
    for (uint8_t& channel : texture.pixels)
        channel = Clamp(channel + offset);
}

void ShiftHalf(DetailTexture& texture) {
    const size_t w = texture.width, h = texture.height;
    if (texture.pixels.size() != w * h * 3)
        return;
    std::vector<uint8_t> shifted(texture.pixels.size());
    for (size_t y = 0; y < h; ++y)
        for (size_t x = 0; x < w; ++x)
            std::copy_n(&texture.pixels[(y * w + x) * 3], 3, &shifted[(((y + h / 2) % h) * w + (x + w / 2) % w) * 3]);
    texture.pixels = std::move(shifted);
}

}  // namespace tamber::terrain
