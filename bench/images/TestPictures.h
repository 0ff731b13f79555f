#pragma once
// Deterministic test pictures for the palette benchmark: photograph-like renders
// (shaded objects, soft gradients, texture and sensor-like noise) and sprites
// with antialiased alpha edges.
#include <string>
#include <vector>

#include "images/Image.h"

using namespace tamber::images;

struct TestPicture {
    std::string name;
    Image image;  // RGBA
};

std::vector<TestPicture> MakeTestPictures();
