#pragma once
// Uploading a loaded picture as an OpenGL texture. Kept apart from the rest of the
// image library so that everything else builds without OpenGL.
#include <cstdint>

namespace tamber::images {

class MediaFile;

// Loads the picture and uploads it with linear filtering; paletted pictures are
// expanded through their palette first. Returns the texture name, 0 on failure.
// Needs a current OpenGL context.
uint32_t MakeTexture(MediaFile& file);

}  // namespace tamber::images
