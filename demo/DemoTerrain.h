#pragma once
// Terrain of the demo game folder: a 2 x 2-block mesh (version 11) with its
// colour-map collection and media, an old version-10 mesh, detail maps of both
// versions and the detail textures they use, one of which is missing.
#include "demo/DemoGame.h"

namespace tamber::demo {

void AddTerrainContent(DemoGame& game);

}  // namespace tamber::demo
