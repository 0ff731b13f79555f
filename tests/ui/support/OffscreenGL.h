#pragma once
// An OpenGL context for tests that needs no display: EGL on Mesa's surfaceless
// platform with the software renderer, a compatibility context (immediate mode
// works) and a framebuffer object of the asked size bound for drawing. The
// projection is set up as the window system sets it for a window: x right and
// y down in pixels from the top left.
#include <cstdint>
#include <string>
#include <vector>

class OffscreenGL {
public:
    OffscreenGL(int width, int height);
    ~OffscreenGL();
    OffscreenGL(const OffscreenGL&) = delete;
    OffscreenGL& operator=(const OffscreenGL&) = delete;

    // False (with the reason in Error) when no context could be made.
    bool Ok() const { return ok_; }
    const std::string& Error() const { return error_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

    // Clears to the colour and restores the default drawing state: blending with
    // source alpha, no depth test, white current colour.
    void Clear(uint8_t r = 0, uint8_t g = 0, uint8_t b = 0);
    // The framebuffer as RGBA rows from the top.
    std::vector<uint8_t> ReadPixels() const;
    // One pixel as 0xRRGGBBAA; (0, 0) is the top left.
    uint32_t Pixel(int x, int y) const;
    // Saves the framebuffer as a binary PPM (for looking at a failing test).
    bool SavePpm(const std::string& path) const;

private:
    int width_;
    int height_;
    bool ok_ = false;
    std::string error_;
    void* display_ = nullptr;
    void* context_ = nullptr;
    uint32_t framebuffer_ = 0;
    uint32_t colorBuffer_ = 0;
};

// Counts pixels of the rectangle whose colour differs from the given 0xRRGGBB.
int CountPixelsNot(const std::vector<uint8_t>& rgba, int width, int left, int top, int right, int bottom,
                   uint32_t rgb);
