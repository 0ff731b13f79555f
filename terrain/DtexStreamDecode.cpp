// The image stream's decoder. Rows are decoded by loops specialised for the mode
// and for the top row, with the first pixel of a row taken out of the loop and one
// check for damage a row. A pixel's three channels are predicted and reconstructed
// together in the lanes of one vector; each row keeps its pixels in that form for
// the row below.
#include <algorithm>
#include <string>

#include "terrain/DtexBitReader.h"
#include "terrain/DtexPrediction.h"
#include "terrain/DtexStream.h"

namespace tamber::terrain {
using namespace tamber::base;
using namespace tamber::terrain::dtex;

namespace {

// The most bits a row reads past the stream's end: there every code reads as a
// zero-bit and at most six low bits.
constexpr uint64_t kRowSlackBits = uint64_t(kDtexStreamMaxSide) * 3 * 7;

// Lanes 0 to 2 in residual channel order; the others stay 0. A pixel's "form" in
// mode M is its base channel and the base minus each other channel: what Predictor
// computes from, here kept for the neighbours to come. (A compiler vector type: one
// SSE2 or NEON register.)
typedef int16_t Lanes __attribute__((vector_size(16)));

constexpr Lanes kAllButFirst = {0, -1, -1, -1, -1, -1, -1, -1};

inline Lanes First(Lanes v) { return Lanes{} + v[0]; }

template <int M>
Lanes Form(const uint8_t* px) {
    using P = Predictor<M>;
    return Lanes{px[P::b], int16_t(px[P::b] - px[P::c1]), int16_t(px[P::b] - px[P::c2])};
}

// Pred() of each lane.
inline Lanes Pred(Lanes u, Lanes l, Lanes c) {
    const Lanes lo = l ^ ((u ^ l) & (u < l)), hi = u ^ l ^ lo, spread = hi - lo;
    const Lanes towardLo = lo + (spread >> 3), towardHi = hi - ((spread + 7) >> 3), plane = u + l - c;
    const Lanes inside = plane ^ ((plane ^ towardHi) & (c <= lo));
    return inside ^ ((inside ^ towardLo) & (c >= hi));
}

// Stores the pixel of residual values `r` predicted as `p` and gives its form.
template <int M>
Lanes Reconstruct(Lanes r, Lanes p, uint8_t* px) {
    using P = Predictor<M>;
    // The signed differences; the base channel is the prediction minus its
    // difference, every other channel the base plus its difference minus its prediction.
    const Lanes d = ((r >> 1) ^ -(r & 1)) - p;
    const Lanes values = ((d & kAllButFirst) - First(d)) & 255;
    px[P::b] = uint8_t(values[0]);
    px[P::c1] = uint8_t(values[1]);
    px[P::c2] = uint8_t(values[2]);
    return First(values) - (values & kAllButFirst);
}

// The coding parameters of one block for its three residual channels.
struct BlockCodes {
    int k[3];
    const uint16_t* table[3];

    explicit BlockCodes(const uint8_t* ks) {
        for (int r = 0; r < 3; ++r) {
            k[r] = ks[r];
            table[r] = CodeTable(ks[r]);
        }
    }
};

[[gnu::always_inline]] inline Lanes ReadPixel(DtexBitReader& in, const BlockCodes& codes) {
    in.Load();
    const uint32_t v0 = in.Code(codes.k[0], codes.table[0]);
    const uint32_t v1 = in.Code(codes.k[1], codes.table[1]);
    return Lanes{int16_t(v0), int16_t(v1), int16_t(in.Code(codes.k[2], codes.table[2]))};
}

// Decodes one row in mode M and keeps the forms of its pixels in `forms`; `above`
// are the forms of the row above. The top row (always mode 0) predicts from the
// left neighbour only and keeps no forms. False when a code is damaged.
template <int M, bool Top>
bool DecodeRow(DtexBitReader& reader, const uint8_t* ks, const Lanes* above, Lanes* forms, uint8_t* row,
               int width) {
    DtexBitReader in = reader;  // a local copy stays in registers
    Lanes seen = ReadPixel(in, BlockCodes(ks));  // every value read, or-ed
    Lanes left;
    if constexpr (Top) {
        for (int c = 0; c < 3; ++c)
            row[c] = uint8_t(seen[c]);
        left = Form<M>(row);
    } else {
        left = Reconstruct<M>(seen, above[0], row);
        forms[0] = left;
    }
    for (int x0 = 0; x0 < width; x0 += kBlock) {
        const BlockCodes codes(ks + size_t(x0 / kBlock) * 3);
        const int x1 = std::min(width, x0 + kBlock);
        for (int x = std::max(x0, 1); x < x1; ++x) {
            const Lanes r = ReadPixel(in, codes);
            seen |= r;
            if constexpr (Top) {
                left = Reconstruct<M>(r, left, row + size_t(x) * 3);
            } else {
                left = Reconstruct<M>(r, Pred(above[x], left, above[x - 1]), row + size_t(x) * 3);
                forms[x] = left;
            }
        }
    }
    reader = in;
    return (seen[0] | seen[1] | seen[2]) <= 255;
}

std::string DamagedRow(int y) { return "row " + std::to_string(y + 1) + " of the image stream is damaged"; }
std::string EndsAtRow(int y, int height) {
    return "the image stream ends at row " + std::to_string(y + 1) + " of " + std::to_string(height);
}

// Decodes rows 1 on in mode M.
template <int M>
Status DecodeRows(DtexBitReader& in, const std::vector<uint8_t>& ks, DtexImage& image) {
    const size_t stride = size_t(image.width) * 3, blockRow = size_t(BlockCount(image.width)) * 3;
    std::vector<Lanes> above(size_t(image.width)), forms(size_t(image.width));
    for (int x = 0; x < image.width; ++x)
        above[size_t(x)] = Form<M>(&image.rgb[size_t(x) * 3]);
    for (int y = 1; y < image.height; ++y) {
        if (!DecodeRow<M, false>(in, &ks[size_t(y / kBlock) * blockRow], above.data(), forms.data(),
                                 &image.rgb[size_t(y) * stride], image.width))
            return Fail(DamagedRow(y));
        if (in.Overrun())
            return Fail(EndsAtRow(y, image.height));
        above.swap(forms);
    }
    return Ok();
}

}  // namespace

Result<DtexImage> DecodeDtexStream(std::span<const uint8_t> stream) {
    const std::vector<uint8_t> words = BigEndianWords(stream, kRowSlackBits);
    DtexBitReader in(words, uint64_t(stream.size()) * 8);
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
    image.rgb.resize(size_t(image.width) * size_t(image.height) * 3);
    if (!DecodeRow<0, true>(in, ks.data(), nullptr, nullptr, image.rgb.data(), image.width))
        return Fail(DamagedRow(0));
    if (in.Overrun())
        return Fail(EndsAtRow(0, image.height));
    Status rows = mode == 0 ? DecodeRows<0>(in, ks, image)
                  : mode == 1 ? DecodeRows<1>(in, ks, image)
                              : DecodeRows<2>(in, ks, image);
    if (!rows)
        return Fail(rows.error());
    return image;
}

}  // namespace tamber::terrain
