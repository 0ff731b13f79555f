#pragma once
// Builds big-endian IFF data in memory: chunks with 32-bit lengths, sub-chunks
// with 16-bit lengths, both padded to even size and measured when closed.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tamber::models {

class IffWriter {
public:
    void U1(uint8_t value) { bytes_.push_back(value); }
    void U2(uint16_t value);
    void U4(uint32_t value);
    void F4(float value);
    // A variable-length index: two bytes below 0xFF00, else four with 0xFF first.
    void VX(uint32_t value);
    // A NUL-terminated string padded to even length.
    void S0(const std::string& text);

    // Opens a chunk (32-bit length) or sub-chunk (16-bit length); closing fills in
    // the length and pads the data to even size. False when a sub-chunk grew past
    // 65535 bytes.
    void BeginChunk(uint32_t id);
    void BeginSub(uint32_t id);
    bool End();

    const std::vector<uint8_t>& Bytes() const { return bytes_; }

private:
    struct Open {
        size_t lengthAt;
        bool wide;
    };
    std::vector<uint8_t> bytes_;
    std::vector<Open> open_;
};

}  // namespace tamber::models
