#pragma once
// Textures of a collection's bitmaps for drawing, made on first use and kept
// until the bitmap leaves the collection or the palette changes.
#include <cstdint>
#include <memory>
#include <unordered_map>

#include "collections/Collection.h"
#include "ui/Rect.h"

namespace tamber::collections::editor {

class BitmapPictures {
public:
    BitmapPictures() = default;
    BitmapPictures(const BitmapPictures&) = delete;
    BitmapPictures& operator=(const BitmapPictures&) = delete;
    ~BitmapPictures();

    // Draws the bitmap into `area` at `zoom` (0: as large as fits, never enlarged),
    // centred, over a chequered background. Needs the current OpenGL context.
    void Draw(const Collection& collection, const std::shared_ptr<Bitmap>& bitmap, const ui::Rect& area, double zoom);
    // Forgets every texture (the palette changed), or those of bitmaps no longer listed.
    void Clear();
    void Prune(const Collection& collection);
    // The bitmap as an RGBA texture (nearest filtering when enlarged), kept until the
    // bitmap goes or Clear.
    uint32_t TextureOf(const Collection& collection, const std::shared_ptr<Bitmap>& bitmap);

private:
    struct Entry {
        std::weak_ptr<Bitmap> bitmap;  // a freed bitmap's address may be reused
        uint32_t texture = 0;
    };
    // A chequered background of 8-pixel squares, from one repeating texture.
    void DrawChequer(const ui::Rect& area);

    std::unordered_map<const Bitmap*, Entry> entries_;
    uint32_t chequer_ = 0;
};

}  // namespace tamber::collections::editor
