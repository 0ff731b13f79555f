#pragma once
// Bounds-checked big-endian reading over one IFF chunk's bytes. Every read
// fails, leaving the value untouched, when the chunk has too few bytes left.
#include <cstddef>
#include <cstdint>
#include <string>

namespace tamber::models {

class IffCursor {
public:
    // `offset` is the file position of data[0], used to report positions.
    IffCursor(const uint8_t* data, size_t size, size_t offset = 0) : data_(data), size_(size), offset_(offset) {}

    bool U1(uint8_t& value);
    bool U2(uint16_t& value);
    bool I2(int16_t& value);
    bool U4(uint32_t& value);
    bool F4(float& value);
    bool Vec12(float (&value)[3]);
    // A variable-length index: two bytes, or four when the first is 0xFF.
    bool VX(uint32_t& value);
    // A NUL-terminated string padded to even length; a missing pad byte at the
    // end of the chunk is tolerated.
    bool S0(std::string& value);
    bool Skip(size_t count);

    // Takes the next `length` bytes as a cursor of their own, then skips the
    // pad byte when `pad` and the length is odd (when the chunk has one).
    bool Sub(size_t length, bool pad, IffCursor& sub);

    size_t Remaining() const { return size_ - pos_; }
    bool AtEnd() const { return pos_ >= size_; }
    size_t Position() const { return offset_ + pos_; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t offset_;
    size_t pos_ = 0;
};

}  // namespace tamber::models
