#include "models/import/TextureCollection.h"

#include <algorithm>
#include <limits>

#include "images/PaletteReducer.h"

namespace tamber::models::import {
using namespace tamber::base;
using namespace tamber::collections;
using namespace tamber::images;

namespace {

constexpr int32_t kPlainSize = 8;
constexpr uint8_t kPlainGrey = 192;
constexpr int32_t kMaxBitmapSide = std::numeric_limits<int16_t>::max();

// The RGBA picture a material contributes: its texture, or plain grey.
Image MaterialPicture(const ModelMaterial& material) {
    if (material.HasTexture() && material.texture.format == kPixelRGBA) return material.texture;
    Image plain;
    [[maybe_unused]] const bool made = CreateImage(plain, kPlainSize, kPlainSize, kPixelRGBA);
    for (size_t i = 0; i < plain.pixels.size(); i += 4) {
        std::fill_n(&plain.pixels[i], 3, kPlainGrey);
        plain.pixels[i + 3] = 255;
    }
    return plain;
}

// The pictures stacked into one image as wide as the widest, each row of a
// narrower one carried on with its last pixel, so that one reduction gives
// one colour table for all.
Image Stack(const std::vector<Image>& pictures) {
    int32_t width = 0;
    int64_t height = 0;
    for (const Image& picture : pictures) {
        width = std::max(width, picture.width);
        height += picture.height;
    }
    Image sheet;
    if (height > std::numeric_limits<int32_t>::max() || !CreateImage(sheet, width, int32_t(height), kPixelRGBA))
        return {};
    size_t row = 0;
    for (const Image& picture : pictures) {
        for (int32_t y = 0; y < picture.height; ++y, ++row) {
            uint8_t* out = &sheet.pixels[row * size_t(width) * 4];
            const uint8_t* in = &picture.pixels[size_t(y) * size_t(picture.width) * 4];
            std::copy_n(in, size_t(picture.width) * 4, out);
            for (int32_t x = picture.width; x < width; ++x) std::copy_n(in + size_t(picture.width - 1) * 4, 4, out + size_t(x) * 4);
        }
    }
    return sheet;
}

Sequence SingleFrame(const std::string& name, const std::shared_ptr<Bitmap>& bitmap) {
    Sequence sequence;
    sequence.name = name;
    sequence.header.viewCount = 1;
    Frame& frame = sequence.frames.emplace_back();
    View& view = frame.views.emplace_back();
    view.sets[0].bitmap = bitmap;
    sequence.Complete();
    return sequence;
}

}  // namespace

Result<Collection> CollectionFromMaterials(const Model& model) {
    std::vector<Image> pictures;
    pictures.reserve(model.materials.size());
    for (const ModelMaterial& material : model.materials) {
        pictures.push_back(MaterialPicture(material));
        const Image& picture = pictures.back();
        if (picture.width > kMaxBitmapSide || picture.height > kMaxBitmapSide)
            return Fail("The texture of material '" + material.name + "' is " + std::to_string(picture.width) + " x " +
                        std::to_string(picture.height) + " pixels, larger than the " +
                        std::to_string(kMaxBitmapSide) + " pixels a bitmap side can hold.");
    }
    Collection collection;
    collection.flags = kCollectionTextures;
    Image sheet = Stack(pictures);
    if (!pictures.empty()) {
        if (!ReducePalette(sheet, kPixelPalettedAlpha)) return Fail("The textures could not be reduced to 256 colours.");
        std::copy_n(sheet.palette.begin(), std::min(sheet.palette.size(), collection.palette.size()),
                    collection.palette.begin());
    }
    size_t row = 0;
    for (size_t i = 0; i < pictures.size(); ++i) {
        const Image& picture = pictures[i];
        const ModelMaterial& material = model.materials[i];
        const bool ownAlpha = material.alpha.width == picture.width && material.alpha.height == picture.height &&
                              material.alpha.pixels.size() == picture.PixelCount() * BytesPerPixel(material.alpha.format);
        const size_t alphaStride = ownAlpha ? BytesPerPixel(material.alpha.format) : 0;
        auto bitmap = std::make_shared<Bitmap>();
        bitmap->name = material.name.substr(0, 63);
        bitmap->width = int16_t(picture.width);
        bitmap->height = int16_t(picture.height);
        bitmap->flags = kBitmap16Bit;
        bitmap->pixels.resize(picture.PixelCount() * kPalettedPixelBytes);
        for (int32_t y = 0; y < picture.height; ++y, ++row) {
            for (int32_t x = 0; x < picture.width; ++x) {
                const size_t at = size_t(y) * size_t(picture.width) + size_t(x);
                const uint8_t* sheetPixel = &sheet.pixels[(row * size_t(sheet.width) + size_t(x)) * 2];
                // An alpha image's last byte per pixel is its alpha (or its grey level).
                bitmap->pixels[at * 2] =
                    ownAlpha ? material.alpha.pixels[at * alphaStride + alphaStride - 1] : sheetPixel[0];
                bitmap->pixels[at * 2 + 1] = sheetPixel[1];
            }
        }
        if (Status encoded = bitmap->Encode(); !encoded)
            return Fail("The texture of material '" + material.name + "' could not be stored: " + encoded.error());
        collection.bitmaps.push_back(bitmap);
        collection.sequences.push_back(SingleFrame(bitmap->name, bitmap));
    }
    return collection;
}

Image TextureFromBitmap(const Bitmap& bitmap, const uint8_t* palette) {
    Image texture;
    if (bitmap.IsHighColour() || bitmap.pixels.size() != bitmap.PixelCount() * kPalettedPixelBytes ||
        !CreateImage(texture, bitmap.width, bitmap.height, kPixelRGBA))
        return {};
    for (size_t i = 0; i < bitmap.PixelCount(); ++i) {
        std::copy_n(palette + size_t(bitmap.pixels[i * 2 + 1]) * 3, 3, &texture.pixels[i * 4]);
        texture.pixels[i * 4 + 3] = bitmap.pixels[i * 2];
    }
    return texture;
}

}  // namespace tamber::models::import
