#pragma once
// The queue of piece draws: up to 64 draws collected and then drawn together, sorted
// by pack and page when asked so that each page texture is bound once.
#include "ui/PieceQuads.h"

namespace tamber::ui {

constexpr int kPieceQueueSize = 64;

// Adds a draw; a missing pack or piece is ignored. A full queue is flushed (sorted)
// first.
void QueuePiece(const TexturePack* pack, const Piece* piece, int x, int y, int width, int height, int mode);
// Draws the queue with 2D texturing and empties it; the texture state is restored.
// Returns the number of texture binds it made.
int FlushPieces(bool sort);
int QueuedPieceCount();

}  // namespace tamber::ui
