// Encode and decode time of a 1024 x 1024 detail texture with photographic
// content. Usage: terrain_bench [SIDE]
#include <algorithm>
#include <ctime>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "terrain/DtexStream.h"

using namespace tamber::terrain;

namespace {

// Best of a few runs, in milliseconds of this thread's processor time.
template <typename Work>
double BestMs(int runs, Work work) {
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        timespec a{}, b{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &a);
        work();
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &b);
        best = std::min(best, double(b.tv_sec - a.tv_sec) * 1e3 + double(b.tv_nsec - a.tv_nsec) * 1e-6);
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    const int side = argc > 1 ? std::atoi(argv[1]) : 1024;
    std::mt19937 rng(11);
    std::vector<uint8_t> rgb(size_t(side) * size_t(side) * 3);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            for (int c = 0; c < 3; ++c) {
                const double v = 110 + 50 * std::sin(x * 0.013 + c) * std::cos(y * 0.021) +
                                 25 * std::sin((x - y) * 0.11) + double(rng() % 17) - 8;
                rgb[(size_t(y) * size_t(side) + size_t(x)) * 3 + size_t(c)] = uint8_t(std::clamp(v, 0.0, 255.0));
            }
    tamber::base::Result<std::vector<uint8_t>> stream = tamber::base::Fail("not encoded");
    const double encode = BestMs(3, [&] { stream = EncodeDtexStream(rgb.data(), side, side); });
    tamber::base::Result<DtexImage> image = tamber::base::Fail("not decoded");
    const double decode = BestMs(3, [&] { image = DecodeDtexStream(*stream); });
    std::printf("detail texture %d x %d: %.1f MB -> %.1f MB stream\n", side, side, rgb.size() / 1e6,
                stream->size() / 1e6);
    std::printf("encode: %8.1f ms\ndecode: %8.1f ms\n", encode, decode);
    return image && image->rgb == rgb ? 0 : 1;
}
