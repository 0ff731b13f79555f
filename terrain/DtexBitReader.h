#pragma once
// The bit reader of the image stream's decoder.
#include <bit>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

namespace tamber::terrain::dtex {

// Codes of up to kPeekBits bits are decoded by looking their prefix up in a table.
constexpr int kPeekBits = 10;

// For parameter k: indexed by the next kPeekBits bits, the value of the code they
// begin with in the low byte and its length in the high one; the length is 255 when
// the code is longer than kPeekBits (or damaged).
const uint16_t* CodeTable(int k);

// The stream's 32-bit little-endian words in big-endian byte order, followed by
// zero bytes enough to read `slackBits` past the stream's end. A last partial word
// reads as if its missing high bytes were zeros.
std::vector<uint8_t> BigEndianWords(std::span<const uint8_t> stream, uint64_t slackBits);

// Reads the stream's bits, each word from its most significant bit down, from the
// bytes BigEndianWords made. Any bit position is one unaligned 64-bit load away;
// past the end the stream reads as zeros, and reading into the slack needs no check
// per code: the caller checks Overrun() often enough to stay within it. Cheap to
// copy, so that a decoding loop keeps its state in registers.
class DtexBitReader {
public:
    DtexBitReader(std::span<const uint8_t> words, uint64_t totalBits) : bytes_(words.data()), totalBits_(totalBits) {}

    // The next `n` bits, 0 to 32 of them.
    uint32_t Bits(int n) {
        Load();
        const uint32_t value = uint32_t(buffer_ >> 1 >> (63 - n));
        pos_ += uint64_t(n);
        return value;
    }

    // Takes the 57 or more bits from the current position into the buffer: once a
    // pixel, before its codes.
    void Load() {
        uint64_t word;
        std::memcpy(&word, bytes_ + (pos_ >> 3), 8);
        if constexpr (std::endian::native == std::endian::little)
            word = __builtin_bswap64(word);
        buffer_ = word << (pos_ & 7);
        available_ = 64 - int(pos_ & 7);
    }

    // A value coded as a unary quotient and `k` low bits, or 0 with no bits when `k`
    // is kZeroParameter; `table` is CodeTable(k). Values above 255 mark a damaged
    // code.
    [[gnu::always_inline]] uint32_t Code(int k, const uint16_t* table) {
        const uint32_t entry = table[buffer_ >> (64 - kPeekBits)];
        const int length = int(entry >> 8);
        if (length >= available_) [[unlikely]] {
            const LongCodeRead read = LongCode(bytes_, pos_, k);
            pos_ = read.pos;
            Load();
            return read.value;
        }
        buffer_ <<= length;
        available_ -= length;
        pos_ += uint64_t(length);
        return entry & 255;
    }

    // Whether more bits were read than the stream has.
    bool Overrun() const { return pos_ > totalBits_; }

private:
    struct LongCodeRead {
        uint32_t value;
        uint64_t pos;  // after the code
    };
    DtexBitReader(const uint8_t* bytes, uint64_t pos) : bytes_(bytes), totalBits_(0), pos_(pos) {}

    // The code at bit `pos` when the rest of the buffer does not hold it whole
    // (long, damaged, or just begun near the buffer's end). Static, so that the
    // fast path's reader need not leave registers for the call.
    static LongCodeRead LongCode(const uint8_t* bytes, uint64_t pos, int k);

    const uint8_t* bytes_;
    uint64_t totalBits_;
    uint64_t pos_ = 0;  // bits read
    uint64_t buffer_ = 0;  // the bits from pos_ on, left-aligned
    int available_ = 0;  // how many bits of the buffer are loaded
};

}  // namespace tamber::terrain::dtex
