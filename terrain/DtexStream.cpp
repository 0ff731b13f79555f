#include "terrain/DtexStream.h"

#include <algorithm>
#include <array>
#include <string>

#include "terrain/DtexPrediction.h"

namespace tamber::terrain {
using namespace tamber::base;
using namespace tamber::terrain::dtex;

namespace {

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

}  // namespace tamber::terrain
