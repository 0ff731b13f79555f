#include "models/import/ModelImport.h"

#include "base/MessageLog.h"
#include "images/MediaFile.h"
#include "models/ModelFrom3DMF.h"
#include "models/ModelFromLwo.h"

namespace tamber::models::import {
using namespace tamber::base;
using namespace tamber::images;
using namespace tamber::tags;

namespace {

constexpr int kInfo = 0;
constexpr int kError = 2;

template <typename... Values>
void Log(int level, const char* format, Values... values) {
    LogMessage(level, kModelImportChannel, format, values...);
}

// Makes the tags and logs how it ended; `route` names the conversion in the
// failure line.
Result<ModelTags> FinishImport(Codex& codex, const Model& model, const std::string& name, bool allowOverwrite,
                               const char* route) {
    Result<ModelTags> tags = TagsFromModel(codex, model, name, allowOverwrite);
    if (!tags) {
        Log(kError, "%s\n", tags.error().c_str());
        Log(kError,
            "%s -> Model conversion failed. If the target model is already open in Tamber or another app, please "
            "close it first.\n",
            route);
        Log(kError, "Import Failed.\n\n");
        return tags;
    }
    Log(kInfo, "Import Successful.\n\n");
    return tags;
}

Error Failed(const std::string& reason) {
    Log(kError, "Import Failed.\n\n");
    return Fail(reason);
}

}  // namespace

ModelFileType ModelFileTypeOf(const std::string& path) {
    MediaFile file(path);
    file.kind = kMediaModel;
    if (!Identify(file)) return ModelFileType::kUnsupported;
    return file.format == kFormatLightWave ? ModelFileType::kLightWave : ModelFileType::kMetafile;
}

std::string ModelTargetName(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0) name.resize(dot);
    return name;
}

Result<ModelTags> ImportLwo(Codex& codex, const std::string& sourcePath, const std::string& targetName,
                            bool allowOverwrite) {
    Log(kInfo, "Beginning import of '%s' ...\n", sourcePath.c_str());
    LwoConversionNotes notes;
    Result<Model> model = ModelFromLwoFile(sourcePath, &notes);
    if (!model) {
        Log(kError, "LWO reading failed: %s\n", model.error().c_str());
        return Failed(model.error());
    }
    for (const std::string& label : notes.unreadTextures) Log(kError, "Texture '%s' could not be loaded.\n", label.c_str());
    if (notes.skippedPolygons > 0)
        Log(kInfo, "Skipped %zu polygon%s that %s not surfaces (curves, bones and the like).\n", notes.skippedPolygons,
            notes.skippedPolygons == 1 ? "" : "s", notes.skippedPolygons == 1 ? "is" : "are");
    return FinishImport(codex, *model, targetName, allowOverwrite, "LWO");
}

Result<ModelTags> Import3DMF(Codex& codex, const std::string& sourcePath, const std::string& targetName,
                             bool allowOverwrite) {
    Log(kInfo, "Beginning import of '%s' ...\n", sourcePath.c_str());
    std::string warning;
    Result<Model> model = ModelFrom3DMF(sourcePath, &warning);
    if (!model) {
        Log(kError, "3dmf parsing failed: %s\n", model.error().c_str());
        return Failed(model.error());
    }
    if (!warning.empty()) Log(kInfo, "%s\n", warning.c_str());
    return FinishImport(codex, *model, targetName, allowOverwrite, "3DMF");
}

Result<ModelTags> ImportModelFile(Codex& codex, const std::string& path, const std::string& name,
                                  bool allowOverwrite) {
    const std::string target = name.empty() ? ModelTargetName(path) : name;
    switch (ModelFileTypeOf(path)) {
    case ModelFileType::kLightWave:
        return ImportLwo(codex, path, target, allowOverwrite);
    case ModelFileType::kMetafile:
        return Import3DMF(codex, path, target, allowOverwrite);
    case ModelFileType::kUnsupported:
        break;
    }
    return Fail(kUnsupportedModelFormat);
}

}  // namespace tamber::models::import
