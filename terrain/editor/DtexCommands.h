#pragma once
// The program-level ways to make a detail texture: from an image file, from the
// clipboard, and from an image dropped onto the main window.
#include <string>

#include "editing/TagEdit.h"
#include "terrain/DetailTexture.h"

namespace tamber::terrain::editor {
using namespace tamber::editing;

// Creates (asking before replacing one) and saves a `dtex` tag with the texture,
// then opens it; none when refused or failed (reported in an "Error" box).
TagEdit* CreateDetailTextureTag(const std::string& name, const DetailTexture& texture);
// The root menu's "New Detail Texture From Image File": named after the file.
void NewDetailTextureFromImageFile();
// The root menu's "New Detail Texture From Clipboard": asks for the name.
void NewDetailTextureFromClipboard();
// A file dropped on the main window: when it is an RGB image with power-of-two
// sides, offers to make it a new detail texture and returns true.
bool OfferDroppedDetailTexture(const std::string& path);

}  // namespace tamber::terrain::editor
