#pragma once
// Builds a model from the meshes of a 3D Metafile.
#include <string>
#include <vector>

#include "base/Result.h"
#include "models/3DMFModel.h"
#include "models/Model.h"

namespace tamber::models {

// One material per mesh, named "Pixmap%d" after the mesh's index, with the
// mesh's pixmap as its texture; meshes are appended in order.
Model ModelFromParsedMeshes(std::vector<ParsedMesh>& meshes);

// Reads and parses the file, then converts it. Fails with the reading or
// parsing message, or when the file holds no mesh. A message the parser
// recorded while reading on goes to `warning` when given.
base::Result<Model> ModelFrom3DMF(const std::string& path, std::string* warning = nullptr);

}  // namespace tamber::models
