#include "terrain/RunStream.h"

#include <algorithm>
#include <cstring>

namespace tamber::terrain {

void EncodeRuns(std::span<const uint8_t> bytes, std::vector<uint8_t>& out) {
    for (size_t i = 0; i < bytes.size();) {
        const uint8_t value = bytes[i];
        size_t n = 1;
        while (n < 256 && i + n < bytes.size() && bytes[i + n] == value)
            ++n;
        out.push_back(value);
        out.push_back(uint8_t(n - 1));
        i += n;
    }
}

bool DecodeRuns(BigEndianReader& in, std::span<uint8_t> out) {
    for (size_t filled = 0; filled < out.size();) {
        const uint8_t value = in.U8();
        const size_t count = size_t(in.U8()) + 1;
        if (!in.Ok())
            return false;
        const size_t n = std::min(count, out.size() - filled);
        std::memset(out.data() + filled, value, n);
        filled += n;
    }
    return true;
}

}  // namespace tamber::terrain
