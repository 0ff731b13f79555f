#pragma once
// Builds a model from the meshes of a 3D Metafile.
#include <optional>
#include <string>
#include <vector>

#include "models/3DMFModel.h"
#include "models/Model.h"

namespace tamber::models {

// One material per mesh, named "Pixmap%d" after the mesh's index, with the
// mesh's pixmap as its texture; meshes are appended in order.
Model ModelFromParsedMeshes(std::vector<ParsedMesh>& meshes);

// Reads and parses the file, then converts it. Nothing, with `error` set to
// the reading or parsing message, on failure.
std::optional<Model> ModelFrom3DMF(const std::string& path, std::string& error);

}  // namespace tamber::models
