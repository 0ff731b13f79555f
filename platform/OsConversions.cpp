// Pure conversions of the platform layer: key codes, clipboard bitmaps, UTF-8/16.
#include <GLFW/glfw3.h>

#include "platform/OsDriver.h"

namespace tamber::platform {

namespace {

void Put32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = uint8_t(v >> (8 * i));
}
void Put16(std::vector<uint8_t>& out, size_t at, uint16_t v) {
    out[at] = uint8_t(v);
    out[at + 1] = uint8_t(v >> 8);
}
uint32_t Get32(const std::vector<uint8_t>& in, size_t at) {
    return uint32_t(in[at]) | uint32_t(in[at + 1]) << 8 | uint32_t(in[at + 2]) << 16 | uint32_t(in[at + 3]) << 24;
}
uint16_t Get16(const std::vector<uint8_t>& in, size_t at) { return uint16_t(in[at] | in[at + 1] << 8); }

constexpr size_t kDibHeaderSize = 40;

}  // namespace

int OsTranslateKey(int key) {
    if (key >= 32 && key <= 128) return key;
    if (key >= GLFW_KEY_F1 && key <= GLFW_KEY_F15) return 98 + (key - GLFW_KEY_F1);
    if (key >= GLFW_KEY_KP_0 && key <= GLFW_KEY_KP_9) return 146 + (key - GLFW_KEY_KP_0);
    switch (key) {
    case GLFW_KEY_ESCAPE: return 97;
    case GLFW_KEY_TAB: return 113;
    case GLFW_KEY_LEFT_SHIFT: return 115;
    case GLFW_KEY_RIGHT_SHIFT: return 116;
    case GLFW_KEY_LEFT_CONTROL: return 118;
    case GLFW_KEY_RIGHT_CONTROL: return 119;
    case GLFW_KEY_LEFT_ALT: return 124;
    case GLFW_KEY_RIGHT_ALT: return 125;
    case GLFW_KEY_BACKSPACE: return 127;
    case GLFW_KEY_ENTER: return 128;
    case GLFW_KEY_INSERT: return 129;
    case GLFW_KEY_HOME: return 130;
    case GLFW_KEY_PAGE_UP: return 131;
    case GLFW_KEY_PAGE_DOWN: return 132;
    case GLFW_KEY_END: return 133;
    case GLFW_KEY_DELETE: return 134;
    case GLFW_KEY_UP: return 135;
    case GLFW_KEY_DOWN: return 136;
    case GLFW_KEY_LEFT: return 137;
    case GLFW_KEY_RIGHT: return 138;
    case GLFW_KEY_KP_DIVIDE: return 140;
    case GLFW_KEY_KP_MULTIPLY: return 141;
    case GLFW_KEY_KP_SUBTRACT: return 142;
    case GLFW_KEY_KP_ADD: return 143;
    case GLFW_KEY_KP_ENTER: return 144;
    case GLFW_KEY_KP_DECIMAL: return 145;
    default: return 0;
    }
}

int OsTranslateMouseButton(int button) {
    switch (button) {
    case GLFW_MOUSE_BUTTON_LEFT: return 0;
    case GLFW_MOUSE_BUTTON_RIGHT: return 1;
    case GLFW_MOUSE_BUTTON_MIDDLE: return 2;
    default: return -1;
    }
}

std::vector<uint8_t> OsEncodeDib(const uint8_t* rgb, int width, int height) {
    size_t stride = (size_t(width) * 3 + 3) & ~size_t(3);
    std::vector<uint8_t> dib(kDibHeaderSize + stride * size_t(height), 0);
    Put32(dib, 0, kDibHeaderSize);
    Put32(dib, 4, uint32_t(width));
    Put32(dib, 8, uint32_t(height));
    Put16(dib, 12, 1);
    Put16(dib, 14, 24);
    for (int y = 0; y < height; ++y) {
        const uint8_t* src = rgb + size_t(height - 1 - y) * size_t(width) * 3;
        uint8_t* dst = dib.data() + kDibHeaderSize + size_t(y) * stride;
        for (int x = 0; x < width; ++x) {
            dst[x * 3 + 0] = src[x * 3 + 2];
            dst[x * 3 + 1] = src[x * 3 + 1];
            dst[x * 3 + 2] = src[x * 3 + 0];
        }
    }
    return dib;
}

bool OsDecodeDib(const std::vector<uint8_t>& dib, std::vector<uint8_t>& rgb, int& width, int& height) {
    if (dib.size() < kDibHeaderSize) return false;
    uint32_t headerSize = Get32(dib, 0);
    int32_t w = int32_t(Get32(dib, 4));
    int32_t h = int32_t(Get32(dib, 8));
    if (headerSize < kDibHeaderSize || headerSize > dib.size()) return false;
    if (Get16(dib, 12) != 1 || Get16(dib, 14) != 24 || Get32(dib, 16) != 0) return false;
    if (w <= 0 || h == 0 || w > 32767 || h > 32767 || h < -32767) return false;
    bool bottomUp = h > 0;
    int rows = bottomUp ? h : -h;
    size_t stride = (size_t(w) * 3 + 3) & ~size_t(3);
    if ((dib.size() - headerSize) / stride < size_t(rows)) return false;
    rgb.assign(size_t(w) * size_t(rows) * 3, 0);
    for (int y = 0; y < rows; ++y) {
        const uint8_t* src = dib.data() + headerSize + size_t(bottomUp ? rows - 1 - y : y) * stride;
        uint8_t* dst = rgb.data() + size_t(y) * size_t(w) * 3;
        for (int x = 0; x < w; ++x) {
            dst[x * 3 + 0] = src[x * 3 + 2];
            dst[x * 3 + 1] = src[x * 3 + 1];
            dst[x * 3 + 2] = src[x * 3 + 0];
        }
    }
    width = w;
    height = rows;
    return true;
}

std::u16string OsUtf8ToUtf16(const std::string& utf8) {
    std::u16string out;
    size_t i = 0;
    while (i < utf8.size()) {
        unsigned char lead = utf8[i++];
        size_t extra = lead < 0x80 ? 0 : (lead >> 5) == 6 ? 1 : (lead >> 4) == 14 ? 2 : (lead >> 3) == 30 ? 3 : 4;
        uint32_t cp = extra == 0 ? lead : lead & (0x3F >> extra);
        bool valid = extra < 4;
        for (size_t k = 0; valid && k < extra; ++k) {
            if (i >= utf8.size() || (static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80) {
                valid = false;
                break;
            }
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i++]) & 0x3F);
        }
        if (!valid || cp > 0x10FFFF) cp = 0xFFFD;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += char16_t(0xD800 + (cp >> 10));
            out += char16_t(0xDC00 + (cp & 0x3FF));
        } else {
            out += char16_t(cp);
        }
    }
    return out;
}

std::string OsUtf16ToUtf8(const std::u16string& utf16) {
    std::string out;
    for (size_t i = 0; i < utf16.size(); ++i) {
        uint32_t cp = utf16[i];
        if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] < 0xE000) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
            ++i;
        }
        if (cp < 0x80) {
            out += char(cp);
        } else if (cp < 0x800) {
            out += char(0xC0 | (cp >> 6));
            out += char(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += char(0xE0 | (cp >> 12));
            out += char(0x80 | ((cp >> 6) & 0x3F));
            out += char(0x80 | (cp & 0x3F));
        } else {
            out += char(0xF0 | (cp >> 18));
            out += char(0x80 | ((cp >> 12) & 0x3F));
            out += char(0x80 | ((cp >> 6) & 0x3F));
            out += char(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

}  // namespace tamber::platform
