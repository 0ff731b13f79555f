// The standard build of 8 sequences of 8 views x 12 frames of 256 x 256 RGBA
// renders (768 images): images per second of the scan (load, alpha, crop), the
// palette reduction, the bitmaps and the write, the whole build's time (all in
// processor seconds), its peak memory against the decoded renders' size, and the
// mean PSNR of the built bitmaps against the cropped renders.
// Usage: collections_builder_bench [SEQUENCES]
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <ctime>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "collections/CollectionFile.h"
#include "collections/builder/CollectionBuild.h"
#include "collections/builder/SequenceFolderScan.h"
#include "collections/builder/SharedPalette.h"
#include "images/MediaFile.h"
#include "platform/fs/FileBytes.h"

using namespace tamber::base;
using namespace tamber::collections;
using namespace tamber::collections::builder;
using namespace tamber::images;

namespace {

constexpr int kSide = 256, kViews = 8, kFrames = 12;

// Processor time of this thread, so that figures hold on a busy machine.
double Seconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

long PeakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// A shaded ball with a soft edge, its colour by sequence, its place and size by view and frame.
Image Render(int sequence, int view, int frame) {
    Image image;
    if (!CreateImage(image, kSide, kSide, kPixelRGBA)) std::abort();
    const double cx = 128 + 30 * std::cos(view * 0.785), cy = 128 + 20 * std::sin(frame * 0.52);
    const double radius = 60 + 3 * frame;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            const double dx = (x - cx) / radius, dy = (y - cy) / radius, d = std::sqrt(dx * dx + dy * dy);
            uint8_t* p = &image.pixels[(size_t(y) * kSide + size_t(x)) * 4];
            const double light = std::clamp(1.1 - d + 0.4 * (-dx - dy), 0.1, 1.0);
            p[0] = uint8_t(light * (80 + sequence * 20));
            p[1] = uint8_t(light * (200 - sequence * 15));
            p[2] = uint8_t(light * (60 + (view * 20) % 180));
            p[3] = uint8_t(std::clamp((1.0 - d) * radius, 0.0, 1.0) * 255);
        }
    return image;
}

void Generate(const std::string& folder, int sequences) {
    for (int s = 0; s < sequences; ++s) {
        const std::string dir = folder + "seq" + std::to_string(s) + "(8,12)/";
        std::filesystem::create_directories(dir);
        for (int i = 0; i < kViews * kFrames; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "r%03d.png", i);
            MediaFile file(dir + name);
            file.image = Render(s, i % kViews, i / kViews);
            if (!SaveImage(file)) std::abort();
        }
    }
}

double Psnr(const ScannedImage& render, const Bitmap& bitmap, const std::array<uint8_t, 768>& palette) {
    double error = 0;
    size_t count = 0;
    for (size_t i = 0; i < render.rgba.PixelCount(); ++i) {
        if (render.rgba.pixels[i * 4 + 3] < 128) continue;
        const uint8_t index = bitmap.pixels[i * 2 + 1];
        for (int c = 0; c < 3; ++c) {
            const double d = double(render.rgba.pixels[i * 4 + size_t(c)]) - palette[size_t(index) * 3 + size_t(c)];
            error += d * d;
        }
        count += 3;
    }
    return count && error > 0 ? 10 * std::log10(255.0 * 255.0 / (error / double(count))) : 99;
}

}  // namespace

int main(int argc, char** argv) {
    const int sequences = argc > 1 ? std::max(1, std::atoi(argv[1])) : 8;
    char pattern[] = "/tmp/tamber-build-bench-XXXXXX";
    const std::string folder = std::string(::mkdtemp(pattern)) + "/";
    // The renders are made by a child process, so this one's peak memory is the build's.
    const pid_t child = fork();
    if (child == 0) {
        Generate(folder, sequences);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    const size_t images = size_t(sequences) * kViews * kFrames;
    const double decodedMiB = double(images) * kSide * kSide * 4 / (1 << 20);
    const long baseline = PeakKilobytes();

    BuildLog quiet;
    double start = Seconds();
    std::vector<ScannedSequence> scanned = ScanSequenceFolders(folder, ScanOptions{}, quiet);
    const double scan = Seconds() - start;
    std::vector<const Image*> pictures;
    for (const ScannedSequence& s : scanned)
        for (const ScannedImage& image : s.images) pictures.push_back(&image.rgba);
    start = Seconds();
    const std::array<uint8_t, 768> palette = BuildSharedPalette(pictures);
    const double reduce = Seconds() - start;
    start = Seconds();
    std::vector<std::shared_ptr<Bitmap>> bitmaps;
    for (const Image* picture : pictures) bitmaps.push_back(MakePalettedBitmap(*picture, palette, "b", true));
    const double map = Seconds() - start;
    double psnr = 0;
    size_t n = 0;
    for (const ScannedSequence& s : scanned)
        for (const ScannedImage& image : s.images) psnr += Psnr(image, *bitmaps[n++], palette);
    Collection collection;
    collection.palette = palette;
    collection.bitmaps = bitmaps;
    start = Seconds();
    Result<CollectionPayload> payload = WriteCollection(collection);
    const bool written = payload && tamber::platform::WriteFileAtomically(folder + "out.256", payload->bytes).ok();
    const double write = Seconds() - start;
    scanned.clear();
    bitmaps.clear();
    const long phasesPeak = PeakKilobytes();

    // The whole build into a tag, as the dialog and the command line run it.
    std::filesystem::create_directories(folder + "game/local");
    tamber::tags::Codex codex;
    codex.Init(folder + "game");
    StandardBuildOptions options{folder, "bench", 0, 0, kViewsThenFrames, false};
    start = Seconds();
    Result<tamber::tags::TagRecord*> built = BuildCollectionTag(codex, options, std::nullopt, false, quiet);
    const double whole = Seconds() - start;
    std::filesystem::remove_all(folder);
    if (!written || !built) {
        std::fprintf(stderr, "the build failed\n");
        return 1;
    }
    std::printf("%zu images of %dx%d (%.0f MiB decoded)\n", images, kSide, kSide, decodedMiB);
    std::printf("scan:    %6.2f s  %7.0f images/s\n", scan, double(images) / scan);
    std::printf("palette: %6.2f s  %7.0f images/s (the shared table)\n", reduce, double(images) / reduce);
    std::printf("bitmaps: %6.2f s  %7.0f images/s (error diffusion into 16-bit bitmaps)\n", map, double(images) / map);
    std::printf("write:   %6.2f s  %7.0f images/s (%zu bytes)\n", write, double(images) / write, payload->bytes.size());
    std::printf("whole build: %.2f s\n", whole);
    std::printf("peak memory: %.0f MiB above the start (%.2fx the decoded renders)\n",
                double(phasesPeak - baseline) / 1024, double(phasesPeak - baseline) / 1024 / decodedMiB);
    std::printf("mean PSNR of the bitmaps against the cropped renders: %.2f dB\n", psnr / double(images));
    return 0;
}
