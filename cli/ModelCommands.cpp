#include "cli/ModelCommands.h"

#include <cstdio>

#include "cli/TagSource.h"
#include "models/LwoWriter.h"
#include "models/ModelFrom3DMF.h"
#include "models/ModelFromLwo.h"
#include "models/import/ModelImport.h"
#include "platform/fs/FileSystem.h"
#include "tags/TagOperations.h"

namespace tamber::cli {
using namespace tamber::models;
using namespace tamber::models::import;
using namespace tamber::platform;
using namespace tamber::tags;

namespace {

// A model file read for the commands: the model and what its conversion noted.
struct ModelFile {
    ModelFileType type = ModelFileType::kUnsupported;
    Model model;
    LwoConversionNotes notes;
    std::string warning;
};

Result<ModelFile> ReadModelFile(const std::string& path) {
    ModelFile file;
    file.type = ModelFileTypeOf(path);
    Result<Model> model = Fail(std::string(kUnsupportedModelFormat) + ": not a LightWave object or 3D Metafile");
    if (file.type == ModelFileType::kLightWave) model = ModelFromLwoFile(path, &file.notes);
    if (file.type == ModelFileType::kMetafile) model = ModelFrom3DMF(path, &file.warning);
    if (!model) return Fail(path + ": " + model.error());
    file.model = std::move(*model);
    return file;
}

const char* TextureState(const ModelMaterial& material, const ModelFile& file) {
    if (material.HasTexture()) return file.type == ModelFileType::kMetafile ? "embedded" : "found";
    for (const std::string& label : file.notes.unreadTextures) {
        if (label == material.label) return "not found";
    }
    return "none";
}

int RunModelInfo(const CliCommand&, const CliArgs& args) {
    const Result<ModelFile> file = ReadModelFile(args.positional[0]);
    if (!file) return FailExit(file.error());
    const Model& model = file->model;
    std::printf("format: %s\nvertices: %zu\ntriangles: %zu\nmaterials: %zu\n",
                file->type == ModelFileType::kLightWave ? "LightWave object" : "3D Metafile", model.vertices.size(),
                model.triangles.size(), model.materials.size());
    std::printf("bounds: %g %g %g to %g %g %g\n", double(model.boundsMin[0]), double(model.boundsMin[1]),
                double(model.boundsMin[2]), double(model.boundsMax[0]), double(model.boundsMax[1]),
                double(model.boundsMax[2]));
    if (file->type == ModelFileType::kLightWave) std::printf("skipped polygons: %zu\n", file->notes.skippedPolygons);
    for (size_t i = 0; i < model.materials.size(); ++i) {
        const ModelMaterial& material = model.materials[i];
        std::printf("material %zu\t%s\t%s\t%s\n", i, PrintableText(material.name).c_str(),
                    PrintableText(material.label).c_str(), TextureState(material, *file));
    }
    if (!file->warning.empty()) std::fprintf(stderr, "WARNING: %s\n", file->warning.c_str());
    return kExitOk;
}

int RunModelConvert(const CliCommand&, const CliArgs& args) {
    const Result<ModelFile> file = ReadModelFile(args.positional[0]);
    if (!file) return FailExit(file.error());
    const Model& model = file->model;
    if (model.triangles.empty()) return FailExit(args.positional[0] + ": the file holds no triangles");
    if (!file->warning.empty()) std::fprintf(stderr, "WARNING: %s\n", file->warning.c_str());
    for (const std::string& label : file->notes.unreadTextures)
        std::fprintf(stderr, "WARNING: texture '%s' could not be loaded\n", label.c_str());
    const std::string folder = NormaliseFolderPath(args.positional[1]);
    const std::string baseName = TagFileName(FileStem(args.positional[0]));
    std::vector<std::string> paths = {folder + baseName + ".lwo"};
    for (const std::string& name : LwoImageFileNames(model)) {
        if (!name.empty()) paths.push_back(folder + name);
    }
    if (Status prepared = PrepareOutputs(paths, folder, args.Has("--force")); !prepared)
        return FailExit(prepared.error());
    if (Status written = WriteLwoModel(model, folder, baseName); !written)
        return FailExit("couldn't write '" + paths[0] + "': " + written.error());
    for (const std::string& path : paths) {
        if (GetFileStatus(path).exists) std::printf("%s\n", path.c_str());
    }
    return kExitOk;
}

int RunModelImport(const CliCommand&, const CliArgs& args) {
    const std::string& path = args.positional[0];
    if (ModelFileTypeOf(path) == ModelFileType::kUnsupported)
        return FailExit(path + ": " + kUnsupportedModelFormat);
    Codex& codex = Codex::Instance();
    if (Status opened = OpenGameFolder(codex, args.positional[1], ""); !opened) return FailExit(opened.error());
    const Result<ModelTags> tags = ImportModelFile(codex, path, args.Value("--name"), args.Has("--force"));
    if (!tags) return FailExit(path + ": the import failed (the log above says why)");
    for (const TagRecord* record : {tags->geometry, tags->collection, tags->reference, tags->model}) {
        std::printf("%s\t%s\t%s\n", TagIdText(record->group).c_str(), TagIdText(record->tagid).c_str(),
                    record->localEntry ? record->localEntry->path->c_str() : "");
    }
    return kExitOk;
}

}  // namespace

std::vector<CliCommand> ModelCommands() {
    return {
        {"model info", "FILE", "describe a LightWave object or 3D Metafile",
         "Prints the model's format, vertex, triangle and material counts (after\n"
         "polygons are split into triangles) and its bounding box, then one line per\n"
         "material: number, name, texture label, and whether the texture was found.",
         {}, 1, 1, RunModelInfo},
        {"model convert", "FILE DESTFOLDER [--force]", "convert a model file to a LightWave object",
         "Reads a 3D Metafile or LightWave object and writes DESTFOLDER/<file name>.lwo\n"
         "and one PNG per textured material, and prints each file written.\n\n"
         "  --force  replace existing files",
         {{"--force", false}}, 2, 2, RunModelConvert},
        {"model import", "FILE GAMEFOLDER [--name N] [--force]", "make the four tags of a model from a model file",
         "Imports a LightWave object or 3D Metafile as loose geom, .256, core and mode\n"
         "tags in the game folder's local folder, named after the file (or N), and\n"
         "prints each tag's group, tagid and path. The import log goes to standard\n"
         "error. Nothing is left behind when the import fails.\n\n"
         "  --name N  the tags' name\n"
         "  --force   replace tags of the same name",
         {{"--name", true}, {"--force", false}}, 2, 2, RunModelImport},
    };
}

}  // namespace tamber::cli
