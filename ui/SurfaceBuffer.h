#pragma once

namespace tamber::ui {

// The composed frame, kept in an offscreen framebuffer that lives across frames.
// The window system repaints only dirty rectangles into it; presenting copies it
// whole to the back buffer, so partial repaints never depend on what a swap left
// in the back buffer (undefined on real drivers, black under software renderers).
class SurfaceBuffer {
public:
    ~SurfaceBuffer();

    // (Re)creates the buffer at the surface size; false when framebuffer objects
    // are unavailable (drawing then goes straight to the back buffer).
    bool Resize(int width, int height);
    // Makes the buffer the drawing target.
    void Bind() const;
    // Copies the buffer to the back buffer; the caller swaps afterwards.
    void PresentToBackBuffer() const;
    bool Available() const { return framebuffer_ != 0; }

private:
    void Release();

    unsigned framebuffer_ = 0;
    unsigned colour_ = 0;
    unsigned depth_ = 0;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace tamber::ui
