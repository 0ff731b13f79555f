#include "terrain/DtexStream.h"

#include <algorithm>
#include <array>
#include <bit>
#include <string>

namespace tamber::terrain {
using namespace tamber::base;

namespace {

constexpr int kModes = 3;
constexpr int kBlock = 8;
constexpr int kZeroParameter = 7;  // every value of the block channel is 0
// Residual channel i of mode m reconstructs pixel channel kChannel[m][i]; the
// first is the mode's base channel.
constexpr int kChannel[kModes][3] = {{0, 2, 1}, {1, 0, 2}, {2, 1, 0}};

// Selects with masks rather than branches: on noisy pictures a branch would be
// mispredicted about every other pixel.
inline int Pred(int u, int l, int c) {
    const int lo = std::min(u, l), hi = std::max(u, l);
    const int towardLo = (7 * lo + hi) >> 3, towardHi = (7 * hi + lo) >> 3, plane = u + l - c;
    const int belowLo = -int(c <= lo), aboveHi = -int(c >= hi);
    const int inside = plane ^ ((plane ^ towardHi) & belowLo);
    return inside ^ ((inside ^ towardLo) & aboveHi);
}

inline uint8_t ToResidual(int d) {
    const int s = int8_t(uint8_t(d));
    return uint8_t(s >= 0 ? 2 * s : -2 * s - 1);
}
inline int FromResidual(uint8_t v) { return v & 1 ? -((v + 1) / 2) : v / 2; }

int BlockCount(int side) { return (side + kBlock - 1) / kBlock; }

std::string DamagedRow(int y) { return "row " + std::to_string(y + 1) + " of the image stream is damaged"; }

// The prediction of a pixel's channels in mode M: the base channel's value and,
// for the other two, their difference to the base. An edge pixel is predicted from
// its one known neighbour `n`; an interior one from the pixels above (`u`), to the
// left (`l`) and above left (`c`).
template <int M>
struct Predictor {
    static constexpr int b = kChannel[M][0], c1 = kChannel[M][1], c2 = kChannel[M][2];

    static void Edge(const uint8_t* n, int& base, int& d1, int& d2) {
        base = n[b];
        d1 = n[b] - n[c1];
        d2 = n[b] - n[c2];
    }
    static void Interior(const uint8_t* u, const uint8_t* l, const uint8_t* c, int& base, int& d1, int& d2) {
        base = Pred(u[b], l[b], c[b]);
        d1 = Pred(u[b] - u[c1], l[b] - l[c1], c[b] - c[c1]);
        d2 = Pred(u[b] - u[c2], l[b] - l[c2], c[b] - c[c2]);
    }
    static void Encode(const uint8_t* px, int base, int d1, int d2, uint8_t* out) {
        out[0] = ToResidual(base - px[b]);
        out[1] = ToResidual(px[c1] - px[b] + d1);
        out[2] = ToResidual(px[c2] - px[b] + d2);
    }
    static void Decode(const uint8_t* v, int base, int d1, int d2, uint8_t* px) {
        const int value = base - FromResidual(v[0]);
        px[b] = uint8_t(value);
        px[c1] = uint8_t(value + FromResidual(v[1]) - d1);
        px[c2] = uint8_t(value + FromResidual(v[2]) - d2);
    }
};

// Residuals of pixels x0 to x1 of a row in mode M (row 0 is always coded in mode 0,
// its first pixel as it is). `row` is the row's first pixel, `stride` a row's bytes.
template <int M>
void RowResiduals(const uint8_t* row, size_t stride, bool top, int x0, int x1, uint8_t* out) {
    using P = Predictor<M>;
    int base, d1, d2;
    int x = x0;
    if (x == 0) {
        if (top)
            std::copy(row, row + 3, out);
        else {
            P::Edge(row - stride, base, d1, d2);
            P::Encode(row, base, d1, d2, out);
        }
        ++x;
    }
    for (; x < x1; ++x) {
        const uint8_t* px = row + size_t(x) * 3;
        if (top)
            P::Edge(px - 3, base, d1, d2);
        else
            P::Interior(px - stride, px - 3, px - stride - 3, base, d1, d2);
        P::Encode(px, base, d1, d2, out + size_t(x - x0) * 3);
    }
}

void RowResiduals(int mode, const uint8_t* row, size_t stride, bool top, int x0, int x1, uint8_t* out) {
    switch (top ? 0 : mode) {
        case 0: RowResiduals<0>(row, stride, top, x0, x1, out); break;
        case 1: RowResiduals<1>(row, stride, top, x0, x1, out); break;
        default: RowResiduals<2>(row, stride, top, x0, x1, out); break;
    }
}

class BitReader {
public:
    explicit BitReader(std::span<const uint8_t> bytes) : bytes_(bytes), totalBits_(uint64_t(bytes.size()) * 8) {}

