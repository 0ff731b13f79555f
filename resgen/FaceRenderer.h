#pragma once
// One font face at one pixel size, rasterised with FreeType: antialiased glyph
// coverage with light hinting, advances and kerning in 26.6 fixed point.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "resgen/Canvas.h"

namespace tamber::resgen {

class FaceRenderer {
public:
    struct GlyphBitmap {
        bool found = false;  // the face has a glyph for the code point
        int width = 0;
        int height = 0;
        int left = 0;        // from the pen to the bitmap's left edge
        int top = 0;         // from the baseline up to the bitmap's top row
        int advance = 0;     // 26.6
        std::vector<uint8_t> coverage;
    };

    static std::unique_ptr<FaceRenderer> Open(const std::string& path, int pixelSize);
    ~FaceRenderer();

    GlyphBitmap Render(uint32_t codePoint) const;
    // Kerning between two code points in 26.6 (0 when either is missing).
    int Kerning(uint32_t left, uint32_t right) const;
    int Ascender() const;   // pixels
    int Descender() const;  // pixels, positive below the baseline
    int LineHeight() const;

    // Draws ASCII text with its pen starting at x on the baseline y; returns the
    // advance in pixels. A null canvas only measures.
    int DrawString(Canvas* canvas, const std::string& text, int x, int y, Color color) const;

private:
    FaceRenderer() = default;
    void* face_ = nullptr;
};

}  // namespace tamber::resgen
