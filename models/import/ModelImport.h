#pragma once
// Importing a model file (LightWave object or 3D Metafile) as the four tags of
// a model, reporting every step to the "Model Import" log channel.
#include <string>

#include "base/Result.h"
#include "models/import/ModelTags.h"
#include "tags/Codex.h"

namespace tamber::models::import {

constexpr const char* kModelImportChannel = "Model Import";
constexpr const char* kUnsupportedModelFormat = "Unsupported model format";

enum class ModelFileType { kUnsupported, kLightWave, kMetafile };

// The type of a model file from its first bytes (the extension is not trusted).
ModelFileType ModelFileTypeOf(const std::string& path);

// The target name an imported file gets: its file name without folder and extension.
std::string ModelTargetName(const std::string& path);

base::Result<ModelTags> ImportLwo(tags::Codex& codex, const std::string& sourcePath, const std::string& targetName,
                                  bool allowOverwrite);
base::Result<ModelTags> Import3DMF(tags::Codex& codex, const std::string& sourcePath, const std::string& targetName,
                                   bool allowOverwrite);
// Picks the route by the file's type; a file of another type fails with
// kUnsupportedModelFormat and changes nothing. An empty name takes ModelTargetName.
base::Result<ModelTags> ImportModelFile(tags::Codex& codex, const std::string& path, const std::string& name,
                                        bool allowOverwrite);

}  // namespace tamber::models::import
