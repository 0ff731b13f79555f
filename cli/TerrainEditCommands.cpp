#include "cli/TerrainEditCommands.h"

#include <cstdio>

#include "cli/TagSource.h"
#include "images/MediaFile.h"
#include "tags/FourCC.h"
#include "tags/TagOperations.h"
#include "terrain/editor/DetailImages.h"
#include "terrain/editor/DetailPainter.h"
#include "terrain/editor/MeshDocument.h"

namespace tamber::cli {
using namespace tamber::images;
using namespace tamber::tags;
using namespace tamber::terrain;
using namespace tamber::terrain::painting;

namespace {

constexpr uint32_t kDetailMapGroup = FourCC("dmap");

// The mesh named on the command line, with its detail map's grids.
struct MeshArguments {
    MeshDocument document;
    DetailPainter painter;
    BrushMode mode = BrushMode::kVertex;
};

Result<MeshArguments> OpenMeshArguments(const CliArgs& args) {
    Codex& codex = Codex::Instance();
    if (Status opened = OpenGameFolder(codex, args.positional[0], ""); !opened) return std::move(opened).TakeError();
    const std::optional<uint32_t> tagid = ParseTagIdArgument(args.positional[1]);
    TagRecord* record = tagid ? codex.FindTag(FourCC("mesh"), *tagid) : nullptr;
    if (!record) return Fail("there is no mesh '" + args.positional[1] + "'");
    const std::string& which = args.positional[2];
    if (which != "vertex" && which != "triangle") return Fail("the detail is 'vertex' or 'triangle', not '" + which + "'");
    Result<MeshDocument> document = OpenMeshDocument(codex, record);
    if (!document) return Fail("the mesh could not be opened: " + document.error());
    MeshArguments result;
    result.mode = which == "vertex" ? BrushMode::kVertex : BrushMode::kTriangle;
    result.document = std::move(*document);
    const Mesh& mesh = result.document.mesh;
    if (result.document.detailMap) {
        if (Status loaded = result.painter.Load(*result.document.detailMap, mesh.width, mesh.height); !loaded)
            return std::move(loaded).TakeError();
    } else {
        result.painter.Create(mesh.width, mesh.height);
    }
    return result;
}

HighlightTable MapColours(const MeshDocument& document) {
    HighlightTable colours{};
    if (!document.detailMap) return colours;
    for (size_t i = 0; i < document.detailMap->materials.size(); ++i) {
        const DetailMaterial& m = document.detailMap->materials[i];
        colours[i * 3] = m.red, colours[i * 3 + 1] = m.green, colours[i * 3 + 2] = m.blue;
    }
    return colours;
}

int RunDetailExport(const CliCommand&, const CliArgs& args) {
    Result<MeshArguments> mesh = OpenMeshArguments(args);
    if (!mesh) return FailExit(mesh.error());
    if (!mesh->document.detailMap) return FailExit("the mesh has no detail map");
    const std::string& path = args.positional[3];
    const size_t slash = path.rfind('/');
    if (Status prepared = PrepareOutputs({path}, slash == std::string::npos ? "" : path.substr(0, slash + 1),
                                         args.Has("--force"));
        !prepared)
        return FailExit(prepared.error());
    MediaFile file(path);
    const Mesh& m = mesh->document.mesh;
    file.image = ExportDetailImage(mesh->painter.Working(mesh->mode), mesh->mode, m.width, m.height, MapColours(mesh->document));
    if (Status saved = SaveImage(file); !saved) return FailExit("Unable to write the image: " + saved.error());
    return kExitOk;
}

int RunDetailImport(const CliCommand&, const CliArgs& args) {
    Result<MeshArguments> mesh = OpenMeshArguments(args);
    if (!mesh) return FailExit(mesh.error());
    MediaFile file(args.positional[3]);
    file.kind = kMediaImage;
    if (Status loaded = LoadImage(file); !loaded) return FailExit("Unable to read the file: " + loaded.error());
    const Mesh& m = mesh->document.mesh;
    Result<DetailImport> imported =
        ImportDetailImage(file.image, mesh->mode, m.width, m.height, PaintValue{}, mesh->painter.Working(mesh->mode));
    if (!imported) return FailExit(imported.error());

    DetailMap map = mesh->painter.MakeMap();
    if (mesh->document.detailMap) map.materials = mesh->document.detailMap->materials;
    const HighlightTable colours = ImportedHighlightColours(file.image);
    for (size_t i = 0; i < map.materials.size(); ++i)
        map.materials[i].red = colours[i * 3], map.materials[i].green = colours[i * 3 + 1], map.materials[i].blue = colours[i * 3 + 2];
    Result<std::vector<uint8_t>> payload = SaveDetailMap(map);
    if (!payload) return FailExit(payload.error());

    Codex& codex = Codex::Instance();
    TagRecord* record = codex.FindTag(kDetailMapGroup, m.colourMap);
    TagHeader header{};
    if (record) {
        header = codex.CurrentEntry(record)->header;
    } else {
        Result<NewTag> created = CreateTag(codex, kDetailMapGroup, m.colourMap, mesh->document.colourMapName, false);
        if (!created) return FailExit(created.error());
        record = created->record, header = created->header;
    }
    header.version = kDetailMapTagVersion;
    // The old tag file, if any, is replaced only once the new one is complete.
    Result<FILE*> out = BeginTagWrite(codex, record, header);
    if (!out) return FailExit("couldn't write the tag to the local folder: " + out.error());
    const bool written = std::fwrite(payload->data(), 1, payload->size(), *out) == payload->size();
    if (Status finished = FinishTagWrite(codex, record, &header, written); !finished)
        return FailExit("couldn't write the tag to the local folder: " + finished.error());
    if (!imported->perfect)
        std::fprintf(stderr, "WARNING: The map wasn't 100%% perfect, so please carefully check the results.\n");
    std::printf("%s\n", record->localEntry->path->c_str());
    return kExitOk;
}

}  // namespace

std::vector<CliCommand> TerrainEditCommands() {
    return {
        {"detail export", "GAMEFOLDER MESH vertex|triangle IMAGE [--force]",
         "write a mesh's detail map as an image",
         "Writes the vertex or triangle detail of the detail map of mesh MESH (a tagid)\n"
         "as an 8-bit paletted image of 8 x 8 pixels a grid point, rows mirrored, with\n"
         "the materials' highlight colours as palette.\n\n"
         "  --force  replace an existing file",
         {{"--force", false}}, 4, 4, RunDetailExport},
        {"detail import", "GAMEFOLDER MESH vertex|triangle IMAGE", "read a mesh's detail map from an image",
         "Reads an image made as by \"detail export\" (8-bit paletted or grey) into the\n"
         "vertex or triangle detail of the detail map of mesh MESH, each grid point or\n"
         "triangle taking the most frequent value of its pixels, and writes the map to\n"
         "the local folder (made when the mesh has none). The image's palette becomes\n"
         "the materials' highlight colours. Blocks that held more than one value are\n"
         "reported with a warning.",
         {}, 4, 4, RunDetailImport},
    };
}

}  // namespace tamber::cli
