#pragma once
// Big-endian writes into a growing byte buffer at a movable position; seeking
// past the end pads with zeros, so tables can be reserved and filled in later.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tamber::collections {

class BigEndianWriter {
public:
    explicit BigEndianWriter(std::vector<uint8_t>& out) : out_(out) {}

    size_t Position() const { return pos_; }
    void Seek(size_t position);
    void SeekEnd() { pos_ = out_.size(); }
    void U8(uint8_t v) { Put(&v, 1); }
    void U16(uint16_t v);
    void U32(uint32_t v);
    void LE32(uint32_t v);
    void Zeros(size_t count);
    void Bytes(std::span<const uint8_t> bytes) { Put(bytes.data(), bytes.size()); }

private:
    void Put(const uint8_t* bytes, size_t count);

    std::vector<uint8_t>& out_;
    size_t pos_ = 0;
};

}  // namespace tamber::collections
