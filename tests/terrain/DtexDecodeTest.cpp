// The image stream's decoder against a plain one written from the format's rules:
// bit by bit, one pixel and channel at a time. Both must give the same pixels, or
// the same message, for any stream: encoded pictures, hand-made streams with
// every parameter and long codes, truncated and corrupted ones.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "terrain/DtexStream.h"

using namespace tamber::terrain;

namespace {

// 32-bit little-endian words read from their most significant bit; a last partial
// word has zeros for its missing high bytes, and past the end every bit is 0.
class PlainBits {
public:
    explicit PlainBits(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    uint32_t Bit() {
        const uint64_t bit = 31 - pos_ % 32;
        const size_t byte = size_t(pos_ / 32 * 4 + bit / 8);
        ++pos_;
        return byte < bytes_.size() ? bytes_[byte] >> (bit % 8) & 1 : 0;
    }
    uint32_t Bits(int n) {
        uint32_t value = 0;
        while (n-- > 0)
            value = value << 1 | Bit();
        return value;
    }
    uint64_t pos() const { return pos_; }

private:
    std::span<const uint8_t> bytes_;
    uint64_t pos_ = 0;
};

int PlainPred(int u, int l, int c) {
    const int lo = std::min(u, l), hi = std::max(u, l);
    if (c >= hi)
        return (7 * lo + hi) >> 3;
    if (c <= lo)
        return (7 * hi + lo) >> 3;
    return u + l - c;
}

struct Decoded {
    std::string error;  // empty when decoded
    DtexImage image;
};

Decoded PlainDecode(std::span<const uint8_t> stream) {
    static const int kMap[3][3] = {{0, 2, 1}, {1, 0, 2}, {2, 1, 0}};
    PlainBits in(stream);
    Decoded out;
    DtexImage& im = out.image;
    im.width = int(in.Bits(12));
    im.height = int(in.Bits(12));
    const int mode = int(in.Bits(2));
    const int bw = (im.width + 7) / 8, bh = (im.height + 7) / 8;
    if (mode > 2 || im.width == 0 || im.height == 0 || 26 + 9 * uint64_t(bw * bh) > stream.size() * 8)
        return {"the image stream's header is damaged", {}};
    std::vector<int> ks(size_t(bw * bh * 3));
    for (int& k : ks)
        k = int(in.Bits(3));
    const size_t stride = size_t(im.width) * 3;
    im.rgb.resize(stride * size_t(im.height));
    for (int y = 0; y < im.height; ++y) {
        for (int x = 0; x < im.width; ++x) {
            uint32_t raw[3];
            int d[3];
            for (int r = 0; r < 3; ++r) {
                const int k = ks[size_t(((y / 8) * bw + x / 8) * 3 + r)];
                raw[r] = 0;
                if (k != 7) {
                    uint32_t q = 0;
                    while (in.Bit())
                        if (++q > (255u >> k))
                            return {"row " + std::to_string(y + 1) + " of the image stream is damaged", {}};
                    raw[r] = q << k | in.Bits(k);
                }
                d[r] = raw[r] & 1 ? -int((raw[r] + 1) / 2) : int(raw[r] / 2);
            }
            uint8_t* px = &im.rgb[size_t(y) * stride + size_t(x) * 3];
            if (x == 0 && y == 0) {
                std::copy(raw, raw + 3, px);
                continue;
            }
            const int* ch = kMap[y == 0 ? 0 : mode];
            int p[3];  // the base's prediction, then each other channel's difference to it
            if (x == 0 || y == 0) {
                const uint8_t* n = y == 0 ? px - 3 : px - stride;
                for (int r = 0; r < 3; ++r)
                    p[r] = r == 0 ? n[ch[0]] : n[ch[0]] - n[ch[r]];
            } else {
                const uint8_t *u = px - stride, *l = px - 3, *c = px - stride - 3;
                p[0] = PlainPred(u[ch[0]], l[ch[0]], c[ch[0]]);
                for (int r = 1; r < 3; ++r)
                    p[r] = PlainPred(u[ch[0]] - u[ch[r]], l[ch[0]] - l[ch[r]], c[ch[0]] - c[ch[r]]);
            }
            const int base = p[0] - d[0];
            px[ch[0]] = uint8_t(base);
            for (int r = 1; r < 3; ++r)
                px[ch[r]] = uint8_t(base + d[r] - p[r]);
        }
        if (in.pos() > stream.size() * 8)
            return {"the image stream ends at row " + std::to_string(y + 1) + " of " + std::to_string(im.height), {}};
    }
    return out;
}

// Decodes a copy of exactly the given bytes (so that reading past them is caught)
// with both decoders and compares.
void ExpectSameDecoding(std::span<const uint8_t> bytes, const std::string& what) {
    const std::vector<uint8_t> exact(bytes.begin(), bytes.end());
    const auto fast = DecodeDtexStream(exact);
    const Decoded plain = PlainDecode(exact);
    if (!plain.error.empty()) {
        EXPECT_EQ(fast ? "decoded" : fast.error(), plain.error) << what;
        return;
    }
    ASSERT_TRUE(fast) << what << ": " << fast.error();
    EXPECT_EQ(fast->width, plain.image.width) << what;
    EXPECT_EQ(fast->height, plain.image.height) << what;
    EXPECT_EQ(fast->rgb, plain.image.rgb) << what;
}

// Writes bits most significant first into little-endian 32-bit words.
class WordWriter {
public:
    void Put(uint32_t value, int n) {
        for (int i = n - 1; i >= 0; --i) {
            if (bits_ % 32 == 0)
                bytes_.insert(bytes_.end(), 4, 0);
            const uint64_t bit = 31 - bits_ % 32;
            bytes_[size_t(bits_ / 32 * 4 + bit / 8)] |= uint8_t((value >> i & 1) << (bit % 8));
            ++bits_;
        }
    }
    void Code(uint32_t value, int k) {
        for (uint32_t q = value >> k; q > 0; --q)
            Put(1, 1);
        Put(0, 1);
        Put(value, k);
    }
    const std::vector<uint8_t>& bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
    uint64_t bits_ = 0;
};

// A stream of random parameters (7 included) and residuals, long codes among them.
std::vector<uint8_t> RandomStream(std::mt19937& rng, int w, int h) {
    WordWriter out;
    out.Put(uint32_t(w), 12);
    out.Put(uint32_t(h), 12);
    out.Put(rng() % 3, 2);
    const int bw = (w + 7) / 8;
    std::vector<int> ks(size_t(bw * ((h + 7) / 8) * 3));
    for (int& k : ks) {
        k = int(rng() % 8);
        out.Put(uint32_t(k), 3);
    }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int r = 0; r < 3; ++r) {
                const int k = ks[size_t(((y / 8) * bw + x / 8) * 3 + r)];
                if (k != 7)
                    out.Code(rng() % 4 == 0 ? rng() % 256 : rng() % (4u << k), k);
            }
    return out.bytes();
}

}  // namespace

