#include "ui/choosers/ColorModel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace tamber::ui::choosers {

Hsv RgbToHsv(Rgb rgb) {
    double r = rgb.r / 255.0, g = rgb.g / 255.0, b = rgb.b / 255.0;
    double high = std::max({r, g, b}), low = std::min({r, g, b}), range = high - low;
    Hsv hsv;
    hsv.v = high;
    hsv.s = high > 0 ? range / high : 0;
    if (range > 0) {
        if (high == r) hsv.h = 60 * std::fmod((g - b) / range + 6, 6);
        else if (high == g) hsv.h = 60 * ((b - r) / range + 2);
        else hsv.h = 60 * ((r - g) / range + 4);
    }
    return hsv;
}

Rgb HsvToRgb(Hsv hsv) {
    double h = std::fmod(std::fmod(hsv.h, 360) + 360, 360) / 60;
    double s = std::clamp(hsv.s, 0.0, 1.0), v = std::clamp(hsv.v, 0.0, 1.0);
    double c = v * s, x = c * (1 - std::fabs(std::fmod(h, 2) - 1)), m = v - c;
    double r = 0, g = 0, b = 0;
    switch (int(h)) {
    case 0: r = c, g = x; break;
    case 1: r = x, g = c; break;
    case 2: g = c, b = x; break;
    case 3: g = x, b = c; break;
    case 4: r = x, b = c; break;
    default: r = c, b = x; break;
    }
    auto byte = [m](double channel) { return uint8_t(std::lround((channel + m) * 255)); };
    return {byte(r), byte(g), byte(b)};
}

std::optional<Rgb> ParseHexColor(const std::string& text) {
    std::string digits = !text.empty() && text[0] == '#' ? text.substr(1) : text;
    if (digits.size() != 6 && digits.size() != 3) return std::nullopt;
    unsigned values[6];
    for (size_t i = 0; i < digits.size(); ++i) {
        char c = digits[i];
        if (c >= '0' && c <= '9') values[i] = unsigned(c - '0');
        else if (c >= 'a' && c <= 'f') values[i] = unsigned(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F') values[i] = unsigned(c - 'A' + 10);
        else return std::nullopt;
    }
    if (digits.size() == 3) return Rgb{uint8_t(values[0] * 17), uint8_t(values[1] * 17), uint8_t(values[2] * 17)};
    return Rgb{uint8_t(values[0] * 16 + values[1]), uint8_t(values[2] * 16 + values[3]),
               uint8_t(values[4] * 16 + values[5])};
}

std::string FormatHexColor(Rgb rgb) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", rgb.r, rgb.g, rgb.b);
    return text;
}

std::array<Rgb, 16>& CustomColors() {
    static std::array<Rgb, 16> colors = [] {
        std::array<Rgb, 16> initial;
        initial.fill({255, 255, 255});
        return initial;
    }();
    return colors;
}

}  // namespace tamber::ui::choosers
