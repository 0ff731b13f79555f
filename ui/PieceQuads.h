#pragma once
// One piece draw: the quads and texture coordinates that put a piece into a
// destination rectangle under the piece modes, added to the interface batch. A piece
// stored turned in its page is mapped back here, so callers never see the rotation.
#include "ui/TexturePack.h"

namespace tamber::ui {

// Piece modes (bit mask): the destination is rotated first, then mirrored.
enum : int {
    kPieceRepeat = 1,   // tile at natural size instead of stretching
    kPieceRotate = 2,   // turned 90 degrees clockwise
    kPieceMirrorX = 4,  // mirrored left to right
    kPieceMirrorY = 8,  // mirrored top to bottom
};

// The piece's size as drawn with the mode: width and height swap when rotated.
void GetPieceSizeForMode(const Piece* piece, int mode, int& width, int& height);
// Adds the piece drawn into the rectangle to the interface batch, in its current
// colour; a missing pack or piece draws nothing. A repeated piece tiles from the top
// left and the last row and column are cut; at most 65536 tiles are drawn.
void DrawPiece(const TexturePack* pack, const Piece* piece, int x, int y, int width, int height, int mode);

}  // namespace tamber::ui