    uint32_t Bits(int n) {
        if (n == 0)
            return 0;
        Fill();
        const uint32_t v = uint32_t(buffer_ >> (64 - n));
        Consume(n);
        return v;
    }
    // Counts one-bits up to the next zero-bit (consumed too); -1 when more than `limit`.
    int Unary(int limit) {
        int q = 0;
        for (;;) {
            Fill();
            const int ones = std::countl_one(buffer_);
            if (ones < count_) {
                q += ones;
                Consume(ones + 1);
                return q > limit ? -1 : q;
            }
            q += count_;
            Consume(count_);
            if (q > limit)
                return -1;
        }
    }
    // A byte coded as a unary quotient and `k` low bits; -1 when it is out of range.
    int Rice(int k) {
        Fill();
        const int q = std::countl_one(buffer_);
        if (q + 1 + k <= count_) {  // the whole code is in the buffer
            // Shifts split in two stay below 64 bits for every q and k (k = 0 gives no low bits).
            const uint64_t rest = buffer_ << q << 1;
            const uint32_t value = uint32_t(q) << k | uint32_t(rest >> 1 >> (63 - k));
            buffer_ = rest << k;
            count_ -= q + 1 + k;
            return value > 255 ? -1 : int(value);  // also when q exceeds 255 >> k
        }
        const int slow = Unary(255 >> k);
        if (slow < 0)
            return -1;
        const uint32_t value = uint32_t(slow) << k | Bits(k);
        return value > 255 ? -1 : int(value);
    }
    bool Overrun() const { return uint64_t(next_) * 8 - uint64_t(count_) > totalBits_; }

private:
    // Keeps more than 32 bits in the buffer; past the end the stream reads as zeros.
    void Fill() {
        while (count_ <= 32) {
            uint32_t word = 0;
            if (next_ + 4 <= bytes_.size()) {
                const uint8_t* p = bytes_.data() + next_;
                word = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
            } else {
                for (size_t i = 0; next_ + i < bytes_.size(); ++i)
                    word |= uint32_t(bytes_[next_ + i]) << (8 * i);
            }
            next_ += 4;
            buffer_ |= uint64_t(word) << (32 - count_);
            count_ += 32;
        }
    }
    void Consume(int n) {
        buffer_ = n >= 64 ? 0 : buffer_ << n;
        count_ -= n;
    }

    std::span<const uint8_t> bytes_;
    uint64_t totalBits_;
    size_t next_ = 0;  // bytes taken into the buffer
    uint64_t buffer_ = 0;  // left-aligned
    int count_ = 0;
};

class BitWriter {
public:
    explicit BitWriter(uint64_t expectedBits) { out_.reserve(size_t(expectedBits / 8) + 8); }

    void Bits(uint32_t value, int n) {
        if (n == 0)
            return;
        buffer_ |= uint64_t(value & ((uint64_t(1) << n) - 1)) << (64 - count_ - n);
        count_ += n;
        if (count_ >= 32)
            Flush();
    }
    // `value` as a unary quotient (value >> k one-bits and a zero-bit) and its `k` low bits.
    void Rice(uint32_t value, int k) {
        const uint32_t q = value >> k;
        if (q + 1 + uint32_t(k) <= 32) {
            Bits(((uint32_t(1) << q) - 1) << (k + 1) | (value & ((uint32_t(1) << k) - 1)), int(q) + 1 + k);
            return;
        }
        for (uint32_t ones = q; ones > 0;) {
            const int n = int(std::min<uint32_t>(ones, 16));
            Bits((1u << n) - 1, n);
            ones -= uint32_t(n);
        }
        Bits(0, 1);
        Bits(value, k);
    }
    std::vector<uint8_t> Finish() {
        if (count_ > 0) {
            count_ = 32;
            Flush();
        }
        return std::move(out_);
    }

private:
    void Flush() {
        const uint32_t word = uint32_t(buffer_ >> 32);
        for (int i = 0; i < 4; ++i)
            out_.push_back(uint8_t(word >> (8 * i)));
        buffer_ <<= 32;
        count_ -= 32;
    }

