// The mesh editor on a 256 x 256-point mesh (8 x 8 chunks) with a full detail map
// and all 127 materials textured, drawn in the offscreen software OpenGL context:
// the time to open the editor, frames per second while flying with detail
// textures and highlighting on (and, for comparison, with only the plain coloured
// ground: what software OpenGL allows at this window size), the time from a brush
// move to the frame that shows it, and a flood fill of the whole map. Run from the
// build's run folder.
//
//   terrain_editor_mesh_bench [frames]
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>

#include "bench/support/BenchFigures.h"
#include "demo/DemoCollections.h"
#include "demo/DemoGame.h"
#include "editing/TagEditorRegistry.h"
#include "tags/Codex.h"
#include "terrain/DetailTexture.h"
#include "terrain/editor/MeshEdit.h"
#include "tests/ui/support/UiTestDriver.h"

using namespace tamber::bench;
using namespace tamber::collections;
using namespace tamber::demo;
using namespace tamber::editing;
using namespace tamber::tags;
using namespace tamber::terrain;
using namespace tamber::terrain::editor;
using namespace tamber::terrain::painting;

namespace {

// Processor time of the whole process (software OpenGL's threads included): on a
// loaded machine it tells slow frames from frames the machine did not schedule.
double CpuMilliseconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

constexpr int kBlocks = 8, kSide = kBlocks * kMeshBlockCells;

DemoTag Tag(uint32_t group, const std::string& name, uint32_t tagid, std::vector<uint8_t> data, uint16_t version) {
    DemoTag tag;
    tag.group = group, tag.name = name, tag.tagid = tagid, tag.data = std::move(data), tag.version = version;
    return tag;
}

uint32_t TextureId(int material) { return FourCC("t000") + uint32_t(material / 100) * 65536 + uint32_t(material / 10 % 10) * 256 + uint32_t(material % 10); }

bool WriteGame(const std::string& folder) {
    DemoGame game;
    DemoArchive& archive = game.ArchiveNamed("foundation.dng");
    Mesh mesh;
    mesh.colourMap = FourCC("big "), mesh.media = FourCC("none");
    mesh.blocksWide = mesh.blocksHigh = kBlocks;
    mesh.width = mesh.height = kSide;
    mesh.shading = {96, 160, {65535, 60000, 30000}, 0x8000};
    for (int z = 0; z < kSide; ++z)
        for (int x = 0; x < kSide; ++x) {
            MeshCell cell;
            cell.height = int16_t(1500 * std::sin(x * 0.05) * std::cos(z * 0.04));
            cell.flags = uint16_t(((x / 7 + z / 5) % 12) << 4 | (x + z) % 12);
            mesh.cells.push_back(cell);
        }
    archive.tags.push_back(Tag(FourCC("mesh"), "big mesh", FourCC("big "), SaveMesh(mesh), kMeshTagVersion));

    Collection colours;
    colours.flags = kCollectionColourMap;
    for (int i = 0; i < 256; ++i)
        colours.palette[size_t(i) * 3] = uint8_t(i), colours.palette[size_t(i) * 3 + 1] = uint8_t(200 - i / 2),
        colours.palette[size_t(i) * 3 + 2] = uint8_t(i / 3);
    for (int block = 0; block < kBlocks * kBlocks; ++block)
        for (int layer = 0; layer < 2; ++layer) {
            auto bitmap = std::make_shared<Bitmap>();
            bitmap->width = bitmap->height = 256;
            bitmap->pixels.resize(256 * 256 * 2);
            for (size_t i = 0; i < 256 * 256; ++i)
                bitmap->pixels[i * 2] = 255, bitmap->pixels[i * 2 + 1] = uint8_t(layer ? 128 : (i * 7 + size_t(block)) % 251);
            if (!bitmap->Encode()) return false;
            colours.bitmaps.push_back(bitmap);
        }
    archive.tags.push_back(MakeCollectionTag(colours, "big colour map", FourCC("big ")));

    DetailMap map = CreateDetailMap(kSide, kSide);
    for (int m = 1; m < kDetailMaterialCount; ++m) {
        DetailTexture texture;
        texture.width = texture.height = 64;
        for (int i = 0; i < 64 * 64; ++i)
            for (int c = 0; c < 3; ++c) texture.pixels.push_back(uint8_t(96 + (i * (c + 3) + m * 17) % 64));
        Result<std::vector<uint8_t>> payload = WriteDetailTexture(texture);
        if (!payload) return false;
        archive.tags.push_back(Tag(FourCC("dtex"), "texture " + std::to_string(m), TextureId(m), *payload, 1));
        map.materials[size_t(m)].tagid = TextureId(m);
        map.materials[size_t(m)].scaleMinusOne = 63;
    }
    // Patches of vertex details (two or three layers where they meet) and some triangle details.
    for (int z = 0; z < kSide; ++z)
        for (int x = 0; x < kSide; ++x) {
            map.vertex[size_t(z * kSide + x)] = uint8_t(1 + (x / 6 * 7 + z / 5 * 3) % 127);
            if ((x * 13 + z * 7) % 17 == 0) map.triangle[size_t(z * kSide + x) * 2] = uint8_t(1 + (x + z) % 127);
        }
    Result<std::vector<uint8_t>> details = SaveDetailMap(map);
    if (!details) return false;
    archive.tags.push_back(Tag(FourCC("dmap"), "big details", FourCC("big "), *details, kDetailMapTagVersion));
    return bool(game.Write(folder));
}

}  // namespace

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::max(10, std::atoi(argv[1])) : 120;
    char pattern[] = "/tmp/tamber-mesh-bench-XXXXXX";
    const std::string root = ::mkdtemp(pattern);
    if (!WriteGame(root + "/game")) {
        std::fprintf(stderr, "couldn't write the game folder\n");
        return 1;
    }
    Codex::Instance().Init(root + "/game/");
    SetTagEditorFactory(FourCC("mesh"), &MeshEdit::Create);
    TagRecord* record = Codex::Instance().FindTag(FourCC("mesh"), FourCC("big "));

    UiTestDriver ui;
    if (!record || !ui.Ready()) {
        std::fprintf(stderr, "no mesh or no OpenGL: %s\n", ui.Error().c_str());
        return 1;
    }
    int status = 0;
    ui.Run([&](UiTestDriver& ui) {
        const Clock::time_point opening = Clock::now();
        auto* edit = dynamic_cast<MeshEdit*>(OpenTagEditor(record));
        if (!edit) {
            status = 1;
            return;
        }
        edit->SetFrameXYWH(0, 0, 1024, 740);
        ui.step();
        const double openMs = MillisecondsSince(opening);

        // Flying over the map with details and the terrain-type tint on, then again
        // with the plain ground alone.
        edit->SetHighlighting(true);
        ui.key(103 + 1);  // F7: Reflectivity
        ui.key(103 + 1);  // F7: Terrain Type
        struct Flight {
            double ms = 0, cpu = 0, draws = 0;
        };
        auto fly = [&]() {
            edit->Camera() = MeshCamera{-128, 40, 240, 0, -27};
            CameraKeys forward;
            forward.forward = true;
            ui.step();
            std::vector<double> frameMs, frameCpu, frameDraws;
            for (int i = 0; i < frames; ++i) {
                edit->Camera().Tick(forward);
                edit->InvalidateClient();
                const Clock::time_point start = Clock::now();
                const double cpu = CpuMilliseconds();
                ui.step();
                frameMs.push_back(MillisecondsSince(start));
                frameCpu.push_back(CpuMilliseconds() - cpu);
                frameDraws.push_back(edit->LastDrawStats().draws);
            }
            return Flight{Median(frameMs), Median(frameCpu), Median(frameDraws)};
        };
        const Flight full = fly();
        edit->SetHighlighting(false);
        edit->SetDetailsShown(false);
        const Flight plain = fly();
        edit->SetHighlighting(true);
        edit->SetDetailsShown(true);

        // A brush move and the frame that shows it.
        edit->Camera() = MeshCamera{-128, 60, 200, 0, -45};
        ui.step();
        std::vector<double> stillMs;
        for (int i = 0; i < 10; ++i) {
            edit->InvalidateClient();
            const Clock::time_point start = Clock::now();
            ui.step();
            stillMs.push_back(MillisecondsSince(start));
        }
        std::vector<double> brushMs;
        edit->BeginStroke(0);
        for (int i = 0; i < 20; ++i) {
            const Clock::time_point start = Clock::now();
            edit->SetCurrentMaterial(1 + i);
            edit->StrokeTo(100 + i * 2, 150);
            ui.step();
            brushMs.push_back(MillisecondsSince(start));
        }
        edit->EndStroke();

        // A flood fill of the whole map (one value everywhere first).
        edit->NewBlankMap();
        edit->CurrentBrush().mode = BrushMode::kVertex;
        edit->SetCurrentMaterial(5);
        const Clock::time_point filling = Clock::now();
        edit->FillAt(10, 10);
        const double fillMs = MillisecondsSince(filling);

        PrintFigure("mesh editor: open 256 x 256 mesh, first frame", Format("%.0f ms", openMs), "< 1000 ms", Met(openMs < 1000));
        PrintFigure("mesh editor: flying, details and highlight on", Format("%.1f fps", 1000 / full.ms), ">= 30 fps",
                    Met(1000 / full.ms >= 30));
        PrintFigure("mesh editor: flying, processor time a frame", Format("%.1f ms", full.cpu), "", "note");
        PrintFigure("mesh editor: flying, draw calls a frame", Format("%.0f", full.draws), "", "note");
        PrintFigure("mesh editor: flying, plain ground only (the floor)", Format("%.1f fps", 1000 / plain.ms), "", "note");
        PrintFigure("mesh editor: flying, plain ground, processor time a frame", Format("%.1f ms", plain.cpu), "", "note");
        PrintFigure("mesh editor: brush move to next frame", Format("%.1f ms", Median(brushMs)), "one frame (33 ms)",
                    Met(Median(brushMs) <= 33.4));
        PrintFigure("mesh editor: the same frame without a brush move", Format("%.1f ms", Median(stillMs)), "", "note");
        PrintFigure("mesh editor: flood fill of the whole map", Format("%.1f ms", fillMs), "< 50 ms", Met(fillMs < 50));
        std::printf("chunks drawn in the last frame: %d partial, %d full, %d cells\n", edit->LastDrawStats().partial,
                    edit->LastDrawStats().full, edit->LastDrawStats().cells);
        edit->SetModified(0);
        edit->Close();
        ui.step();
    });
    Codex::Instance().Init("/nonexistent-tamber-folder/");
    std::filesystem::remove_all(root);
    return status;
}
