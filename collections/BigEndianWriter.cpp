#include "collections/BigEndianWriter.h"

#include <cstring>

namespace tamber::collections {

void BigEndianWriter::Seek(size_t position) {
    if (position > out_.size())
        out_.resize(position, 0);
    pos_ = position;
}

void BigEndianWriter::Put(const uint8_t* bytes, size_t count) {
    if (pos_ + count > out_.size())
        out_.resize(pos_ + count);
    if (count)
        std::memcpy(out_.data() + pos_, bytes, count);
    pos_ += count;
}

void BigEndianWriter::U16(uint16_t v) {
    const uint8_t b[2] = {uint8_t(v >> 8), uint8_t(v)};
    Put(b, 2);
}

void BigEndianWriter::U32(uint32_t v) {
    const uint8_t b[4] = {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
    Put(b, 4);
}

void BigEndianWriter::LE32(uint32_t v) {
    const uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
    Put(b, 4);
}

void BigEndianWriter::Zeros(size_t count) {
    if (pos_ + count > out_.size())
        out_.resize(pos_ + count, 0);
    std::memset(out_.data() + pos_, 0, count);
    pos_ += count;
}

}  // namespace tamber::collections
