#pragma once
// Small rectangle helpers shared by the toolkit and the widgets.
#include <algorithm>

#include "ui/Event.h"
#include "ui/Rect.h"

namespace tamber::ui {

inline bool RectContains(const Rect& r, Point p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

inline Rect RectOffset(const Rect& r, int dx, int dy) { return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }

// A rectangle given in surface pixels, relative to an origin rectangle's top left.
inline Rect RectLocal(const Rect& r, const Rect& origin) { return RectOffset(r, -origin.left, -origin.top); }

inline Rect RectInset(const Rect& r, int dx, int dy) { return {r.left + dx, r.top + dy, r.right - dx, r.bottom - dy}; }

// Whether inner lies wholly inside outer.
inline bool RectEncloses(const Rect& outer, const Rect& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

inline bool RectsMeet(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

inline Rect RectIntersection(const Rect& a, const Rect& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

}  // namespace tamber::ui