TEST(DtexDecode, MatchesPlainDecodingOfEncodedAndMadeStreams) {
    std::mt19937 rng(3);
    for (auto [w, h] : {std::pair{1, 1}, {1, 9}, {9, 1}, {7, 7}, {8, 8}, {17, 3}, {33, 20}, {130, 9}}) {
        std::vector<uint8_t> smooth(size_t(w * h * 3)), noise(smooth.size());
        for (size_t i = 0; i < smooth.size(); ++i) {
            smooth[i] = uint8_t(i / 3 % size_t(w) * 5 + i / 3 / size_t(w) * 3 + i % 3 * 40 + rng() % 5);
            noise[i] = uint8_t(rng());
        }
        for (const auto& rgb : {smooth, noise})
            for (int mode = 0; mode < 3; ++mode) {
                const auto stream = EncodeDtexStream(rgb.data(), w, h, mode);
                ASSERT_TRUE(stream);
                ExpectSameDecoding(*stream, std::to_string(w) + "x" + std::to_string(h));
                EXPECT_EQ(DecodeDtexStream(*stream)->rgb, rgb);
            }
        for (int i = 0; i < 4; ++i)
            ExpectSameDecoding(RandomStream(rng, w, h), "made " + std::to_string(w) + "x" + std::to_string(h));
    }
    // Codes far longer than any buffer: value 255 with parameter 0 is 256 one-bits and a zero-bit.
    WordWriter longCodes;
    longCodes.Put(2 << 12 | 1, 24);
    longCodes.Put(1, 2);
    longCodes.Put(0, 9);
    for (uint32_t value : {255u, 254u, 0u, 128u, 255u, 1u})
        longCodes.Code(value, 0);
    ExpectSameDecoding(longCodes.bytes(), "long codes");
    EXPECT_EQ(DecodeDtexStream(longCodes.bytes())->rgb[0], 255);
}

TEST(DtexDecode, TruncatedAndCorruptStreamsFailAsThePlainDecodingDoes) {
    std::mt19937 rng(5);
    const std::vector<uint8_t> made = RandomStream(rng, 21, 11);
    for (size_t size = 0; size < made.size(); ++size)
        ExpectSameDecoding(std::span(made.data(), size), "cut to " + std::to_string(size));
    for (int i = 0; i < 300; ++i) {
        std::vector<uint8_t> flipped = made;
        for (int n = 0; n < 1 + i % 3; ++n)
            flipped[4 + rng() % (flipped.size() - 4)] ^= uint8_t(1 << rng() % 8);  // the header stays
        ExpectSameDecoding(flipped, "flip " + std::to_string(i));
        std::vector<uint8_t> garbage = made;
        for (size_t b = 8 + rng() % (made.size() - 8); b < garbage.size(); ++b)
            garbage[b] = uint8_t(rng() | (i % 2 ? 0xF0 : 0));  // many one-bits: long unary runs
        ExpectSameDecoding(garbage, "garbage " + std::to_string(i));
    }
    // The widest rows read furthest past a stream's end before their row is checked.
    std::vector<uint8_t> wide(4095 * 3);
    for (uint8_t& b : wide)
        b = uint8_t(rng());
    const auto stream = EncodeDtexStream(wide.data(), 4095, 1);
    ASSERT_TRUE(stream);
    for (size_t size : {size_t(4), stream->size() / 3, stream->size() - 1})
        ExpectSameDecoding(std::span(stream->data(), size), "wide cut to " + std::to_string(size));

    // A unary run beyond 255 >> k, and one value above 255.
    for (uint32_t ones : {256u, 4u}) {
        WordWriter bad;
        bad.Put(1 << 12 | 1, 24);
        bad.Put(0, 2);
        bad.Put(ones == 4 ? 6 : 0, 3);
        bad.Put(7 << 3 | 7, 6);
        for (uint32_t q = 0; q < ones; ++q)
            bad.Put(1, 1);
        bad.Put(0, 32);
        EXPECT_EQ(DecodeDtexStream(bad.bytes()).error(), "row 1 of the image stream is damaged");
        ExpectSameDecoding(bad.bytes(), "damaged");
    }
}
