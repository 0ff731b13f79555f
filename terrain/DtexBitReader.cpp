#include "terrain/DtexBitReader.h"

#include <array>
#include <cstring>

#include "terrain/DtexPrediction.h"

namespace tamber::terrain::dtex {

namespace {

using CodeTables = std::array<std::array<uint16_t, 1 << kPeekBits>, kZeroParameter + 1>;

constexpr CodeTables MakeCodeTables() {
    CodeTables tables{};
    for (int k = 0; k < kZeroParameter; ++k)
        for (uint32_t bits = 0; bits < (1u << kPeekBits); ++bits) {
            const int ones = std::countl_one(uint32_t(bits << (32 - kPeekBits)));
            const int length = ones + 1 + k;
            tables[size_t(k)][bits] = 0xFF00;
            if (length > kPeekBits)
                continue;
            const uint32_t value = uint32_t(ones) << k | (bits >> (kPeekBits - length) & ((1u << k) - 1));
            if (value <= 255)
                tables[size_t(k)][bits] = uint16_t(uint32_t(length) << 8 | value);
        }
    return tables;  // kZeroParameter's table: value 0 of no bits
}

constexpr CodeTables kCodeTables = MakeCodeTables();

}  // namespace

const uint16_t* CodeTable(int k) { return kCodeTables[size_t(k)].data(); }

std::vector<uint8_t> BigEndianWords(std::span<const uint8_t> stream, uint64_t slackBits) {
    const size_t size = stream.size(), whole = size / 4 * 4;
    std::vector<uint8_t> bytes((size + 3) / 4 * 4 + size_t(slackBits / 8) + 16);
    for (size_t i = 0; i < whole; i += 4) {
        uint32_t word;
        std::memcpy(&word, stream.data() + i, 4);
        if constexpr (std::endian::native == std::endian::little)
            word = __builtin_bswap32(word);
        std::memcpy(bytes.data() + i, &word, 4);
    }
    for (size_t i = whole; i < size; ++i)
        bytes[whole + 3 - (i - whole)] = stream[i];
    return bytes;
}

DtexBitReader::LongCodeRead DtexBitReader::LongCode(const uint8_t* bytes, uint64_t pos, int k) {
    DtexBitReader in(bytes, pos);
    const uint32_t limit = 255u >> k;
    uint32_t q = 0;
    for (;;) {
        in.Load();
        const int ones = std::countl_one(in.buffer_);
        if (ones < in.available_) {
            q += uint32_t(ones);
            in.pos_ += uint64_t(ones) + 1;
            break;
        }
        q += uint32_t(in.available_);
        in.pos_ += uint64_t(in.available_);
        if (q > limit)
            return {256, in.pos_};
    }
    const uint32_t value = q > limit ? 256 : q << k | in.Bits(k);
    return {value, in.pos_};
}

}  // namespace tamber::terrain::dtex
