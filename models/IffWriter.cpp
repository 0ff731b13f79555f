#include "models/IffWriter.h"

#include <cstring>

namespace tamber::models {

void IffWriter::U2(uint16_t value) {
    bytes_.push_back(uint8_t(value >> 8));
    bytes_.push_back(uint8_t(value));
}

void IffWriter::U4(uint32_t value) {
    U2(uint16_t(value >> 16));
    U2(uint16_t(value));
}

void IffWriter::F4(float value) {
    uint32_t raw;
    std::memcpy(&raw, &value, 4);
    U4(raw);
}

void IffWriter::VX(uint32_t value) {
    if (value < 0xFF00) {
        U2(uint16_t(value));
    } else {
        U4(0xFF000000u | (value & 0x00FFFFFFu));
    }
}

void IffWriter::S0(const std::string& text) {
    bytes_.insert(bytes_.end(), text.begin(), text.end());
    bytes_.push_back(0);
    if ((text.size() + 1) & 1) bytes_.push_back(0);
}

void IffWriter::BeginChunk(uint32_t id) {
    U4(id);
    open_.push_back(Open{bytes_.size(), true});
    U4(0);
}

void IffWriter::BeginSub(uint32_t id) {
    U4(id);
    open_.push_back(Open{bytes_.size(), false});
    U2(0);
}

bool IffWriter::End() {
    const Open open = open_.back();
    open_.pop_back();
    const size_t start = open.lengthAt + (open.wide ? 4 : 2);
    const size_t length = bytes_.size() - start;
    if (!open.wide && length > 0xFFFF) return false;
    uint8_t* at = &bytes_[open.lengthAt];
    if (open.wide) {
        at[0] = uint8_t(length >> 24);
        at[1] = uint8_t(length >> 16);
        at[2] = uint8_t(length >> 8);
        at[3] = uint8_t(length);
    } else {
        at[0] = uint8_t(length >> 8);
        at[1] = uint8_t(length);
    }
    if (length & 1) bytes_.push_back(0);
    return true;
}

}  // namespace tamber::models
