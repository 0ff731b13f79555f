#include "models/IffCursor.h"

#include <cstring>

namespace tamber::models {

bool IffCursor::U1(uint8_t& value) {
    if (Remaining() < 1) return false;
    value = data_[pos_++];
    return true;
}

bool IffCursor::U2(uint16_t& value) {
    if (Remaining() < 2) return false;
    value = uint16_t(data_[pos_] << 8 | data_[pos_ + 1]);
    pos_ += 2;
    return true;
}

bool IffCursor::I2(int16_t& value) {
    uint16_t raw;
    if (!U2(raw)) return false;
    value = int16_t(raw);
    return true;
}

bool IffCursor::U4(uint32_t& value) {
    if (Remaining() < 4) return false;
    value = uint32_t(data_[pos_]) << 24 | uint32_t(data_[pos_ + 1]) << 16 | uint32_t(data_[pos_ + 2]) << 8 |
            uint32_t(data_[pos_ + 3]);
    pos_ += 4;
    return true;
}

bool IffCursor::F4(float& value) {
    uint32_t raw;
    if (!U4(raw)) return false;
    std::memcpy(&value, &raw, 4);
    return true;
}

bool IffCursor::Vec12(float (&value)[3]) {
    if (Remaining() < 12) return false;
    for (float& v : value) F4(v);
    return true;
}

bool IffCursor::VX(uint32_t& value) {
    if (Remaining() < 2) return false;
    if (data_[pos_] != 0xFF) {
        uint16_t index;
        U2(index);
        value = index;
        return true;
    }
    uint32_t raw;
    if (!U4(raw)) return false;
    value = raw & 0x00FFFFFF;
    return true;
}

bool IffCursor::S0(std::string& value) {
    const void* nul = std::memchr(data_ + pos_, 0, Remaining());
    if (!nul) return false;
    const size_t length = size_t(static_cast<const uint8_t*>(nul) - (data_ + pos_));
    value.assign(reinterpret_cast<const char*>(data_ + pos_), length);
    size_t taken = length + 1;
    if (taken & 1) ++taken;
    pos_ += taken < Remaining() ? taken : Remaining();
    return true;
}

bool IffCursor::Skip(size_t count) {
    if (Remaining() < count) return false;
    pos_ += count;
    return true;
}

bool IffCursor::Sub(size_t length, bool pad, IffCursor& sub) {
    if (Remaining() < length) return false;
    sub = IffCursor(data_ + pos_, length, offset_ + pos_);
    pos_ += length;
    if (pad && (length & 1) && Remaining() > 0) ++pos_;
    return true;
}

}  // namespace tamber::models
