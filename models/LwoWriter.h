#pragma once
// Writes a model as an LWO2 LightWave object with one PNG image per textured material.
#include <string>
#include <vector>

#include "base/Result.h"
#include "models/Model.h"

namespace tamber::models {

// Writes "folder/baseName.lwo" and, beside it, "<material name>.png" for every
// material with a texture (names made safe as file names, and unique). The
// textures are written first; when one cannot be, the object file is not
// written and the failure names the texture. Also fails when the object file
// cannot be written or the model cannot be expressed in LWO2.
base::Status WriteLwoModel(const Model& model, const std::string& folder, const std::string& baseName);
// The image file names WriteLwoModel gives the materials' textures, by material
// index ("" for a material without a texture).
std::vector<std::string> LwoImageFileNames(const Model& model);

}  // namespace tamber::models
