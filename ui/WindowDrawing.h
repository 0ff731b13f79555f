#pragma once
// Sets up OpenGL for drawing one window: viewport on its client area (or frame),
// scissor on its current clip, and an orthographic projection in pixels with the
// origin at the top left, or a perspective one for 3D views. Both ends flush the
// interface batch, so each window's drawing is drawn with its own set-up; the
// batch's colour and OpenGL's current colour start white.
#include "ui/Rect.h"

namespace tamber::ui {

class Window;

void BeginWindowDrawing(Window* window, bool frameNotClient, bool perspective);
void EndWindowDrawing();

}  // namespace tamber::ui
