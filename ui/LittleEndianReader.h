#pragma once
// Bounds-checked little-endian reading from a byte buffer. A read past the end fails
// and leaves the reader failed, so a parser can read a whole record and check once.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tamber::ui {

class LittleEndianReader {
public:
    LittleEndianReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool Ok() const { return ok_; }
    size_t Remaining() const { return ok_ ? size_ - pos_ : 0; }
    size_t Position() const { return pos_; }

    // The next count bytes, or null (and failed) when fewer remain.
    const uint8_t* Take(size_t count) {
        if (!ok_ || count > size_ - pos_) {
            ok_ = false;
            return nullptr;
        }
        const uint8_t* at = data_ + pos_;
        pos_ += count;
        return at;
    }
    uint8_t U8() {
        const uint8_t* p = Take(1);
        return p ? p[0] : 0;
    }
    uint16_t U16() {
        const uint8_t* p = Take(2);
        return p ? uint16_t(p[0] | p[1] << 8) : 0;
    }
    int16_t S16() { return static_cast<int16_t>(U16()); }
    uint32_t U32() {
        const uint8_t* p = Take(4);
        return p ? uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24 : 0;
    }
    int32_t S32() { return static_cast<int32_t>(U32()); }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    bool ok_ = true;
};

// Little-endian appending, the writing side of LittleEndianReader.
class LittleEndianWriter {
public:
    std::vector<uint8_t>& Bytes() { return bytes_; }
    void U8(uint8_t v) { bytes_.push_back(v); }
    void U16(uint16_t v) {
        U8(uint8_t(v));
        U8(uint8_t(v >> 8));
    }
    void U32(uint32_t v) {
        U16(uint16_t(v));
        U16(uint16_t(v >> 16));
    }
    void Append(const uint8_t* data, size_t count) { bytes_.insert(bytes_.end(), data, data + count); }

private:
    std::vector<uint8_t> bytes_;
};

}  // namespace tamber::ui
