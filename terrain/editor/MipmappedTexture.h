#pragma once
// Fills an OpenGL texture with RGB pixels and its mipmaps: distant ground samples
// few texels from the small levels, which software rendering needs to keep up.
// The levels are made on the processor, much faster than software OpenGL makes them.
#include <cstdint>

namespace tamber::terrain::editor {

// Binds `texture` and loads width x height RGB pixels (rows without padding),
// repeating or clamped at the edges; false when OpenGL reported an error.
[[nodiscard]] bool LoadMipmappedRgb(uint32_t texture, int width, int height, const uint8_t* rgb, bool repeat);

}  // namespace tamber::terrain::editor
