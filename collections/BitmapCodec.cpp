#include "collections/BitmapCodec.h"

#include <algorithm>
#include <cstring>

namespace {

uint16_t Be16(const uint8_t* p) { return uint16_t(p[0] << 8 | p[1]); }

size_t PadRow(size_t bytes, bool padded) { return padded ? (bytes + 1) & ~size_t(1) : bytes; }

// (alpha, index) pairs for each stored 8-bit value, or alpha for each 16-bit
// transparency byte: one table lookup per pixel.
struct PixelTable {
    uint8_t pairs[256][2];

    PixelTable(const PalettedLayout& layout, const uint8_t* palette) {
        for (int v = 0; v < 256; ++v) {
            if (layout.sixteenBit)
                pairs[v][0] = uint8_t((15 - (v & 15)) * 17);
            else if (layout.colourAlpha)
                pairs[v][0] = std::max({palette[v * 3], palette[v * 3 + 1], palette[v * 3 + 2]});
            else
                pairs[v][0] = v ? 255 : 0;
            pairs[v][1] = uint8_t(v);
        }
    }
};

// Converts `count` stored pixels to (alpha, index) pairs.
void ConvertPixels(const uint8_t* in, uint8_t* out, size_t count, const PalettedLayout& layout,
                   const PixelTable& table) {
    if (layout.sixteenBit) {
        for (size_t i = 0; i < count; ++i, in += 2, out += 2) {
            out[0] = table.pairs[in[0]][0];
            out[1] = in[1];
        }
    } else {
        for (size_t i = 0; i < count; ++i)
            std::memcpy(out + i * 2, table.pairs[in[i]], 2);
    }
}

// Decodes one RLE row at data[pos]; advances pos past the row. False when invalid.
bool DecodeRleRow(std::span<const uint8_t> data, size_t& pos, const PalettedLayout& layout,
                  const PixelTable& table, uint8_t* row) {
    const size_t stored = layout.sixteenBit ? 2 : 1;
    const size_t width = size_t(layout.width);
    if (data.size() - pos < 4)
        return false;
    const size_t runCount = Be16(&data[pos]);
    const size_t pixelCount = Be16(&data[pos + 2]);
    if (runCount > width || pixelCount > width)
        return false;
    const size_t runTable = pos + 4;
    const size_t pixelStart = runTable + runCount * 4;
    const size_t rowBytes = PadRow(4 + runCount * 4 + pixelCount * stored, layout.padded);
    if (data.size() - pos < rowBytes)
        return false;
    std::memset(row, 0, width * 2);
    size_t used = 0;
    for (size_t r = 0; r < runCount; ++r) {
        const size_t start = Be16(&data[runTable + r * 4]);
        const size_t end = Be16(&data[runTable + r * 4 + 2]);
        if (start > end || end > width || end - start > pixelCount - used)
            return false;
        ConvertPixels(&data[pixelStart + used * stored], row + start * 2, end - start, layout, table);
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

std::optional<std::vector<uint8_t>> DecodePaletted(std::span<const uint8_t> data, const PalettedLayout& layout,
                                                   const uint8_t* palette) {
    if (layout.width <= 0 || layout.height <= 0)
        return std::nullopt;
    const size_t width = size_t(layout.width);
    const size_t height = size_t(layout.height);
    const size_t stored = layout.sixteenBit ? 2 : 1;
    // Every row costs at least 4 bytes (RLE) or its pixels (RAW): check before allocating.
    const size_t minRow = layout.rle ? 4 : PadRow(width * stored, layout.padded);
    // The last row of RAW data may lack its padding byte.
    const size_t needed = layout.rle ? height * 4 : minRow * (height - 1) + width * stored;
    if (data.size() < needed)
        return std::nullopt;
    const PixelTable table(layout, palette);
    std::vector<uint8_t> pixels(width * height * 2);
    size_t pos = 0;
    for (size_t y = 0; y < height; ++y) {
        uint8_t* row = pixels.data() + y * width * 2;
        if (layout.rle) {
            if (!DecodeRleRow(data, pos, layout, table, row))
                return std::nullopt;
        } else {
            ConvertPixels(&data[pos], row, width, layout, table);
            pos += minRow;
        }
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

bool AllZero(const uint8_t* p, size_t n) {
    return std::all_of(p, p + n, [](uint8_t b) { return b == 0; });
}

}  // namespace

std::optional<std::vector<uint8_t>> DecodeHighColour(std::span<const uint8_t> data, int width, int height) {
    if (width <= 0 || height <= 0)
        return std::nullopt;
    const size_t total = size_t(width) * size_t(height);
    // A count byte yields at most 255 pixels, so short data cannot claim a huge image.
    if (total / 255 > data.size())
        return std::nullopt;
    std::vector<uint8_t> pixels(total * 8, 0);
    size_t pos = 0, done = 0;
    bool run = true;
    uint8_t control = 0;
    while (done < total) {
        if (pos >= data.size())
            return std::nullopt;
        if (run) {
            const size_t n = std::min<size_t>(data[pos++], total - done);
            if ((control & kLevelMask) == kOpaque) {
                for (size_t i = 0; i < n; ++i, ++done) {
                    uint8_t* pixel = &pixels[done * 8];
                    pixel[3] = control;
                    if (!ReadColourGroup(data, pos, pixel))
                        return std::nullopt;
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
            return std::nullopt;
        ++done;
        run = level == 0 || level == kOpaque;
    }
    return pixels;
}

std::optional<std::vector<uint8_t>> EncodeHighColour(std::span<const uint8_t> pixels, int width, int height) {
    if (width <= 0 || height <= 0 || pixels.size() < size_t(width) * size_t(height) * 8)
        return std::nullopt;
    const size_t total = size_t(width) * size_t(height);
    for (size_t i = 0; i < total; ++i) {
        const uint8_t* p = &pixels[i * 8];
        if ((p[3] & kLevelMask) == 0 && (!AllZero(p, 3) || !AllZero(p + 4, 4)))
            return std::nullopt;
        if (!(p[2] & 1) && !AllZero(p + 4, 4))
            return std::nullopt;
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
