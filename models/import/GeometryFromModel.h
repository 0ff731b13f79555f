#pragma once
// Turns a model into a geometry in game units, refusing what the format cannot hold.
#include "base/Result.h"
#include "models/Model.h"
#include "models/import/Geometry.h"

namespace tamber::models::import {

// Game x = -512 x model x, game y = 512 x model z, game z = 512 x model y,
// rounded. Material i uses sequence i of the collection. Fails, naming every
// limit passed and by how much, when the model has more vertices, triangles
// or materials than 16-bit counts hold, coordinates outside signed 16 bits,
// or no triangles at all.
base::Result<Geometry> GeometryFromModel(const Model& model);

// Model coordinates of a game-unit position (the inverse of the mapping above).
void ModelPosition(const std::array<int16_t, 3>& game, float (&position)[3]);

}  // namespace tamber::models::import
