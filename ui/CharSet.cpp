#include "ui/CharSet.h"

#include <array>

#include "platform/fs/FileBytes.h"

namespace {

constexpr std::array<char16_t, 224> kMacRoman = {
    0x0020, 0x0021, 0x0022, 0x0023, 0x0024, 0x0025, 0x0026, 0x0027,
    0x0028, 0x0029, 0x002A, 0x002B, 0x002C, 0x002D, 0x002E, 0x002F,
    0x0030, 0x0031, 0x0032, 0x0033, 0x0034, 0x0035, 0x0036, 0x0037,
    0x0038, 0x0039, 0x003A, 0x003B, 0x003C, 0x003D, 0x003E, 0x003F,
    0x0040, 0x0041, 0x0042, 0x0043, 0x0044, 0x0045, 0x0046, 0x0047,
    0x0048, 0x0049, 0x004A, 0x004B, 0x004C, 0x004D, 0x004E, 0x004F,
    0x0050, 0x0051, 0x0052, 0x0053, 0x0054, 0x0055, 0x0056, 0x0057,
    0x0058, 0x0059, 0x005A, 0x005B, 0x005C, 0x005D, 0x005E, 0x005F,
    0x0060, 0x0061, 0x0062, 0x0063, 0x0064, 0x0065, 0x0066, 0x0067,
    0x0068, 0x0069, 0x006A, 0x006B, 0x006C, 0x006D, 0x006E, 0x006F,
    0x0070, 0x0071, 0x0072, 0x0073, 0x0074, 0x0075, 0x0076, 0x0077,
    0x0078, 0x0079, 0x007A, 0x007B, 0x007C, 0x007D, 0x007E, 0x007F,
    0x00C4, 0x00C5, 0x00C7, 0x00C9, 0x00D1, 0x00D6, 0x00DC, 0x00E1,
    0x00E0, 0x00E2, 0x00E4, 0x00E3, 0x00E5, 0x00E7, 0x00E9, 0x00E8,
    0x00EA, 0x00EB, 0x00ED, 0x00EC, 0x00EE, 0x00EF, 0x00F1, 0x00F3,
    0x00F2, 0x00F4, 0x00F6, 0x00F5, 0x00FA, 0x00F9, 0x00FB, 0x00FC,
    0x2020, 0x00B0, 0x00A2, 0x00A3, 0x00A7, 0x2022, 0x00B6, 0x00DF,
    0x00AE, 0x00A9, 0x2122, 0x00B4, 0x00A8, 0x2260, 0x00C6, 0x00D8,
    0x221E, 0x00B1, 0x2264, 0x2265, 0x00A5, 0x00B5, 0x2202, 0x2211,
    0x220F, 0x03C0, 0x222B, 0x00AA, 0x00BA, 0x03A9, 0x00E6, 0x00F8,
    0x00BF, 0x00A1, 0x00AC, 0x221A, 0x0192, 0x2248, 0x2206, 0x00AB,
    0x00BB, 0x2026, 0x00A0, 0x00C0, 0x00C3, 0x00D5, 0x0152, 0x0153,
    0x2013, 0x2014, 0x201C, 0x201D, 0x2018, 0x2019, 0x00F7, 0x25CA,
    0x00FF, 0x0178, 0x2044, 0x00A4, 0x2039, 0x203A, 0xFB01, 0xFB02,
    0x2021, 0x00B7, 0x201A, 0x201E, 0x2030, 0x00C2, 0x00CA, 0x00C1,
    0x00CB, 0x00C8, 0x00CD, 0x00CE, 0x00CF, 0x00CC, 0x00D3, 0x00D4,
    0xF8FF, 0x00D2, 0x00DA, 0x00DB, 0x00D9, 0x0131, 0x02C6, 0x02DC,
    0x00AF, 0x02D8, 0x02D9, 0x02DA, 0x00B8, 0x02DD, 0x02DB, 0x02C7,
};

std::array<char16_t, 224> gTable = kMacRoman;

// Alt combinations for the characters 32 to 126, as program characters.
constexpr uint8_t kAltChars[95] = {
    32,  218, 174, 220, 221, 222, 224, 190, 225, 226, 161, 177, 178, 208, 179, 214,  // 32-47
    188, 193, 170, 163, 162, 176, 164, 166, 165, 187, 242, 201, 248, 173, 249, 192,  // 48-63
    219, 129, 245, 130, 235, 171, 236, 253, 238, 246, 239, 240, 241, 229, 247, 175,  // 64-79
    184, 206, 228, 234, 255, 172, 215, 227, 254, 231, 252, 210, 199, 212, 223, 209,  // 80-95
    96,  140, 186, 141, 182, 171, 196, 169, 250, 246, 198, 251, 194, 181, 247, 191,  // 96-111
    185, 207, 168, 167, 160, 172, 195, 183, 197, 180, 189, 211, 200, 213, 96,        // 112-126
};

void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | cp >> 6);
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xE0 | cp >> 12);
        out += char(0x80 | (cp >> 6 & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

}  // namespace

bool LoadCharMap(const std::string& path) {
    auto bytes = ReadFileBytes(path, 1 << 20);
    if (!bytes || bytes->size() < gTable.size() * 2)
        return false;
    for (size_t i = 0; i < gTable.size(); ++i)
        gTable[i] = char16_t((*bytes)[2 * i] | (*bytes)[2 * i + 1] << 8);
    return true;
}

void ResetCharMap() { gTable = kMacRoman; }

char16_t CharToUnicode(uint8_t c) {
    if (c < 32)
        return c;
    char16_t u = gTable[c - 32];
    return u ? u : u' ';
}

uint8_t UnicodeToChar(uint32_t codePoint) {
    if (codePoint < 33)
        return uint8_t(codePoint);
    for (size_t i = 0; i < gTable.size(); ++i)
        if (gTable[i] == codePoint)
            return uint8_t(i + 32);
    return codePoint < 255 ? uint8_t(codePoint) : 255;
}

std::u16string ToUnicode(const std::string& text) {
    std::u16string out;
    out.reserve(text.size());
    for (char c : text)
        out += CharToUnicode(uint8_t(c));
    return out;
}

std::string FromUnicode(const std::u16string& text) {
    std::string out;
    out.reserve(text.size());
    for (char16_t u : text)
        out += char(UnicodeToChar(u));
    return out;
}

std::string ToUtf8(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        AppendUtf8(out, CharToUnicode(uint8_t(c)));
    return out;
}

std::string FromUtf8(const std::string& utf8) {
    std::string out;
    size_t i = 0;
    while (i < utf8.size()) {
        uint8_t lead = uint8_t(utf8[i]);
        int extra = lead < 0x80 ? 0 : (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2 : (lead & 0xF8) == 0xF0 ? 3 : -1;
        uint32_t cp = extra == 0 ? lead : extra == 1 ? lead & 0x1F : extra == 2 ? lead & 0x0F : lead & 0x07;
        size_t next = i + 1;
        bool valid = extra >= 0 && i + extra < utf8.size();
        for (int k = 0; valid && k < extra; ++k) {
            uint8_t cont = uint8_t(utf8[i + 1 + k]);
            if ((cont & 0xC0) != 0x80)
                valid = false;
            else
                cp = cp << 6 | (cont & 0x3F);
        }
        if (valid)
            next = i + 1 + extra;
        out += char(valid ? UnicodeToChar(cp) : 255);
        i = next;
    }
    return out;
}

uint8_t TranslateTypedChar(int character, bool alt) {
    if (character < 32 || character > 255)
        return 255;
    if (character == 167)
        return 164;
    if (character == 177)
        return 177;
    if (character > 126)
        return 0;
    return alt ? kAltChars[character - 32] : uint8_t(character);
}
