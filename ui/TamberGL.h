#pragma once
// The OpenGL layer's set-up: the entry points looked up by name and the capability
// flags, computed once by TamberGL_Init (which needs the current context) and cached.
#include <cstdint>
#include <vector>

namespace tamber::ui {

void TamberGL_Init();

bool HasNonPowerOfTwoTextures();
bool HasAnisotropicFiltering();
// The renderer's vendor string contains "Intel" (the window system passes scissor
// rectangles to the swap-hint entry point there).
bool HasIntelVendor();

using GLMultiTexCoord2fProc = void (*)(unsigned target, float s, float t);
using GLActiveTextureProc = void (*)(unsigned texture);
using GLAddSwapHintRectProc = void (*)(int x, int y, int width, int height);
// Null when the implementation lacks them (the swap hint is always absent here).
GLMultiTexCoord2fProc GetMultiTexCoord2f();
GLActiveTextureProc GetActiveTexture();
GLAddSwapHintRectProc GetAddSwapHintRect();

// Side of the square atlas pages: the smaller of the maximum texture size and 1024.
int AtlasPageSide();
// Uploads square pages (4 bytes RGBA with nearest filtering, or 1 byte alpha with
// linear filtering), clamped at the edges; returns the texture names in order.
std::vector<uint32_t> UploadAtlasPages(const std::vector<std::vector<uint8_t>>& pages, int side, bool alphaOnly);
void DeleteTextures(std::vector<uint32_t>& textures);

}  // namespace tamber::ui
