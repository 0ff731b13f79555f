#include "terrain/DtexStream.h"

#include <algorithm>
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

int Pred(int u, int l, int c) {
    const int lo = std::min(u, l), hi = std::max(u, l);
    if (c >= hi)
        return (7 * lo + hi) >> 3;
    if (c <= lo)
        return (7 * hi + lo) >> 3;
    return u + l - c;
}

// The predictions of a pixel from its already known neighbours: the base
// channel's value and, for the other channels, their difference to the base.
struct Prediction {
    int base = 0;
    int diff[3] = {};
};

Prediction Predict(const uint8_t* rgb, int width, int x, int y, int b) {
    Prediction p;
    const uint8_t* row = rgb + size_t(y) * size_t(width) * 3;
    if (y == 0 || x == 0) {
        const uint8_t* n = y == 0 ? row + (size_t(x) - 1) * 3 : row - size_t(width) * 3;
        p.base = n[b];
        for (int c = 0; c < 3; ++c)
            p.diff[c] = n[b] - n[c];
        return p;
    }
    const uint8_t* l = row + (size_t(x) - 1) * 3;
    const uint8_t* u = row + size_t(x) * 3 - size_t(width) * 3;
    const uint8_t* cc = u - 3;
    p.base = Pred(u[b], l[b], cc[b]);
    for (int c = 0; c < 3; ++c)
        p.diff[c] = Pred(u[b] - u[c], l[b] - l[c], cc[b] - cc[c]);
    return p;
}

uint8_t ToResidual(int d) {
    const int s = int8_t(uint8_t(d));
    return uint8_t(s >= 0 ? 2 * s : -2 * s - 1);
}
int FromResidual(uint8_t v) { return v & 1 ? -((v + 1) / 2) : v / 2; }

int BlockCount(int side) { return (side + kBlock - 1) / kBlock; }

std::string DamagedRow(int y) { return "row " + std::to_string(y + 1) + " of the image stream is damaged"; }

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
    bool Overrun() const { return consumed_ > totalBits_; }

private:
    // Keeps at least 32 bits in the buffer; past the end the stream reads as zeros.
    void Fill() {
        while (count_ <= 32) {
            uint32_t word = 0;
            for (int i = 0; i < 4; ++i)
                if (next_ + size_t(i) < bytes_.size())
                    word |= uint32_t(bytes_[next_ + size_t(i)]) << (8 * i);
            next_ += 4;
            buffer_ |= uint64_t(word) << (32 - count_);
            count_ += 32;
        }
    }
    void Consume(int n) {
        buffer_ = n >= 64 ? 0 : buffer_ << n;
        count_ -= n;
        consumed_ += uint64_t(n);
    }

    std::span<const uint8_t> bytes_;
    uint64_t totalBits_;
    uint64_t consumed_ = 0;
    size_t next_ = 0;
    uint64_t buffer_ = 0;  // left-aligned
    int count_ = 0;
};

