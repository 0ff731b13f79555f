#pragma once
// Small rectangle helpers shared by the widgets.
#include "ui/Event.h"
#include "ui/Rect.h"

inline bool RectContains(const Rect& r, Point p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

inline Rect RectOffset(const Rect& r, int dx, int dy) { return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }

// A rectangle given in surface pixels, relative to an origin rectangle's top left.
inline Rect RectLocal(const Rect& r, const Rect& origin) { return RectOffset(r, -origin.left, -origin.top); }

inline Rect RectInset(const Rect& r, int dx, int dy) { return {r.left + dx, r.top + dy, r.right - dx, r.bottom - dy}; }
