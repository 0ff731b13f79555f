// The collection editor opening a collection of 2,000 bitmaps of 128 x 128 (read,
// both browsers filled, the first frame of the grid drawn) and scrolling the grid
// a row a frame; then, without windows, palette reconciliation, plate export and
// plate import for a 4096 x 4096 plate. Run from the build's run folder.
//
//   collections_editor_bench [frames]
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "bench/support/BenchFigures.h"
#include "collections/BitmapExport.h"
#include "collections/BitmapImport.h"
#include "collections/CollectionEdits.h"
#include "collections/CollectionFile.h"
#include "collections/ColorPlate.h"
#include "collections/PaletteMerge.h"
#include "collections/editor/X256BitmapBrowser.h"
#include "collections/editor/X256Edit.h"
#include "editing/TagEditorRegistry.h"
#include "images/MediaFile.h"
#include "tags/Codex.h"
#include "tags/TagOperations.h"
#include "tests/ui/support/UiTestDriver.h"
#include "ui/widgets/GridWindow.h"

using namespace tamber::bench;
using namespace tamber::collections;
using namespace tamber::collections::editor;
using namespace tamber::editing;
using namespace tamber::images;
using namespace tamber::tags;

namespace {

constexpr int kBitmaps = 2000;

// Processor time of the whole process (software OpenGL's threads included): on a
// loaded machine it tells slow frames from frames the machine did not schedule.
double CpuMilliseconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

constexpr int kSide = 128;

std::unique_ptr<Collection> BigCollection(int count, int side) {
    auto c = std::make_unique<Collection>();
    for (size_t i = 0; i < 256; ++i) c->palette[i * 3] = uint8_t(i), c->palette[i * 3 + 1] = uint8_t(i * 7);
    for (int n = 0; n < count; ++n) {
        auto b = std::make_shared<Bitmap>();
        b->name = "bitmap " + std::to_string(n);
        b->flags = kBitmapRle;
        std::vector<uint8_t> pixels(size_t(side) * size_t(side) * 2);
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x) {
                uint8_t* p = &pixels[(size_t(y) * size_t(side) + size_t(x)) * 2];
                const int dx = x - side / 2, dy = y - side / 2;
                const bool inside = dx * dx + dy * dy < (side / 2 - n % 8) * (side / 2 - n % 8);
                p[0] = inside ? 255 : 0;
                p[1] = inside ? uint8_t(2 + (x + y + n) % 250) : 0;
            }
        StorePixels(*b, side, side, std::move(pixels));
        c->bitmaps.push_back(b);
    }
    return c;
}

TagRecord* WriteTag(const Collection& collection) {
    Codex& codex = Codex::Instance();
    Result<NewTag> created = CreateTag(codex, kCollectionGroupCode, std::nullopt, "big sprites", true);
    if (!created) return nullptr;
    const Result<CollectionPayload> payload = WriteCollection(collection);
    if (!payload) return nullptr;
    TagHeader header = created->header;
    header.version = payload->fields.version;
    Result<FILE*> stream = BeginTagWrite(codex, created->record, header);
    const bool written = stream && std::fwrite(payload->bytes.data(), 1, payload->bytes.size(), *stream) == payload->bytes.size();
    if (!FinishTagWrite(codex, created->record, &header, written)) return nullptr;
    codex.RefreshLocalFolder(true);
    return codex.FindTag(kCollectionGroupCode, created->record->tagid);
}

