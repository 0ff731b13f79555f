#include "ui/PieceQuads.h"

#include <algorithm>

#include "ui/DrawBatch.h"

namespace tamber::ui {

namespace {

constexpr long kMaxTiles = 65536;

// Destination fraction (fx, fy) of one tile to a texture coordinate in the page.
void MapToPage(const Piece& piece, float side, int mode, float fx, float fy, float& s, float& t) {
    if (mode & kPieceMirrorX)
        fx = 1 - fx;
    if (mode & kPieceMirrorY)
        fy = 1 - fy;
    float u = fx, v = fy;
    if (mode & kPieceRotate) {
        u = fy;
        v = 1 - fx;
    }
    if (piece.flags & kPieceStoredRotated) {
        s = (piece.x + v * piece.height) / side;
        t = (piece.y + u * piece.width) / side;
    } else {
        s = (piece.x + u * piece.width) / side;
        t = (piece.y + v * piece.height) / side;
    }
}

}  // namespace

void GetPieceSizeForMode(const Piece* piece, int mode, int& width, int& height) {
    GetPieceSize(piece, width, height);
    if (mode & kPieceRotate)
        std::swap(width, height);
}

void DrawPiece(const TexturePack* pack, const Piece* piece, int x, int y, int width, int height, int mode) {
    if (!pack || !piece || piece->page >= pack->pageTextures.size())
        return;
    int tileWidth, tileHeight;
    GetPieceSizeForMode(piece, mode, tileWidth, tileHeight);
    if (width <= 0 || height <= 0 || tileWidth <= 0 || tileHeight <= 0 || pack->pageSide <= 0)
        return;
    DrawBatch& batch = InterfaceBatch();
    const uint32_t texture = pack->pageTextures[piece->page];
    const float side = float(pack->pageSide);
    auto emit = [&](int x0, int y0, int x1, int y1, float f1x, float f1y) {
        const float fx[4] = {0, f1x, f1x, 0};
        const float fy[4] = {0, 0, f1y, f1y};
        const float xy[4][2] = {{float(x0), float(y0)}, {float(x1), float(y0)}, {float(x1), float(y1)},
                                {float(x0), float(y1)}};
        float st[4][2];
        for (int i = 0; i < 4; ++i)
            MapToPage(*piece, side, mode, fx[i], fy[i], st[i][0], st[i][1]);
        batch.AddQuad(texture, xy, st);
    };
    if (!(mode & kPieceRepeat)) {
        emit(x, y, x + width, y + height, 1, 1);
        return;
    }
    long tiles = 0;
    for (int ty = 0; ty < height; ty += tileHeight)
        for (int tx = 0; tx < width; tx += tileWidth) {
            if (++tiles > kMaxTiles)
                return;
            int w = std::min(tileWidth, width - tx);
            int h = std::min(tileHeight, height - ty);
            emit(x + tx, y + ty, x + tx + w, y + ty + h, float(w) / tileWidth, float(h) / tileHeight);
        }
}

}  // namespace tamber::ui
