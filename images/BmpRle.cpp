#include "images/BmpCodec.h"

#include <algorithm>
#include <cassert>

namespace tamber::images {
using namespace tamber::base;

namespace {

// Writes decoded indices: rows counted from the bottom, pixels past the
// picture's edges dropped.
class RleCanvas {
public:
    RleCanvas(const BmpHeader& header, uint8_t* indices) : header_(header), indices_(indices) {}

    void Put(uint8_t index) {
        if (x_ < header_.width && row_ < header_.height)
            indices_[size_t(header_.height - 1 - row_) * size_t(header_.width) + size_t(x_)] = index;
        ++x_;
    }
    void NextRow() {
        x_ = 0;
        ++row_;
    }
    void Move(uint8_t right, uint8_t up) {
        x_ += right;
        row_ += up;
    }
    bool Done() const { return row_ >= header_.height; }
    bool RowFull() const { return x_ >= header_.width; }

private:
    const BmpHeader& header_;
    uint8_t* indices_;
    int64_t x_ = 0;
    int64_t row_ = 0;
};

}  // namespace

Status DecodeBmpRle(const uint8_t* data, size_t size, const BmpHeader& header, uint8_t* indices) {
    assert(header.compression == kBmpRle8 || header.compression == kBmpRle4);
    assert(header.bottomUp);
    const bool four = header.compression == kBmpRle4;
    // The index at position i of a run or of a stored string of indices.
    auto nibble = [four](uint8_t byte, int i) { return four ? uint8_t(i & 1 ? byte & 15 : byte >> 4) : byte; };
    RleCanvas canvas(header, indices);
    size_t pos = 0;
    while (!canvas.Done()) {
        if (size - pos < 2)
            return Fail("the BMP picture's run-length data ends early");
        const uint8_t count = data[pos], value = data[pos + 1];
        pos += 2;
        if (count > 0) {
            // A run past the end of its row is cut there.
            for (int i = 0; i < count && !canvas.RowFull(); ++i)
                canvas.Put(nibble(value, i));
        } else if (value == 0) {
            canvas.NextRow();
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            if (size - pos < 2)
                return Fail("the BMP picture's run-length data ends early");
            canvas.Move(data[pos], data[pos + 1]);
            pos += 2;
        } else {
            // `value` indices stored as they are, padded to a whole 16-bit word.
            const size_t bytes = four ? (size_t(value) + 1) / 2 : value;
            if (size - pos < bytes)
                return Fail("the BMP picture's run-length data ends early");
            for (int i = 0; i < value; ++i)
                canvas.Put(nibble(data[pos + (four ? size_t(i) / 2 : size_t(i))], i));
            pos += std::min(size - pos, (bytes + 1) & ~size_t(1));
        }
    }
    return Ok();
}

}  // namespace tamber::images
