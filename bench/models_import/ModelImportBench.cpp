// Importing a 60,000-triangle textured model: a subdivided, rippled sheet with
// a 512 x 512 texture, written with the LightWave writer, then read, converted,
// reduced to one colour table and written as the four tags. Prints each step's
// time (this thread's processor time). Usage: models_import_bench [FOLDER]
#include <cstdio>
#include <filesystem>
#include <string>

#include "bench/models_import/SheetModel.h"
#include "bench/support/BenchFigures.h"
#include "collections/CollectionFile.h"
#include "models/LwObject.h"
#include "models/LwoWriter.h"
#include "models/ModelFromLwo.h"
#include "models/import/GeometryFromModel.h"
#include "models/import/ModelTags.h"
#include "models/import/TextureCollection.h"
#include "tags/Codex.h"

using namespace tamber::bench;
using namespace tamber::models;
using namespace tamber::models::import;

namespace {

template <typename Work>
double TimeMs(Work work) {
    const double start = ThreadCpuSeconds();
    work();
    return (ThreadCpuSeconds() - start) * 1e3;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : (std::filesystem::temp_directory_path() / "tamber-model-bench").string();
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder + "/game/local");
    if (!WriteLwoModel(Sheet(), folder, "sheet")) {
        std::fprintf(stderr, "couldn't write the model\n");
        return 1;
    }
    tamber::tags::Codex codex;
    codex.Init(folder + "/game");

    tamber::base::Result<LwObject> object = tamber::base::Fail("not read");
    Model model;
    tamber::base::Result<tamber::collections::Collection> collection = tamber::base::Fail("not made");
    tamber::base::Result<ModelTags> tags = tamber::base::Fail("not made");
    const double read = TimeMs([&] { object = ReadLwObjectFile(folder + "/sheet.lwo"); });
    const double convert = TimeMs([&] { model = ModelFromLwObject(*object, folder); });
    const double geometry = TimeMs([&] { (void)GeometryFromModel(model); });
    const double reduce = TimeMs([&] { collection = CollectionFromMaterials(model); });
    const double whole = TimeMs([&] { tags = TagsFromModel(codex, model, "sheet", true); });
    if (!object || !collection || !tags) {
        std::fprintf(stderr, "the import failed\n");
        return 1;
    }
    std::printf("triangles: %zu, vertices: %zu\n", model.triangles.size(), model.vertices.size());
    PrintFigure("LWO read", Format("%.0f ms", read), "", "note");
    PrintFigure("conversion to a model", Format("%.0f ms", convert), "", "note");
    PrintFigure("geometry in game units", Format("%.0f ms", geometry), "", "note");
    PrintFigure("palette reduction", Format("%.0f ms", reduce), "", "note");
    PrintFigure("the four tags (reduction and writes included)", Format("%.0f ms", whole), "", "note");
    const double total = read + convert + whole;
    PrintFigure("import in all", Format("%.0f ms", total), "under 2000 ms", Met(total < 2000));
    std::filesystem::remove_all(folder);
    return 0;
}
