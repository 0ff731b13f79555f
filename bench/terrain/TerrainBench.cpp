// The detail-texture codec against libpng on the same pictures in this program:
// each run encodes and decodes a picture with both, alternating, and the table
// gives the median times (this thread's processor time) and the median of the
// per-run ratios. Usage: terrain_bench [SIDE] [RUNS]
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "bench/support/BenchFigures.h"
#include "terrain/DtexStream.h"

using namespace tamber::bench;
using namespace tamber::terrain;

namespace {

template <typename Work>
double TimeMs(Work work) {
    const double start = ThreadCpuSeconds();
    work();
    return (ThreadCpuSeconds() - start) * 1e3;
}

// Ground-like pictures: smooth shapes and texture with per-channel noise of `noise` levels.
std::vector<uint8_t> Ground(int side, int noise, uint32_t seed) {
    std::mt19937 rng(seed);
    std::vector<uint8_t> rgb(size_t(side) * size_t(side) * 3);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            for (int c = 0; c < 3; ++c) {
                const double v = 110 + 50 * std::sin(x * 0.013 + c) * std::cos(y * 0.021) +
                                 25 * std::sin((x - y) * 0.11) + double(int(rng() % uint32_t(2 * noise + 1)) - noise);
                rgb[(size_t(y) * size_t(side) + size_t(x)) * 3 + size_t(c)] = uint8_t(std::clamp(v, 0.0, 255.0));
            }
    return rgb;
}

png_image PngImage(int side) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(side);
    image.height = png_uint_32(side);
    image.format = PNG_FORMAT_RGB;
    return image;
}

std::vector<uint8_t> PngEncode(const std::vector<uint8_t>& rgb, int side) {
    png_image image = PngImage(side);
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, rgb.data(), 0, nullptr))
        return {};
    std::vector<uint8_t> bytes(size);
    if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, rgb.data(), 0, nullptr))
        return {};
    bytes.resize(size);
    return bytes;
}

std::vector<uint8_t> PngDecode(const std::vector<uint8_t>& bytes) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()))
        return {};
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr))
        return {};
    return rgb;
}

}  // namespace

int main(int argc, char** argv) {
    const int side = argc > 1 ? std::clamp(std::atoi(argv[1]), 8, kDtexStreamMaxSide) : 1024;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
    struct Picture {
        const char* name;
        std::vector<uint8_t> rgb;
    };
    const Picture pictures[] = {{"ground, fine noise", Ground(side, 2, 11)}, {"ground, coarse noise", Ground(side, 8, 12)}};
    std::printf("Detail-texture codec against libpng (default level), %d x %d, median of %d alternating runs.\n\n",
                side, side, runs);
    std::printf("| picture | stream MB | PNG MB | encode ms | libpng encode ms | ratio | decode ms | libpng decode ms |"
                " ratio |\n|---|---|---|---|---|---|---|---|---|\n");
    double worstEncode = 0, worstDecode = 0;
    bool exact = true;
    for (const Picture& picture : pictures) {
        std::vector<double> encodes, pngEncodes, decodes, pngDecodes, encodeRatios, decodeRatios;
        size_t streamSize = 0, pngSize = 0;
        for (int run = 0; run < runs; ++run) {
            tamber::base::Result<std::vector<uint8_t>> stream = tamber::base::Fail("not encoded");
            std::vector<uint8_t> png;
            encodes.push_back(TimeMs([&] { stream = EncodeDtexStream(picture.rgb.data(), side, side); }));
            pngEncodes.push_back(TimeMs([&] { png = PngEncode(picture.rgb, side); }));
            tamber::base::Result<DtexImage> decoded = tamber::base::Fail("not decoded");
            std::vector<uint8_t> pngDecoded;
            decodes.push_back(TimeMs([&] { decoded = DecodeDtexStream(*stream); }));
            pngDecodes.push_back(TimeMs([&] { pngDecoded = PngDecode(png); }));
            exact = exact && stream && decoded && decoded->rgb == picture.rgb && pngDecoded == picture.rgb;
            encodeRatios.push_back(encodes.back() / pngEncodes.back());
            decodeRatios.push_back(decodes.back() / pngDecodes.back());
            streamSize = stream ? stream->size() : 0;
            pngSize = png.size();
        }
        const double encodeRatio = Median(encodeRatios), decodeRatio = Median(decodeRatios);
        worstEncode = std::max(worstEncode, encodeRatio);
        worstDecode = std::max(worstDecode, decodeRatio);
        std::printf("| %s | %.2f | %.2f | %.1f | %.1f | %.2f | %.1f | %.1f | %.2f |\n", picture.name,
                    double(streamSize) / 1e6, double(pngSize) / 1e6, Median(encodes), Median(pngEncodes),
                    encodeRatio, Median(decodes), Median(pngDecodes), decodeRatio);
    }
    std::printf("\n");
    PrintFigure("detail texture: decode time over libpng's", Format("%.2f", worstDecode), "1 or less",
                Met(worstDecode <= 1));
    PrintFigure("detail texture: encode time over libpng's", Format("%.2f", worstEncode), "2 or less",
                Met(worstEncode <= 2));
    PrintFigure("detail texture: both round trips exact", exact ? "yes" : "no", "yes", Met(exact));
    return exact ? 0 : 1;
}
