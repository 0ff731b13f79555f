#pragma once
// The desktop side of the model import: "Import Model" from the File menu and
// model files dropped on the main window. Both import through the windowless
// import and open the new geometry in its viewer.
#include <string>

namespace tamber::models::viewer {

// Asks for a model file ("Import Model") and imports it.
void ImportModelFromFile();
// Imports a model file (LightWave object or 3D Metafile) as tags named after
// it, replacing tags of that name that are not open, and opens the new
// geometry. A file of another type shows "Unsupported model format".
void ImportModelFile(const std::string& path);
// Takes a dropped file when it is a model file (imported as above); false otherwise.
bool OfferDroppedModel(const std::string& path);

}  // namespace tamber::models::viewer
