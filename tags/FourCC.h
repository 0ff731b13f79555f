#pragma once
// Four-character codes: the first character is the most significant byte, so the
// big-endian bytes on disk read as the text.
#include <cstdint>
#include <string>

namespace tamber::tags {

constexpr uint32_t FourCC(const char (&text)[5]) {
    return (uint32_t(uint8_t(text[0])) << 24) | (uint32_t(uint8_t(text[1])) << 16) |
           (uint32_t(uint8_t(text[2])) << 8) | uint32_t(uint8_t(text[3]));
}

inline uint32_t FourCCFromText(const std::string& text) {
    uint32_t code = 0;
    for (size_t i = 0; i < 4; ++i) code = (code << 8) | (i < text.size() ? uint8_t(text[i]) : uint8_t(' '));
    return code;
}

inline std::string FourCCText(uint32_t code) {
    return {char(code >> 24), char(code >> 16), char(code >> 8), char(code)};
}

}  // namespace tamber::tags
