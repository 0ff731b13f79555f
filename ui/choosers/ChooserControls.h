#pragma once
// Small helpers the choosers and the gallery share for building rows of controls.
#include <string>

#include "ui/Window.h"

namespace tamber::ui::widgets { class Button; }
namespace tamber::ui::widgets { class TextBox; }

namespace tamber::ui::choosers {
using namespace tamber::ui::widgets;

// A one-line label at (x, y), as wide as width, vertically centred on a row of height.
TextBox* MakeLabel(Window* parent, const std::string& text, int x, int y, int width, int height);
// A push button named after its label, sized to fit and at least minimumWidth wide.
Button* MakeButton(Window* parent, const char* label, int x, int y, int minimumWidth);
// Width of text in the parent's font.
int TextWidth(const Window* parent, const std::string& text);

}  // namespace tamber::ui::choosers