    std::vector<uint8_t> out_;
    uint64_t buffer_ = 0;
    int count_ = 0;
};

// Residual bytes of every pixel for one mode, in residual channel order.
std::vector<uint8_t> Residuals(const uint8_t* rgb, int width, int height, int mode) {
    std::vector<uint8_t> residuals(size_t(width) * size_t(height) * 3);
    const size_t stride = size_t(width) * 3;
    for (int y = 0; y < height; ++y)
        RowResiduals(mode, rgb + size_t(y) * stride, stride, y == 0, 0, width, &residuals[size_t(y) * stride]);
    return residuals;
}

// The Rice parameter with the fewest bits for one residual channel of a block of
// residuals (`stride` bytes a row), kZeroParameter when every value is 0, and its bits.
std::pair<int, uint64_t> BestParameter(const uint8_t* residuals, size_t stride, int width, int height) {
    uint64_t shifted[kZeroParameter] = {};
    bool allZero = true;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint8_t v = residuals[size_t(y) * stride + size_t(x) * 3];
            allZero &= v == 0;
            for (int k = 0; k < kZeroParameter; ++k)
                shifted[k] += v >> k;
        }
    if (allZero)
        return {kZeroParameter, 0};
    const uint64_t count = uint64_t(width) * uint64_t(height);
    int best = 0;
    uint64_t bestBits = UINT64_MAX;
    for (int k = 0; k < kZeroParameter; ++k) {
        const uint64_t bits = shifted[k] + count * uint64_t(k + 1);
        if (bits < bestBits) {
            bestBits = bits;
            best = k;
        }
    }
    return {best, bestBits};
}

struct Parameters {
    std::vector<uint8_t> k;  // per block and residual channel
    uint64_t bits = 0;
};

Parameters ChooseParameters(const std::vector<uint8_t>& residuals, int width, int height) {
    const int bw = BlockCount(width), bh = BlockCount(height);
    const size_t stride = size_t(width) * 3;
    Parameters params;
    params.k.resize(size_t(bw) * size_t(bh) * 3);
    params.bits = 26 + uint64_t(bw) * uint64_t(bh) * 9;
    for (int by = 0; by < bh; ++by)
        for (int bx = 0; bx < bw; ++bx)
            for (int r = 0; r < 3; ++r) {
                const int x0 = bx * kBlock, y0 = by * kBlock;
                const auto [k, bits] = BestParameter(&residuals[size_t(y0) * stride + size_t(x0) * 3 + size_t(r)],
                                                     stride, std::min(width, x0 + kBlock) - x0,
                                                     std::min(height, y0 + kBlock) - y0);
                params.k[(size_t(by) * size_t(bw) + size_t(bx)) * 3 + size_t(r)] = uint8_t(k);
                params.bits += bits;
            }
    return params;
}

// Pictures up to this many blocks have every mode coded in full to pick the best;
// larger ones estimate the modes on a sample of blocks.
constexpr int kFullChoiceBlocks = 1024;
// One block in this many (spread over rows and columns) makes the sample.
constexpr int kSampleEvery = 8;
// A runner-up estimated within this share of the best is coded in full too.
constexpr double kCloseCall = 0.01;

// The estimated bits of every mode over the sampled blocks.
std::array<uint64_t, kModes> SampleModes(const uint8_t* rgb, int width, int height) {
    const int bw = BlockCount(width), bh = BlockCount(height);
    const size_t stride = size_t(width) * 3;
    std::array<uint64_t, kModes> bits{};
    uint8_t block[kBlock * kBlock * 3];
    for (int by = 0; by < bh; ++by)
        for (int bx = (by * 3) % kSampleEvery; bx < bw; bx += kSampleEvery) {
            const int x0 = bx * kBlock, y0 = by * kBlock;
            const int w = std::min(width, x0 + kBlock) - x0, h = std::min(height, y0 + kBlock) - y0;
            for (int mode = 0; mode < kModes; ++mode) {
                for (int y = 0; y < h; ++y)
                    RowResiduals(mode, rgb + size_t(y0 + y) * stride, stride, y0 + y == 0, x0, x0 + w,
                                 &block[size_t(y) * kBlock * 3]);
                for (int r = 0; r < 3; ++r)
                    bits[size_t(mode)] += BestParameter(block + r, kBlock * 3, w, h).second;
            }
        }
    return bits;
}

// The modes to code in full: all of them for small pictures, else the best of the
// sample and any close runner-up.
std::vector<int> CandidateModes(const uint8_t* rgb, int width, int height) {
    if (BlockCount(width) * BlockCount(height) <= kFullChoiceBlocks)
        return {0, 1, 2};
    const std::array<uint64_t, kModes> bits = SampleModes(rgb, width, height);
    const int best = int(std::min_element(bits.begin(), bits.end()) - bits.begin());
    std::vector<int> modes = {best};
    for (int mode = 0; mode < kModes; ++mode)
        if (mode != best && double(bits[size_t(mode)]) <= double(bits[size_t(best)]) * (1 + kCloseCall))
            modes.push_back(mode);
    return modes;
}

// Decodes one row in mode M. The reader is worked on as a local copy so that its
// state stays in registers.
template <int M>
bool DecodeRow(BitReader& reader, const uint8_t* ks, uint8_t* row, size_t stride, int width, bool top) {
    using P = Predictor<M>;
    BitReader in = reader;
    for (int x0 = 0; x0 < width; x0 += kBlock) {
        const uint8_t* k = ks + size_t(x0 / kBlock) * 3;
        const int x1 = std::min(width, x0 + kBlock);
        for (int x = x0; x < x1; ++x) {
            const int r0 = k[0] == kZeroParameter ? 0 : in.Rice(k[0]);
            const int r1 = k[1] == kZeroParameter ? 0 : in.Rice(k[1]);
            const int r2 = k[2] == kZeroParameter ? 0 : in.Rice(k[2]);
            if ((r0 | r1 | r2) < 0)
                return false;
            const uint8_t v[3] = {uint8_t(r0), uint8_t(r1), uint8_t(r2)};
            uint8_t* px = row + size_t(x) * 3;
            int base, d1, d2;
            if (x == 0 || top) {
                if (x == 0 && top) {
                    std::copy(v, v + 3, px);
                    continue;
                }
                P::Edge(top ? px - 3 : px - stride, base, d1, d2);
            } else {
                P::Interior(px - stride, px - 3, px - stride - 3, base, d1, d2);
            }
            P::Decode(v, base, d1, d2, px);
        }
    }
    reader = in;
    return true;
}

}  // namespace