class BitWriter {
public:
    void Bits(uint32_t value, int n) {
        if (n == 0)
            return;
        buffer_ |= uint64_t(value & ((uint64_t(1) << n) - 1)) << (64 - count_ - n);
        count_ += n;
        if (count_ >= 32)
            Flush();
    }
    void Ones(int n) {
        for (; n >= 16; n -= 16)
            Bits(0xFFFF, 16);
        Bits((1u << n) - 1, n);
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
    for (int y = 0; y < height; ++y) {
        const int m = y == 0 ? 0 : mode;
        const int b = kChannel[m][0];
        for (int x = 0; x < width; ++x) {
            const size_t i = (size_t(y) * size_t(width) + size_t(x)) * 3;
            const uint8_t* px = rgb + i;
            if (x == 0 && y == 0) {
                std::copy(px, px + 3, &residuals[i]);
                continue;
            }
            const Prediction p = Predict(rgb, width, x, y, b);
            residuals[i] = ToResidual(p.base - px[b]);
            for (int r = 1; r < 3; ++r) {
                const int c = kChannel[m][r];
                residuals[i + size_t(r)] = ToResidual(px[c] - px[b] + p.diff[c]);
            }
        }
    }
    return residuals;
}

struct Parameters {
    std::vector<uint8_t> k;  // per block and residual channel
    uint64_t bits = 0;
};

Parameters ChooseParameters(const std::vector<uint8_t>& residuals, int width, int height) {
    const int bw = BlockCount(width), bh = BlockCount(height);
    Parameters params;
    params.k.resize(size_t(bw) * size_t(bh) * 3);
    params.bits = 26 + uint64_t(bw) * uint64_t(bh) * 9;
    for (int by = 0; by < bh; ++by)
        for (int bx = 0; bx < bw; ++bx)
            for (int r = 0; r < 3; ++r) {
                uint64_t shifted[kZeroParameter] = {};
                uint64_t count = 0;
                bool allZero = true;
                for (int y = by * kBlock; y < std::min(height, by * kBlock + kBlock); ++y)
                    for (int x = bx * kBlock; x < std::min(width, bx * kBlock + kBlock); ++x) {
                        const uint8_t v = residuals[(size_t(y) * size_t(width) + size_t(x)) * 3 + size_t(r)];
                        allZero &= v == 0;
                        for (int k = 0; k < kZeroParameter; ++k)
                            shifted[k] += v >> k;
                        ++count;
                    }
                int best = kZeroParameter;
                uint64_t bestBits = 0;
                if (!allZero) {
                    bestBits = UINT64_MAX;
                    for (int k = 0; k < kZeroParameter; ++k) {
                        const uint64_t bits = shifted[k] + count * uint64_t(k + 1);
                        if (bits < bestBits) {
                            bestBits = bits;
                            best = k;
                        }
                    }
                }
                params.k[(size_t(by) * size_t(bw) + size_t(bx)) * 3 + size_t(r)] = uint8_t(best);
                params.bits += bestBits;
            }
    return params;
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
    for (int mode = onlyMode.value_or(0); mode < (onlyMode ? *onlyMode + 1 : kModes); ++mode) {
        std::vector<uint8_t> residuals = Residuals(rgb, width, height, mode);
        Parameters params = ChooseParameters(residuals, width, height);
        if (bestResiduals.empty() || params.bits < best.bits) {
            bestMode = mode;
            bestResiduals = std::move(residuals);
            best = std::move(params);
        }
    }
    BitWriter out;
    out.Bits(uint32_t(width), 12);
    out.Bits(uint32_t(height), 12);
    out.Bits(uint32_t(bestMode), 2);
    for (uint8_t k : best.k)
        out.Bits(k, 3);
    const int bw = BlockCount(width);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint8_t* ks = &best.k[(size_t(y / kBlock) * size_t(bw) + size_t(x / kBlock)) * 3];
            for (int r = 0; r < 3; ++r) {
                if (ks[r] == kZeroParameter)
                    continue;
                const uint8_t v = bestResiduals[(size_t(y) * size_t(width) + size_t(x)) * 3 + size_t(r)];
                out.Ones(v >> ks[r]);
                out.Bits(0, 1);
                out.Bits(v, ks[r]);
            }
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
    image.rgb.resize(size_t(width) * size_t(image.height) * 3);
    uint8_t* rgb = image.rgb.data();
    for (int y = 0; y < image.height; ++y) {
        const int m = y == 0 ? 0 : mode;
        const int b = kChannel[m][0];
        for (int x = 0; x < width; ++x) {
            const uint8_t* k = &ks[(size_t(y / kBlock) * size_t(bw) + size_t(x / kBlock)) * 3];
            uint8_t v[3];
            for (int r = 0; r < 3; ++r) {
                if (k[r] == kZeroParameter) {
                    v[r] = 0;
                    continue;
                }
                const int q = in.Unary(255 >> k[r]);
                if (q < 0)
                    return Fail(DamagedRow(y));
                const uint32_t value = uint32_t(q) << k[r] | in.Bits(k[r]);
                if (value > 255)
                    return Fail(DamagedRow(y));
                v[r] = uint8_t(value);
            }
            uint8_t* px = rgb + (size_t(y) * size_t(width) + size_t(x)) * 3;
            if (x == 0 && y == 0) {
                std::copy(v, v + 3, px);
                continue;
            }
            const Prediction p = Predict(rgb, width, x, y, b);
            const int base = p.base - FromResidual(v[0]);
            px[b] = uint8_t(base);
            for (int r = 1; r < 3; ++r) {
                const int c = kChannel[m][r];
                px[c] = uint8_t(base + FromResidual(v[r]) - p.diff[c]);
            }
        }
        if (in.Overrun())
            return Fail("the image stream ends at row " + std::to_string(y + 1) + " of " +
                        std::to_string(image.height));
    }
    return image;
}

}  // namespace tamber::terrain
