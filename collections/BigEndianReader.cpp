#include "collections/BigEndianReader.h"

#include <cstring>

namespace tamber::collections {

const uint8_t* BigEndianReader::Claim(size_t count) {
    static const uint8_t kNothing = 0;
    if (!Has(count)) {
        ok_ = false;
        return nullptr;
    }
    if (count == 0)
        return &kNothing;
    const uint8_t* p = data_.data() + pos_;
    pos_ += count;
    return p;
}

bool BigEndianReader::Seek(uint64_t position) {
    if (!ok_ || position > data_.size())
        return ok_ = false;
    pos_ = size_t(position);
    return true;
}

bool BigEndianReader::Skip(uint64_t count) {
    if (!Has(count))
        return ok_ = false;
    pos_ += size_t(count);
    return true;
}

uint8_t BigEndianReader::U8() {
    const uint8_t* p = Claim(1);
    return p ? p[0] : 0;
}

uint16_t BigEndianReader::U16() {
    const uint8_t* p = Claim(2);
    return p ? uint16_t(p[0] << 8 | p[1]) : 0;
}

uint32_t BigEndianReader::U32() {
    const uint8_t* p = Claim(4);
    return p ? uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3] : 0;
}

uint32_t BigEndianReader::LE32() {
    const uint8_t* p = Claim(4);
    return p ? uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0] : 0;
}

bool BigEndianReader::Bytes(uint8_t* out, size_t count) {
    const uint8_t* p = Claim(count);
    if (!p) {
        std::memset(out, 0, count);
        return false;
    }
    std::memcpy(out, p, count);
    return true;
}

std::span<const uint8_t> BigEndianReader::Take(size_t count) {
    const uint8_t* p = Claim(count);
    return p && count ? std::span<const uint8_t>(p, count) : std::span<const uint8_t>();
}

}  // namespace tamber::collections