Result<std::vector<uint8_t>> EncodeDtexStream(const uint8_t* rgb, int width, int height,
                                              std::optional<int> onlyMode) {
    if (!rgb || width <= 0 || height <= 0)
        return Fail("the image to encode is empty");
    if (width > kDtexStreamMaxSide || height > kDtexStreamMaxSide)
        return Fail("the image is " + std::to_string(width) + " x " + std::to_string(height) +
                    " pixels; a detail texture holds at most " + std::to_string(kDtexStreamMaxSide) + " a side");
    if (onlyMode && (*onlyMode < 0 || *onlyMode >= kModes))
        return Fail("there is no predictor mode " + std::to_string(*onlyMode));
    int bestMode = 0;
    std::vector<uint8_t> bestResiduals;
    Parameters best;
    for (int mode : onlyMode ? std::vector<int>{*onlyMode} : CandidateModes(rgb, width, height)) {
        std::vector<uint8_t> residuals = Residuals(rgb, width, height, mode);
        Parameters params = ChooseParameters(residuals, width, height);
        if (bestResiduals.empty() || params.bits < best.bits || (params.bits == best.bits && mode < bestMode)) {
            bestMode = mode;
            bestResiduals = std::move(residuals);
            best = std::move(params);
        }
    }
    BitWriter out(best.bits);
    out.Bits(uint32_t(width), 12);
    out.Bits(uint32_t(height), 12);
    out.Bits(uint32_t(bestMode), 2);
    for (uint8_t k : best.k)
        out.Bits(k, 3);
    const int bw = BlockCount(width);
    const uint8_t* residual = bestResiduals.data();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x, residual += 3) {
            const uint8_t* ks = &best.k[(size_t(y / kBlock) * size_t(bw) + size_t(x / kBlock)) * 3];
            for (int r = 0; r < 3; ++r)
                if (ks[r] != kZeroParameter)
                    out.Rice(residual[r], ks[r]);
        }
    return out.Finish();
}

Result<DtexImage> DecodeDtexStream(std::span<const uint8_t> stream) {
    BitReader in(stream);
    DtexImage image;
    image.width = int(in.Bits(12));
    image.height = int(in.Bits(12));
    const int mode = int(in.Bits(2));
    const int bw = BlockCount(image.width), bh = BlockCount(image.height);
    // The parameters alone take 9 bits per block: check them against the stream before allocating.
    if (mode >= kModes || image.width == 0 || image.height == 0 ||
        26 + uint64_t(bw) * uint64_t(bh) * 9 > uint64_t(stream.size()) * 8)
        return Fail("the image stream's header is damaged");
    std::vector<uint8_t> ks(size_t(bw) * size_t(bh) * 3);
    for (uint8_t& k : ks)
        k = uint8_t(in.Bits(3));
    const int width = image.width;
    const size_t stride = size_t(width) * 3;
    image.rgb.resize(stride * size_t(image.height));
    for (int y = 0; y < image.height; ++y) {
        const uint8_t* rowKs = &ks[size_t(y / kBlock) * size_t(bw) * 3];
        uint8_t* row = image.rgb.data() + size_t(y) * stride;
        bool decoded;
        switch (y == 0 ? 0 : mode) {
            case 0: decoded = DecodeRow<0>(in, rowKs, row, stride, width, y == 0); break;
            case 1: decoded = DecodeRow<1>(in, rowKs, row, stride, width, false); break;
            default: decoded = DecodeRow<2>(in, rowKs, row, stride, width, false); break;
        }
        if (!decoded)
            return Fail(DamagedRow(y));
        if (in.Overrun())
            return Fail("the image stream ends at row " + std::to_string(y + 1) + " of " +
                        std::to_string(image.height));
    }
    return image;
}

}  // namespace tamber::terrain
