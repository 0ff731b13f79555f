#pragma once
// Collections built in memory for the tests: every bitmap encoding, sequences
// with and without mirroring, hue changes and second sets of views.
#include <memory>

#include "collections/Collection.h"

using namespace tamber::collections;

std::shared_ptr<Bitmap> MakeTestBitmap(const char* name, int width, int height, uint16_t flags, int seed);
std::unique_ptr<Collection> MakeTestCollection();
