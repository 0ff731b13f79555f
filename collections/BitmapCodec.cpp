#include "collections/BitmapCodec.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <string>

namespace tamber::collections {

using namespace tamber::base;

namespace {

uint16_t Be16(const uint8_t* p) { return uint16_t(p[0] << 8 | p[1]); }

size_t PadRow(size_t bytes, bool padded) { return padded ? (bytes + 1) & ~size_t(1) : bytes; }

// Writes (alpha, index) pairs for `count` stored pixels of `Stored` bytes, whose
// last byte is the index. Pixels go in blocks of 16 so that the compiler turns
// the fixed inner loop into vector instructions.
template <size_t Stored, typename Alpha>
void ConvertBlocks(const uint8_t* __restrict in, uint8_t* __restrict out, size_t count, Alpha alpha) {
    size_t i = 0;
    for (; i + 16 <= count; i += 16) {
        uint8_t block[32];
        for (size_t k = 0; k < 16; ++k) {
            block[k * 2] = alpha(in + (i + k) * Stored);
            block[k * 2 + 1] = in[(i + k) * Stored + Stored - 1];
        }
        std::memcpy(out + i * 2, block, sizeof block);
    }
    for (; i < count; ++i) {
        out[i * 2] = alpha(in + i * Stored);
        out[i * 2 + 1] = in[i * Stored + Stored - 1];
    }
}

// How stored pixels become (alpha, index) pairs: arithmetic for plain 8-bit and
// 16-bit pixels, a table of the palette for colour alpha.
class PixelConverter {
public:
    PixelConverter(const PalettedLayout& layout, const uint8_t* palette)
        : kind_(layout.sixteenBit ? Kind::kSixteenBit : layout.colourAlpha ? Kind::kColourAlpha : Kind::kPlain) {
        if (kind_ == Kind::kColourAlpha)
            for (int v = 0; v < 256; ++v)
                alpha_[v] = std::max({palette[v * 3], palette[v * 3 + 1], palette[v * 3 + 2]});
    }

    size_t StoredBytes() const { return kind_ == Kind::kSixteenBit ? 2 : 1; }

    // Converts `count` stored pixels at `in` into pairs at `out`.
    void Convert(const uint8_t* in, uint8_t* out, size_t count) const {
        switch (kind_) {
        case Kind::kSixteenBit:
            // Transparency nibble 0 is opaque, 15 clear; the high nibble is ignored.
            ConvertBlocks<2>(in, out, count, [](const uint8_t* p) { return uint8_t((15 - (p[0] & 15)) * 17); });
            break;
        case Kind::kPlain:
            ConvertBlocks<1>(in, out, count, [](const uint8_t* p) { return uint8_t(p[0] ? 255 : 0); });
            break;
        case Kind::kColourAlpha:
            ConvertBlocks<1>(in, out, count, [this](const uint8_t* p) { return alpha_[p[0]]; });
            break;
        }
    }

private:
    enum class Kind { kSixteenBit, kPlain, kColourAlpha };

