// Merge Identical Bitmaps and Delete Unused Bitmaps on a large collection: 2,000
// bitmaps of 64 x 64 (a quarter of them copies of others, a tenth unused)
// shown by 200 sequences of 8 frames and 8 views with shadows. Prints the
// processor time of each operation, best of a few runs on fresh copies.
// Usage: collections_optimise_bench [BITMAPS] [SEQUENCES]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>

#include "collections/CollectionOptimizer.h"

using namespace tamber::collections;

namespace {

double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

std::shared_ptr<Bitmap> MakeBitmap(int pattern) {
    auto bitmap = std::make_shared<Bitmap>();
    bitmap->name = "bitmap " + std::to_string(pattern);
    bitmap->width = bitmap->height = 64;
    bitmap->flags = kBitmapRle;
    bitmap->pixels.resize(bitmap->PixelCount() * kPalettedPixelBytes);
    for (size_t i = 0; i < bitmap->PixelCount(); ++i) {
        const bool hole = (i + size_t(pattern)) % 7 == 0;
        bitmap->pixels[i * 2] = hole ? 0 : 255;
        bitmap->pixels[i * 2 + 1] = hole ? 0 : uint8_t(1 + (i * 13 + size_t(pattern) * 31) % 255);
    }
    if (!bitmap->Encode()) std::abort();
    return bitmap;
}

Collection MakeCollection(int bitmaps, int sequences) {
    Collection c;
    const int distinct = bitmaps * 3 / 4;
    std::vector<std::shared_ptr<Bitmap>> made;
    for (int i = 0; i < distinct; ++i) made.push_back(MakeBitmap(i));
    for (int i = 0; i < bitmaps; ++i)
        c.bitmaps.push_back(i < distinct ? made[size_t(i)] : std::make_shared<Bitmap>(*made[size_t(i % distinct)]));
    // Every tenth bitmap is used by no sequence.
    int next = 0;
    auto pick = [&] {
        if (next % 10 == 9) ++next;
        return c.bitmaps[size_t(next++ % bitmaps)];
    };
    for (int s = 0; s < sequences; ++s) {
        Sequence sequence;
        sequence.name = "sequence " + std::to_string(s);
        sequence.header.viewCount = 8;
        for (int f = 0; f < 8; ++f) {
            Frame frame;
            frame.shadow.bitmap = pick();
            frame.views.resize(8);
            for (View& view : frame.views) view.sets[0].bitmap = pick();
            sequence.frames.push_back(frame);
        }
        c.sequences.push_back(sequence);
    }
    return c;
}

template <typename Work>
double Best(const Collection& original, Work work) {
    double best = 1e30;
    for (int run = 0; run < 3; ++run) {
        Collection copy = original;
        const double start = CpuSeconds();
        work(copy);
        best = std::min(best, CpuSeconds() - start);
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    const int bitmaps = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
    const int sequences = argc > 2 ? std::max(1, std::atoi(argv[2])) : 200;
    const Collection original = MakeCollection(bitmaps, sequences);
    const double merge = Best(original, [](Collection& c) { (void)MergeIdenticalBitmaps(c); });
    const double remove = Best(original, [](Collection& c) { (void)DeleteUnusedBitmaps(c); });
    const double both = Best(original, [](Collection& c) {
        (void)MergeIdenticalBitmaps(c);
        (void)DeleteUnusedBitmaps(c);
    });
    Collection check = original;
    const std::string merged = MergeIdenticalBitmaps(check).text;
    const std::string removed = DeleteUnusedBitmaps(check).text;
    std::printf("%d bitmaps, %d sequences: %s %s\n", bitmaps, sequences, merged.c_str(), removed.c_str());
    std::printf("merge identical: %.1f ms\ndelete unused: %.1f ms\nmerge, then delete: %.1f ms\n", merge * 1e3,
                remove * 1e3, both * 1e3);
    return 0;
}