void PlateFigures(const std::string& folder) {
    // 1,024 bitmaps of 124 x 124 fill a plate of about 4096 x 4096.
    std::unique_ptr<Collection> c = BigCollection(1024, 124);
    std::vector<const Bitmap*> bitmaps;
    for (const auto& b : c->bitmaps) bitmaps.push_back(b.get());
    auto start = Clock::now();
    const Image plate = MakePlate(*c, bitmaps, false);
    const std::string path = folder + "/plate.png";
    if (!ExportPlate(*c, bitmaps, path, false).ok()) std::fprintf(stderr, "couldn't write the plate\n");
    const double exportMs = MillisecondsSince(start);
    start = Clock::now();
    Collection target = *c;
    const ImportOutcome imported = ReplaceFromPlate(target, bitmaps, path, [] { return false; });
    const double importMs = MillisecondsSince(start);
    // Reconciliation alone: the plate's palette rotated, so that every colour is new
    // to a palette with 256 repeated entries.
    Image shifted = plate;
    for (size_t i = 0; i < shifted.palette.size(); ++i) shifted.palette[i] = uint8_t(shifted.palette[i] ^ 0x55);
    Collection blankish;
    blankish.palette.fill(0);
    blankish.palette[3] = 1;
    start = Clock::now();
    const PaletteMerge merge = MergePalette(blankish, shifted);
    const std::array<uint8_t, 256> map = IndexMap(blankish.palette, shifted);
    size_t sum = 0;
    for (uint8_t v : shifted.pixels) sum += map[v];
    const double mergeMs = MillisecondsSince(start);
    std::printf("plate %d x %d, %d bitmaps replaced, merge %d, checksum %zu\n", plate.width, plate.height,
                imported.changed, int(merge), sum);
    PrintFigure(Format("plate export, %.0f-pixel square plate", plate.width), Format("%.0f ms", exportMs), "", "note");
    PrintFigure(Format("plate import, %.0f-pixel square plate", plate.width), Format("%.0f ms", importMs), "", "note");
    PrintFigure(Format("palette reconciliation, %.0f-pixel square plate", plate.width), Format("%.1f ms", mergeMs), "",
                "note");
}

}  // namespace

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
    const std::string root = std::filesystem::temp_directory_path() / ("tamber-x256-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(root + "/game/local");
    Codex::Instance().Init(root + "/game/");
    SetTagEditorFactory(kCollectionGroupCode, &X256Edit::Create);
    TagRecord* record = WriteTag(*BigCollection(kBitmaps, kSide));
    UiTestDriver::Options options;
    options.watchdogSeconds = 600;
    UiTestDriver ui(options);
    if (!record || !ui.Ready()) {
        std::fprintf(stderr, "no collection or no OpenGL: %s\n", ui.Error().c_str());
        return 1;
    }
    ui.Run([&](UiTestDriver& ui) {
        const auto start = Clock::now();
        const double openCpu = CpuMilliseconds();
        auto* edit = dynamic_cast<X256Edit*>(OpenTagEditor(record));
        auto* page = static_cast<X256BitmapBrowser*>(edit->GetPage(X256Edit::kBitmapsPage));
        if (!page->ShowingGrid()) page->SwitchView();
        ui.step();
        const double openMs = MillisecondsSince(start), openCpuMs = CpuMilliseconds() - openCpu;
        std::vector<double> frameMs, frameCpu;
        for (int i = 0; i < frames; ++i) {
            const auto frame = Clock::now();
            const double cpu = CpuMilliseconds();
            page->Grid()->ScrollBy(ScrollableWindow::kVertical, 1);
            ui.step();
            frameMs.push_back(MillisecondsSince(frame));
            frameCpu.push_back(CpuMilliseconds() - cpu);
        }
        PrintFigure("collection editor: open 2,000 bitmaps of 128 x 128, first grid frame", Format("%.0f ms", openMs),
                    "< 500 ms", Met(openMs < 500));
        PrintFigure("collection editor: opening, processor time", Format("%.0f ms", openCpuMs), "", "note");
        PrintFigure("collection editor: scrolling the grid a row a frame", Format("%.1f ms", Median(frameMs)),
                    "< 16 ms", Met(Median(frameMs) < 16));
        PrintFigure("collection editor: scrolling, processor time a frame", Format("%.1f ms", Median(frameCpu)), "",
                    "note");
        edit->Close();
        ui.step(2);
    });
    PlateFigures(root);
    Codex::Instance().Init("/nonexistent-tamber-folder/");
    std::filesystem::remove_all(root);
    return 0;
}
