#include "ui/TexturePack.h"

#include "ui/Atlas.h"
#include "ui/TamberGL.h"

namespace tamber::ui {

namespace {

bool IsOpaque(const std::vector<uint8_t>& rgba) {
    if (rgba.empty()) return false;
    for (size_t i = 3; i < rgba.size(); i += 4)
        if (rgba[i] != 255) return false;
    return true;
}

}  // namespace

std::unique_ptr<TexturePack> BuildTexturePack(std::vector<PieceImage> images, int pageSide) {
    std::vector<AtlasImage> atlasImages;
    atlasImages.reserve(images.size());
    for (const PieceImage& image : images)
        atlasImages.push_back(AtlasImage{image.width, image.height, image.rgba.data()});
    auto atlas = BuildAtlas(atlasImages, pageSide, 4);
    if (!atlas)
        return nullptr;
    auto pack = std::make_unique<TexturePack>();
    pack->pageSide = pageSide;
    pack->pieces.resize(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        Piece& piece = pack->pieces[i];
        const PackPlacement& at = atlas->placements[i];
        piece.id = images[i].id;
        piece.width = images[i].width;
        piece.height = images[i].height;
        piece.x = uint16_t(at.x);
        piece.y = uint16_t(at.y);
        piece.page = uint16_t(at.page);
        piece.flags = at.rotated ? kPieceStoredRotated : 0;
        piece.pixels = std::move(images[i].rgba);
        piece.opaque = IsOpaque(piece.pixels);
    }
    pack->pagePixels = std::move(atlas->pages);
    return pack;
}

UploadedPack UploadTexturePack(std::unique_ptr<TexturePack> pack) {
    if (!pack)
        return nullptr;
    pack->pageTextures = UploadAtlasPages(pack->pagePixels, pack->pageSide, false);
    pack->pagePixels.clear();
    pack->pagePixels.shrink_to_fit();
    for (Piece& piece : pack->pieces) {
        piece.pixels.clear();
        piece.pixels.shrink_to_fit();
    }
    return UploadedPack(pack.release());
}

UploadedPack LoadTexturePack(const std::string& path, int pageSide) {
    auto images = ReadPieceFile(path);
    if (!images)
        return nullptr;
    return UploadTexturePack(BuildTexturePack(std::move(*images), pageSide > 0 ? pageSide : AtlasPageSide()));
}

void UploadedPackDeleter::operator()(TexturePack* pack) const {
    DeleteTextures(pack->pageTextures);
    std::default_delete<TexturePack>()(pack);
}

const Piece* FindPiece(const TexturePack* pack, uint32_t id) {
    if (!pack)
        return nullptr;
    for (const Piece& piece : pack->pieces)
        if (piece.id == id)
            return &piece;
    return nullptr;
}

void GetPieceSize(const Piece* piece, int& width, int& height) {
    width = piece ? piece->width : 0;
    height = piece ? piece->height : 0;
}

}  // namespace tamber::ui
