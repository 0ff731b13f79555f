#pragma once
// Geometry of one piece draw, without OpenGL: the quads and texture coordinates that
// put a piece into a destination rectangle under the piece modes. A piece stored
// turned in its page is mapped back here, so callers never see the storage rotation.
#include <vector>

#include "ui/TexturePack.h"

namespace tamber::ui {

// Piece modes (bit mask): the destination is rotated first, then mirrored.
enum : int {
    kPieceRepeat = 1,   // tile at natural size instead of stretching
    kPieceRotate = 2,   // turned 90 degrees clockwise
    kPieceMirrorX = 4,  // mirrored left to right
    kPieceMirrorY = 8,  // mirrored top to bottom
};

struct PieceVertex {
    float x, y;  // destination
    float s, t;  // texture coordinates in the page
};
struct PieceQuad {
    PieceVertex corner[4];  // top left, top right, bottom right, bottom left
};

// The piece's size as drawn with the mode: width and height swap when rotated.
void GetPieceSizeForMode(const Piece* piece, int mode, int& width, int& height);
// Appends the quads; a repeated piece tiles from the top left and the last row and
// column are cut. At most 65536 tiles are emitted for one draw.
void BuildPieceQuads(const Piece& piece, int pageSide, int x, int y, int width, int height, int mode,
                     std::vector<PieceQuad>& out);

}  // namespace tamber::ui
