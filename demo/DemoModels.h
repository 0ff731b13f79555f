#pragma once
// Model files for the model import: a 3D Metafile of two textured meshes and
// the same model as a LightWave object with its PNG textures. They are plain
// files, not tags, so they go into a folder of their own.
#include <string>

#include "base/Result.h"

namespace tamber::demo {

// Writes "demo crate.3dmf", "demo crate.lwo" and the object's textures into
// `folder` (which must exist).
base::Status WriteDemoModelFiles(const std::string& folder);

}  // namespace tamber::demo
