#include "ui/DrawBatch.h"

#include <GL/gl.h>

#include <algorithm>

namespace tamber::ui {

namespace {

// How many runs back a quad looks for one with its texture: enough for a list's
// rows (bands, marks, text) to share runs, few enough to stay cheap.
constexpr size_t kRunsSearched = 8;

}  // namespace

DrawBatch::Run& DrawBatch::RunFor(uint32_t texture, const Bounds& bounds) {
    const size_t stop = used_ > kRunsSearched ? used_ - kRunsSearched : 0;
    for (size_t i = used_; i-- > stop;) {
        Run& run = runs_[i];
        if (run.texture == texture) {
            run.bounds = {std::min(run.bounds.left, bounds.left), std::min(run.bounds.top, bounds.top),
                          std::max(run.bounds.right, bounds.right), std::max(run.bounds.bottom, bounds.bottom)};
            return run;
        }
        // Joining an earlier run would draw this quad under one it must cover.
        if (run.bounds.Meets(bounds))
            break;
    }
    if (used_ == runs_.size())
        runs_.emplace_back();
    Run& run = runs_[used_++];
    run.texture = texture;
    run.bounds = bounds;
    run.vertices.clear();
    return run;
}

void DrawBatch::AddQuad(uint32_t texture, const BatchVertex (&corner)[4]) {
    Bounds bounds{corner[0].x, corner[0].y, corner[0].x, corner[0].y};
    for (const BatchVertex& v : corner) {
        bounds.left = std::min(bounds.left, v.x);
        bounds.top = std::min(bounds.top, v.y);
        bounds.right = std::max(bounds.right, v.x);
        bounds.bottom = std::max(bounds.bottom, v.y);
    }
    // A quad without area covers no pixel.
    if (!(bounds.left < bounds.right && bounds.top < bounds.bottom))
        return;
    if (quads_ == kMaxQuads)
        Flush();
    Run& run = RunFor(texture, bounds);
    run.vertices.insert(run.vertices.end(), std::begin(corner), std::end(corner));
    ++quads_;
}

void DrawBatch::AddQuad(uint32_t texture, const float (&xy)[4][2], const float (&st)[4][2]) {
    BatchVertex corner[4];
    for (int i = 0; i < 4; ++i)
        corner[i] = BatchVertex{st[i][0], st[i][1], color_.r, color_.g, color_.b, color_.a, xy[i][0], xy[i][1], 0};
    AddQuad(texture, corner);
}

void DrawBatch::AddRect(const Rect& rect) {
    const float l = float(rect.left), t = float(rect.top), r = float(rect.right), b = float(rect.bottom);
    const float xy[4][2] = {{l, t}, {r, t}, {r, b}, {l, b}};
    const float st[4][2] = {};
    AddQuad(0, xy, st);
}

int DrawBatch::Flush() {
    if (used_ == 0)
        return 0;
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    bool texturing = false;
    uint32_t bound = 0;
    for (size_t i = 0; i < used_; ++i) {
        const Run& run = runs_[i];
        if ((run.texture != 0) != texturing) {
            texturing = run.texture != 0;
            if (texturing)
                glEnable(GL_TEXTURE_2D);
            else
                glDisable(GL_TEXTURE_2D);
        }
        if (texturing && run.texture != bound) {
            glBindTexture(GL_TEXTURE_2D, run.texture);
            bound = run.texture;
        }
        glInterleavedArrays(GL_T2F_C4UB_V3F, 0, run.vertices.data());
        glDrawArrays(GL_QUADS, 0, GLsizei(run.vertices.size()));
    }
    glPopClientAttrib();
    glPopAttrib();
    const int draws = int(used_);
    used_ = 0;
    quads_ = 0;
    return draws;
}

DrawBatch& InterfaceBatch() {
    static DrawBatch batch;
    return batch;
}

void SetDrawColor(uint8_t r, uint8_t g, uint8_t b, uint8_t a) { InterfaceBatch().SetColor({r, g, b, a}); }

void FlushDrawing() { InterfaceBatch().Flush(); }

}  // namespace tamber::ui