    Kind kind_;
    uint8_t alpha_[256] = {};
};

// Decodes one RLE row at data[pos] into a row of zeroed pixels, or only checks it
// when `row` is null; advances pos past the row. False when invalid.
bool DecodeRleRow(std::span<const uint8_t> data, size_t& pos, size_t width, bool padded,
                  const PixelConverter& converter, uint8_t* row) {
    const size_t stored = converter.StoredBytes();
    if (data.size() - pos < 4)
        return false;
    const uint8_t* head = data.data() + pos;
    const size_t runCount = Be16(head);
    const size_t pixelCount = Be16(head + 2);
    if (runCount > width || pixelCount > width)
        return false;
    const size_t rowBytes = PadRow(4 + runCount * 4 + pixelCount * stored, padded);
    if (data.size() - pos < rowBytes)
        return false;
    const uint8_t* runs = head + 4;
    const uint8_t* stock = runs + runCount * 4;
    size_t used = 0;
    for (size_t r = 0; r < runCount; ++r) {
        const size_t start = Be16(runs + r * 4);
        const size_t end = Be16(runs + r * 4 + 2);
        if (start > end || end > width || end - start > pixelCount - used)
            return false;
        if (row)
            converter.Convert(stock + used * stored, row + start * 2, end - start);
        used += end - start;
    }
    pos += rowBytes;
    return true;
}

void EncodeStored(const uint8_t* pixel, bool sixteenBit, std::vector<uint8_t>& out) {
    if (sixteenBit) {
        // Nearest transparency nibble: alpha 255 is 0 (opaque), alpha 0 is 15.
        out.push_back(uint8_t(15 - (pixel[0] * 15 + 127) / 255));
        out.push_back(pixel[1]);
    } else {
        out.push_back(pixel[1]);
    }
}

void PadTo(std::vector<uint8_t>& out, size_t rowStart, bool padded) {
    if (padded && (out.size() - rowStart) % 2)
        out.push_back(0);
}

bool IsEmptyPixel(const uint8_t* pixel) { return pixel[0] == 0 && pixel[1] == 0; }

}  // namespace

Result<std::vector<uint8_t>> DecodePaletted(std::span<const uint8_t> data, const PalettedLayout& layout,
                                            const uint8_t* palette) {
    if (layout.width <= 0 || layout.height <= 0)
        return Fail("the bitmap has no size");
    const size_t width = size_t(layout.width);
    const size_t height = size_t(layout.height);
    const size_t stored = layout.sixteenBit ? 2 : 1;
    // Every row costs at least 4 bytes (RLE) or its pixels (RAW): check before allocating.
    const size_t minRow = layout.rle ? 4 : PadRow(width * stored, layout.padded);
    // The last row of RAW data may lack its padding byte.
    const size_t needed = layout.rle ? height * 4 : minRow * (height - 1) + width * stored;
    if (data.size() < needed)
        return Fail("the pixel data is shorter than the bitmap's rows");
    const PixelConverter converter(layout, palette);
    // RLE rows are checked before the pixels are allocated: damaged data claiming
    // a large picture costs no more than its own bytes.
    if (layout.rle) {
        size_t pos = 0;
        for (size_t y = 0; y < height; ++y)
            if (!DecodeRleRow(data, pos, width, layout.padded, converter, nullptr))
                return Fail("row " + std::to_string(y + 1) + " of the run-length data is damaged");
    }
    // RLE rows leave the pixels between runs as allocated: zero, transparent.
    std::vector<uint8_t> pixels(width * height * 2);
    uint8_t* row = pixels.data();
    if (!layout.rle) {
        // Unpadded rows (or rows of an even byte count) are one stretch.
        if (minRow == width * stored)
            converter.Convert(data.data(), row, width * height);
        else
            for (size_t y = 0; y < height; ++y, row += width * 2)
                converter.Convert(data.data() + y * minRow, row, width);
        return pixels;
    }
    size_t pos = 0;
    for (size_t y = 0; y < height; ++y, row += width * 2) {
        [[maybe_unused]] const bool decoded = DecodeRleRow(data, pos, width, layout.padded, converter, row);
        assert(decoded);  // every row was checked above
    }
    return pixels;
}

std::vector<uint8_t> EncodePaletted(std::span<const uint8_t> pixels, const PalettedLayout& layout) {
    const size_t width = size_t(std::max(layout.width, 0));
    const size_t height = size_t(std::max(layout.height, 0));
    std::vector<uint8_t> out;
    out.reserve(width * height * (layout.sixteenBit ? 2 : 1) + (layout.rle ? height * 8 : height));
    std::vector<std::pair<uint16_t, uint16_t>> runs;
    for (size_t y = 0; y < height; ++y) {
        const uint8_t* row = pixels.data() + y * width * 2;
        const size_t rowStart = out.size();
        if (!layout.rle) {
            for (size_t x = 0; x < width; ++x)
                EncodeStored(row + x * 2, layout.sixteenBit, out);
            PadTo(out, rowStart, layout.padded);
            continue;
        }
        runs.clear();
        size_t count = 0;
        for (size_t x = 0; x < width;) {
            if (IsEmptyPixel(row + x * 2)) {
                ++x;
                continue;
            }
            const size_t start = x;
            while (x < width && !IsEmptyPixel(row + x * 2))
                ++x;
            runs.emplace_back(uint16_t(start), uint16_t(x));
            count += x - start;
        }
        out.push_back(uint8_t(runs.size() >> 8));
        out.push_back(uint8_t(runs.size()));
        out.push_back(uint8_t(count >> 8));
        out.push_back(uint8_t(count));
        for (auto [start, end] : runs)
            for (uint16_t v : {start, end}) {
                out.push_back(uint8_t(v >> 8));
                out.push_back(uint8_t(v));
            }
        for (auto [start, end] : runs)
            for (size_t x = start; x < end; ++x)
                EncodeStored(row + x * 2, layout.sixteenBit, out);
        PadTo(out, rowStart, layout.padded);
    }
    return out;
}

namespace {

constexpr int kLevelMask = 31;
constexpr int kOpaque = 31;

// Reads a colour group into a pixel whose control byte is already set.
bool ReadColourGroup(std::span<const uint8_t> data, size_t& pos, uint8_t* pixel) {
    if (data.size() - pos < 3)
        return false;
    const uint8_t b0 = data[pos], b1 = data[pos + 1], b2 = data[pos + 2];
    pixel[0] = b2;
    pixel[1] = b1;
    pixel[2] = b0;
    pos += 3;
    if (b0 & 1) {
        if (data.size() - pos < 4)
            return false;
        pixel[4] = data[pos + 2];
        pixel[5] = data[pos + 1];
        pixel[6] = data[pos];
        pixel[7] = data[pos + 3];
        pos += 4;
    }
    return true;
}

void WriteColourGroup(const uint8_t* pixel, std::vector<uint8_t>& out) {
    out.insert(out.end(), {pixel[2], pixel[1], pixel[0]});
    if (pixel[2] & 1)
        out.insert(out.end(), {pixel[6], pixel[5], pixel[4], pixel[7]});
}

constexpr const char* kHighColourShort = "the high-colour data ends before the last pixel";

bool AllZero(const uint8_t* p, size_t n) {
    return std::all_of(p, p + n, [](uint8_t b) { return b == 0; });
}

}  // namespace

Result<std::vector<uint8_t>> DecodeHighColour(std::span<const uint8_t> data, int width, int height) {
    if (width <= 0 || height <= 0)
        return Fail("the bitmap has no size");
    const size_t total = size_t(width) * size_t(height);
    // A count byte yields at most 255 pixels, so short data cannot claim a huge image.
    if (total / 255 > data.size())
        return Fail(kHighColourShort);
    std::vector<uint8_t> pixels(total * 8, 0);
    size_t pos = 0, done = 0;
    bool run = true;
    uint8_t control = 0;
    while (done < total) {
        if (pos >= data.size())
            return Fail(kHighColourShort);
        if (run) {
            const size_t n = std::min<size_t>(data[pos++], total - done);
            if ((control & kLevelMask) == kOpaque) {
                for (size_t i = 0; i < n; ++i, ++done) {
                    uint8_t* pixel = &pixels[done * 8];
                    pixel[3] = control;
                    if (!ReadColourGroup(data, pos, pixel))
                        return Fail(kHighColourShort);
                }
            } else {
                done += n;  // transparent run: all bytes zero
            }
            run = false;
            continue;
        }
        control = data[pos++];
        uint8_t* pixel = &pixels[done * 8];
        pixel[3] = control;
        const int level = control & kLevelMask;
        if (level != 0 && !ReadColourGroup(data, pos, pixel))
            return Fail(kHighColourShort);
        ++done;
        run = level == 0 || level == kOpaque;
    }
    return pixels;
}

Result<std::vector<uint8_t>> EncodeHighColour(std::span<const uint8_t> pixels, int width, int height) {
    if (width <= 0 || height <= 0 || pixels.size() < size_t(width) * size_t(height) * 8)
        return Fail("the bitmap has no pixels of its size to store");
    const size_t total = size_t(width) * size_t(height);
    for (size_t i = 0; i < total; ++i) {
        const uint8_t* p = &pixels[i * 8];
        if ((p[3] & kLevelMask) == 0 && (!AllZero(p, 3) || !AllZero(p + 4, 4)))
            return Fail("pixel " + std::to_string(i + 1) + " is fully transparent but has colour");
        if (!(p[2] & 1) && !AllZero(p + 4, 4))
            return Fail("pixel " + std::to_string(i + 1) + " has extra colour bytes its flags do not allow");
    }
    std::vector<uint8_t> out;
    out.reserve(total * 4);
    bool run = true;
    uint8_t control = 0;
    size_t i = 0;
    while (i < total) {
        if (run) {
            size_t n = 0;
            const bool opaque = (control & kLevelMask) == kOpaque;
            while (n < 255 && i + n < total &&
                   (opaque ? pixels[(i + n) * 8 + 3] == control : AllZero(&pixels[(i + n) * 8], 8)))
                ++n;
            out.push_back(uint8_t(n));
            if (opaque)
                for (size_t k = 0; k < n; ++k)
                    WriteColourGroup(&pixels[(i + k) * 8], out);
            i += n;
            run = false;
            continue;
        }
        const uint8_t* p = &pixels[i * 8];
        control = p[3];
        out.push_back(control);
        const int level = control & kLevelMask;
        if (level != 0)
            WriteColourGroup(p, out);
        ++i;
        run = level == 0 || level == kOpaque;
    }
    return out;
}

}  // namespace tamber::collections
