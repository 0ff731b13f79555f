#pragma once

namespace tamber::ui {

// Window placements kept in the preferences ("%d %d %d %d %d": display state, then
// the normal frame relative to the parent), and the cascade position for windows
// that have none.
class Window;

void SavePlacement(Window* window, const char* key);
// Applies a stored placement; with keepOnScreen the rectangle is first moved (not
// resized) so that it lies on the surface. False when no record was found.
bool RestorePlacement(Window* window, const char* key, bool keepOnScreen);
// Places the window at the next cascade position: (64, 64), then 48 further right and
// down each time, starting over when a 560-pixel window would pass the surface's edge.
void PlaceAtCascadePosition(Window* window);
// Opens a new window: at the next cascade position, inside its parent, shown in front
// and with the keyboard given to `focus` (the window itself or one of its controls).
void PresentAtCascadePosition(Window* window, Window* focus);
// Forgets the cascade counters (tests).
void ResetCascade();
// Moves the window into its parent's client area, shrinking it where it is larger.
void FitInsideParent(Window* window);
// Makes the window wider by extra pixels as far as its parent's client area allows,
// then fits it inside (a window opening wide enough for its columns).
void WidenWithinParent(Window* window, int extra);

}  // namespace tamber::ui
