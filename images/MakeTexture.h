#pragma once
// Uploading a loaded picture as an OpenGL texture. Kept apart from the rest of the
// image library so that everything else builds without OpenGL.
#include <cstdint>

#include "base/Result.h"

namespace tamber::images {

struct MediaFile;

// Loads the picture with its transparency applied and uploads it with linear
// filtering; paletted pictures are expanded through their palette first. Gives
// the texture name. Needs a current OpenGL context.
base::Result<uint32_t> MakeTexture(MediaFile& file);

}  // namespace tamber::images
