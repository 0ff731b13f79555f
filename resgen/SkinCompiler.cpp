// Writes the interface skin (res/texturepack) and the cursor pictures (res/cursors).
// Usage: resgen_skin TEXTUREPACK CURSORS
#include <cstdio>

#include "resgen/SkinPictures.h"

using namespace tamber::resgen;

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s TEXTUREPACK CURSORS\n", argv[0]);
        return 2;
    }
    if (!WritePieceFile(argv[1], DrawSkinPieces()) || !WritePieceFile(argv[2], DrawCursorPictures())) {
        std::fprintf(stderr, "cannot write the skin files\n");
        return 1;
    }
    return 0;
}
