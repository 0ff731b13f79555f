#pragma once
// Sounds of the demo game folder: `soun` tags of mono and stereo permutations,
// a sound of several permutations and one with a permutation of no packets.
#include "demo/DemoGame.h"

namespace tamber::demo {

void AddSoundContent(DemoGame& game);

}  // namespace tamber::demo
