#include "ui/PieceQueue.h"

#include <GL/gl.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace tamber::ui {

namespace {

struct QueuedPiece {
    const TexturePack* pack;
    const Piece* piece;
    int x, y, width, height;
    int mode;
};

QueuedPiece gQueue[kPieceQueueSize];
int gQueued = 0;

}  // namespace

void QueuePiece(const TexturePack* pack, const Piece* piece, int x, int y, int width, int height, int mode) {
    if (!pack || !piece || piece->width == 0 || piece->height == 0 || piece->page >= pack->pageTextures.size())
        return;
    if (gQueued == kPieceQueueSize)
        FlushPieces(true);
    gQueue[gQueued++] = QueuedPiece{pack, piece, x, y, width, height, mode};
}

int QueuedPieceCount() { return gQueued; }

int FlushPieces(bool sort) {
    if (gQueued == 0)
        return 0;
    if (sort)
        std::stable_sort(gQueue, gQueue + gQueued, [](const QueuedPiece& a, const QueuedPiece& b) {
            if (a.pack != b.pack)
                return std::less<const TexturePack*>()(a.pack, b.pack);
            return a.piece->page < b.piece->page;
        });
    glPushAttrib(GL_TEXTURE_BIT | GL_ENABLE_BIT);
    glEnable(GL_TEXTURE_2D);
    int binds = 0;
    GLuint bound = 0;
    bool open = false;
    static std::vector<PieceQuad> quads;  // kept between flushes to spare allocations
    for (int i = 0; i < gQueued; ++i) {
        const QueuedPiece& entry = gQueue[i];
        GLuint texture = entry.pack->pageTextures[entry.piece->page];
        if (binds == 0 || texture != bound) {
            if (open)
                glEnd();
            glBindTexture(GL_TEXTURE_2D, texture);
            bound = texture;
            ++binds;
            glBegin(GL_QUADS);
            open = true;
        }
        quads.clear();
        BuildPieceQuads(*entry.piece, entry.pack->pageSide, entry.x, entry.y, entry.width, entry.height, entry.mode,
                        quads);
        for (const PieceQuad& quad : quads)
            for (const PieceVertex& v : quad.corner) {
                glTexCoord2f(v.s, v.t);
                glVertex2f(v.x, v.y);
            }
    }
    if (open)
        glEnd();
    glPopAttrib();
    gQueued = 0;
    return binds;
}

}  // namespace tamber::ui
