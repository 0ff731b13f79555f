#pragma once
// Builds a model from a LightWave object.
#include <string>
#include <vector>

#include "base/Result.h"
#include "models/LwObject.h"
#include "models/Model.h"

namespace tamber::models {

// What a conversion left out: the labels of textures that could not be read
// and the number of polygons that are not surfaces (curves, bones, metaballs,
// or fewer than three corners).
struct LwoConversionNotes {
    std::vector<std::string> unreadTextures;
    size_t skippedPolygons = 0;
};

// Positions and normals are taken with x negated; every surface polygon (faces,
// and subdivision patches as their cage) is triangulated; one material per
// surface in order of first use. A surface's UV image map names the texture
// file, looked up in `textureFolder`: under the relative folders the name
// gives, then by its bare file name. Names that lead out of the folder
// (absolute, drive letters, "..") are only looked up by file name.
Model ModelFromLwObject(const LwObject& object, const std::string& textureFolder,
                        LwoConversionNotes* notes = nullptr);

// Reads a LightWave object file and builds its model with the textures read
// from the object's own folder. Fails with the reader's message when the file
// does not read.
base::Result<Model> ModelFromLwoFile(const std::string& path, LwoConversionNotes* notes = nullptr);

// The file name part of a clip's image name: the text after the last ':', '/'
// or '\'.
std::string ClipFileName(const std::string& imageName);

}  // namespace tamber::models
