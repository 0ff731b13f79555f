#pragma once
// A rectangle in surface pixels: origin top left, y down, right and bottom exclusive.
#include <cstdint>

namespace tamber::ui {

struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool operator==(const Rect&) const = default;
};

}  // namespace tamber::ui
