#pragma once
// The tags of a detail-texture add-on: every detail map with a loose copy and
// every detail texture those maps use.
#include "tags/AddonBuilder.h"

namespace tamber::terrain {
using namespace tamber::tags;

// The loose detail maps, then the detail textures their cells use in ascending
// tagid order; or the message that stops the build (a map that cannot be read, a
// texture that does not exist, no map at all).
AddonTags GatherDtexAddonTags(Codex& codex);

}  // namespace tamber::terrain
