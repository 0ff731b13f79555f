#pragma once
// The collection (tag group `.256`) holding a model's material textures.
#include "base/Result.h"
#include "collections/Collection.h"
#include "models/Model.h"

namespace tamber::models::import {

// All textures reduced together to one 256-colour table; per material, in
// order, a 16-bit (alpha, index) bitmap named after it and a sequence of one
// frame and one view showing it. A pixel's alpha is the material's alpha image
// when that has the texture's size, else the texture's own alpha. A material
// without a texture gets a small plain grey bitmap. Fails when a texture is
// larger than a bitmap can be.
base::Result<collections::Collection> CollectionFromMaterials(const Model& model);

// The model-side picture of a collection bitmap: RGBA pixels from the palette
// and the bitmap's (alpha, index) pixels; empty when the bitmap is not decoded.
Image TextureFromBitmap(const collections::Bitmap& bitmap, const uint8_t* palette);

}  // namespace tamber::models::import
