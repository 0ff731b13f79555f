#pragma once
// Sets up OpenGL for drawing one window: viewport on its client area (or frame),
// scissor on its current clip, and an orthographic projection in pixels with the
// origin at the top left, or a perspective one for 3D views.
#include "ui/Rect.h"

namespace tamber::ui {

class Window;

void BeginWindowDrawing(Window* window, bool frameNotClient, bool perspective);
void EndWindowDrawing();

}  // namespace tamber::ui
