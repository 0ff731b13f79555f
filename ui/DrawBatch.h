#pragma once
// Interface drawing (text, skin pieces, filled rectangles) collected as quads and
// drawn with one vertex-array call per run of quads that share a texture. Every
// vertex carries its colour, so collecting sets and reads no OpenGL state.
//
// A quad joins the latest run with its texture unless a quad of a run after that
// one overlaps it; otherwise it starts a new run. Quads that overlap therefore keep
// their order and the picture is the one drawing them one by one would give.
//
// The batch draws with the matrices, viewport, scissor and blending in force when it
// is flushed: EndWindowDrawing flushes, and code that draws with OpenGL itself, or
// changes that state, calls FlushDrawing() first.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "ui/Rect.h"

namespace tamber::ui {

// One corner, laid out as OpenGL's interleaved T2F_C4UB_V3F format.
struct BatchVertex {
    float s = 0, t = 0;
    uint8_t r = 255, g = 255, b = 255, a = 255;
    float x = 0, y = 0, z = 0;
};
static_assert(sizeof(BatchVertex) == 24);

struct DrawColor {
    uint8_t r = 255, g = 255, b = 255, a = 255;
    bool operator==(const DrawColor&) const = default;
};

class DrawBatch {
public:
    // Quads collected before the batch draws on its own, to bound its memory.
    static constexpr size_t kMaxQuads = 16384;

    // The colour given to the quads added after it.
    void SetColor(DrawColor color) { color_ = color; }
    DrawColor Color() const { return color_; }

    // A quad in the current colour; corners run top left, top right, bottom right,
    // bottom left. Texture 0 draws untextured.
    void AddQuad(uint32_t texture, const float (&xy)[4][2], const float (&st)[4][2]);
    // A quad whose corners carry their own colours.
    void AddQuad(uint32_t texture, const BatchVertex (&corner)[4]);
    // An untextured rectangle in the current colour.
    void AddRect(const Rect& rect);

    // Draws the runs in order and empties the batch; the enable and current states
    // are as before, the bound texture is the last one drawn. Returns the number of
    // draw calls made.
    int Flush();
    size_t QuadCount() const { return quads_; }

private:
    struct Bounds {
        float left, top, right, bottom;
        bool Meets(const Bounds& o) const {
            return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
        }
    };
    struct Run {
        uint32_t texture = 0;
        Bounds bounds{};
        std::vector<BatchVertex> vertices;  // kept between flushes to spare allocations
    };
    Run& RunFor(uint32_t texture, const Bounds& bounds);

    std::vector<Run> runs_;
    size_t used_ = 0;  // runs_[0, used_) hold this batch's quads
    size_t quads_ = 0;
    DrawColor color_;
};

// The batch the interface draws into (the program draws from one thread).
DrawBatch& InterfaceBatch();
void SetDrawColor(uint8_t r, uint8_t g, uint8_t b, uint8_t a);
// Draws what the interface batch holds.
void FlushDrawing();

}  // namespace tamber::ui
