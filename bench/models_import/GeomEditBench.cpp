// The geometry viewer turning the 60,000-triangle textured sheet, drawn in the
// UI test driver's offscreen software OpenGL context: frames per second and
// the processor time of a frame. Run from the build's run folder.
//
//   models_viewer_bench [frames]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/models_import/SheetModel.h"
#include "bench/support/BenchFigures.h"
#include "editing/TagEditorRegistry.h"
#include "models/import/Geometry.h"
#include "models/import/ModelTags.h"
#include "models/viewer/GeomEdit.h"
#include "tags/Codex.h"
#include "tests/ui/support/UiTestDriver.h"

using namespace tamber::bench;
using namespace tamber::editing;
using namespace tamber::models::import;
using namespace tamber::models::viewer;
using namespace tamber::tags;

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::max(10, std::atoi(argv[1])) : 60;
    char pattern[] = "/tmp/tamber-geom-bench-XXXXXX";
    if (!::mkdtemp(pattern)) return 1;
    const std::string root = pattern;
    std::filesystem::create_directories(root + "/game/local");
    Codex::Instance().Init(root + "/game/");
    tamber::base::Result<ModelTags> tags = TagsFromModel(Codex::Instance(), Sheet(), "sheet", false);
    SetTagEditorFactory(kGeometryGroup, &GeomEdit::Create);

    UiTestDriver ui;
    if (!tags || !ui.Ready()) {
        std::fprintf(stderr, "no model or no OpenGL: %s\n", tags ? ui.Error().c_str() : tags.error().c_str());
        std::filesystem::remove_all(root);
        return 1;
    }
    int status = 0;
    ui.Run([&](UiTestDriver& ui) {
        const Clock::time_point opening = Clock::now();
        auto* edit = dynamic_cast<GeomEdit*>(OpenTagEditor(tags->geometry));
        if (!edit) {
            status = 1;
            return;
        }
        ui.step();
        const double openMs = MillisecondsSince(opening);
        std::vector<double> frameMs, frameCpu;
        for (int i = 0; i < frames; ++i) {
            edit->Camera().Rotate(4, 1);
            edit->InvalidateClient();
            const Clock::time_point start = Clock::now();
            const double cpu = ProcessCpuMilliseconds();
            ui.step();
            frameMs.push_back(MillisecondsSince(start));
            frameCpu.push_back(ProcessCpuMilliseconds() - cpu);
        }
        const double cpu = Median(frameCpu);
        std::printf("triangles: %zu\n", edit->GetModel().triangles.size());
        PrintFigure("geometry viewer: open 60,000 triangles, first frame", Format("%.0f ms", openMs), "", "note");
        PrintFigure("geometry viewer: turning, wall time a frame", Format("%.1f fps", 1000 / Median(frameMs)), "", "note");
        PrintFigure("geometry viewer: turning, processor time a frame", Format("%.1f ms", cpu), ">= 30 fps (33.3 ms)",
                    Met(cpu <= 1000.0 / 30));
        edit->Close();
        ui.step();
    });
    Codex::Instance().Init("/nonexistent-tamber-folder/");
    std::filesystem::remove_all(root);
    return status;
}
