#pragma once
// Shadows projected from the sprites themselves, for every frame of every
// sequence (run when a collection is opened with Ctrl held).
#include <string>

#include "collections/Collection.h"

namespace tamber::collections {

constexpr uint16_t kShadowBitmapFlag = 0x80;  // the bitmap is a shadow

// 1.6 for the two collections whose creatures are drawn smaller than the shadow
// they should cast, 1.0 for every other collection.
double ShadowScaleFor(const std::string& collectionName);

// Gives every frame whose fourth view shows a bitmap a new shadow projected from
// that bitmap (frames showing the same bitmap share one shadow). Shadows are
// 16-bit RLE bitmaps added to the collection, named "<sequence> shadow <frame>".
// `scale` is kept within 0.1 to 10. Returns the number of shadows made.
int GenerateShadows(Collection& collection, double scale);

}  // namespace tamber::collections
