#pragma once
// The colour chooser's arithmetic: HSV and RGB conversions, hex entry, and the 16
// custom colours kept for the whole run.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace tamber::ui::choosers {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

struct Hsv {
    double h = 0;  // degrees, 0 to 360
    double s = 0;  // 0 to 1
    double v = 0;  // 0 to 1
};

Hsv RgbToHsv(Rgb rgb);
Rgb HsvToRgb(Hsv hsv);
// "#RRGGBB", "RRGGBB" or "#RGB"; nothing for anything else.
std::optional<Rgb> ParseHexColor(const std::string& text);
std::string FormatHexColor(Rgb rgb);

// The custom colours of the chooser, shared by every chooser of the run.
std::array<Rgb, 16>& CustomColors();

}  // namespace tamber::ui::choosers
