#pragma once
// A small synthetic font with round numbers, for exact layout checks:
// ascent 10, line height 12, tabs of 4 spaces. Plain: every advance 6, the space 3,
// "A" before "V" only 4; glyph bitmaps 5 x 7. Bold: advances 8, bitmaps 7 x 7.
// Italic: advances 6. The fourth style is absent.
#include <memory>

#include "ui/Font.h"

using namespace tamber::ui;

std::unique_ptr<Font> MakeTestFont();
