#pragma once
// The texture pack: every picture of the interface skin, read from a piece file
// (ui/PieceFile.h), packed into square RGBA pages (pieces may be stored turned by
// 90 degrees) and uploaded as textures with nearest filtering, so a piece drawn at
// its natural size is pixel-exact. Pieces keep file order and are found by id.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ui/PieceFile.h"

namespace tamber::ui {

constexpr uint16_t kPieceStoredRotated = 0x10;

struct Piece {
    uint16_t x = 0;       // place in its page
    uint16_t y = 0;
    uint16_t width = 0;   // natural size, as the caller sees it
    uint16_t height = 0;
    uint16_t flags = 0;   // kPieceStoredRotated: stored transposed in the page
    uint16_t page = 0;
    std::vector<uint8_t> pixels;  // RGBA; freed after upload
    uint32_t id = 0;
    bool opaque = false;  // has pixels, every one with alpha 255
};

struct TexturePack {
    std::vector<Piece> pieces;
    int pageSide = 0;
    std::vector<std::vector<uint8_t>> pagePixels;  // freed after upload
    std::vector<uint32_t> pageTextures;
};

// Packs the pieces into pages of the given side without OpenGL; null when a piece
// is larger than a page. Zero-sized pieces stay in the pack and take no room.
std::unique_ptr<TexturePack> BuildTexturePack(std::vector<PieceImage> images, int pageSide);
// Frees an uploaded pack's page textures with the pack.
struct UploadedPackDeleter {
    void operator()(TexturePack* pack) const;
};
using UploadedPack = std::unique_ptr<TexturePack, UploadedPackDeleter>;

// Uploads the pages and frees the pixel copies.
UploadedPack UploadTexturePack(std::unique_ptr<TexturePack> pack);
// Reads, packs (pageSide 0: AtlasPageSide()) and uploads; null on any failure.
UploadedPack LoadTexturePack(const std::string& path, int pageSide = 0);

const Piece* FindPiece(const TexturePack* pack, uint32_t id);
// The natural size; 0 by 0 for a missing piece.
void GetPieceSize(const Piece* piece, int& width, int& height);

}  // namespace tamber::ui
