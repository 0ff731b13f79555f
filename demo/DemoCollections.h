#pragma once
// Collections of the demo game folder: every bitmap encoding, flags, sequences
// with and without mirroring, hue changes and second sets of views.
#include <cstdint>
#include <string>

#include "demo/DemoGame.h"

namespace tamber::collections { class Collection; }

namespace tamber::demo {
using namespace tamber::collections;

// A `.256` tag holding the collection (version 4, user = the collection flags).
DemoTag MakeCollectionTag(const Collection& collection, const std::string& name, uint32_t tagid);

// Adds two archived collections to the foundation archive and a loose one.
void AddCollectionContent(DemoGame& game);

}  // namespace tamber::demo
