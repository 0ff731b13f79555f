#pragma once
// The pictures of the interface skin (ids as in ui/SkinPieces.h) and the program's
// cursors, drawn from code. One dark palette throughout: light text on dark panels,
// a blue accent for the active title bar, a light band for highlighted rows.
#include <vector>

#include "ui/PieceFile.h"

namespace tamber::resgen {
using namespace tamber::ui;

std::vector<PieceImage> DrawSkinPieces();
// Cursor pictures 101, 102, 106 and 107 with their hot spots.
std::vector<PieceImage> DrawCursorPictures();

}  // namespace tamber::resgen
