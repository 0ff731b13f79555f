#pragma once
// Bounds-checked big-endian reads over a byte span. Any read or seek past the end
// sets a sticky failure flag and yields zeros, so a parser can read a whole record
// and test Ok() once.
#include <cstddef>
#include <cstdint>
#include <span>

namespace tamber::collections {

class BigEndianReader {
public:
    explicit BigEndianReader(std::span<const uint8_t> data) : data_(data) {}

    bool Ok() const { return ok_; }
    size_t Size() const { return data_.size(); }
    size_t Position() const { return pos_; }
    size_t Remaining() const { return ok_ ? data_.size() - pos_ : 0; }
    // True when `count` more bytes are available (without consuming them).
    bool Has(uint64_t count) const { return ok_ && count <= data_.size() - pos_; }

    bool Seek(uint64_t position);
    bool Skip(uint64_t count);
    uint8_t U8();
    uint16_t U16();
    int16_t I16() { return int16_t(U16()); }
    uint32_t U32();
    uint32_t LE32();
    // Copies `count` bytes into `out`; on failure `out` is zero-filled.
    bool Bytes(uint8_t* out, size_t count);
    // A view of the next `count` bytes, consumed; empty on failure.
    std::span<const uint8_t> Take(size_t count);

private:
    const uint8_t* Claim(size_t count);

    std::span<const uint8_t> data_;
    size_t pos_ = 0;
    bool ok_ = true;
};

}  // namespace tamber::collections
