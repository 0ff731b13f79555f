// Full read and write throughput of a large collection (2,000 bitmaps of
// 128 x 128 in RAW and RLE rows, 8-bit and 16-bit), against copying the same
// bytes in memory. Both are measured twice, the same way each time: into memory
// the process already holds, and into memory fresh from the system, where first
// touching each page costs a fault. The read and the copy alternate, so both
// see the machine in the same state, and the verdict is the median of the
// per-round ratios. Usage: collections_bench [BITMAPS] [SIDE] [ROUNDS]
#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>
#include <malloc.h>
#include <sys/resource.h>

#include "bench/support/BenchFigures.h"
#include "collections/CollectionFile.h"
#include "platform/fs/UniqueFile.h"

using namespace tamber::base;
using namespace tamber::bench;
using namespace tamber::collections;
using namespace tamber::platform;

namespace {

struct Paired {
    double first = 0, second = 0;  // median seconds of each
    double ratio = 0;              // median of first / second over the rounds
};

// Runs `first` and `second` in turns for `rounds` rounds, each after its `before`.
template <typename First, typename Second, typename BeforeFirst, typename BeforeSecond>
Paired Alternate(int rounds, First first, Second second, BeforeFirst beforeFirst, BeforeSecond beforeSecond) {
    std::vector<double> a, b, ratios;
    for (int i = 0; i < rounds; ++i) {
        beforeFirst();
        double start = ThreadCpuSeconds();
        first();
        a.push_back(ThreadCpuSeconds() - start);
        beforeSecond();
        start = ThreadCpuSeconds();
        second();
        b.push_back(ThreadCpuSeconds() - start);
        ratios.push_back(a.back() / std::max(b.back(), 1e-9));
    }
    return {Median(a), Median(b), Median(ratios)};
}

long PageFaults() {
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    return usage.ru_minflt;
}

// Page faults of one run of `work`, after `before`.
template <typename Work, typename Before>
long FaultsOf(Work work, Before before) {
    before();
    const long start = PageFaults();
    work();
    return PageFaults() - start;
}

Collection MakeLargeCollection(int count, int side) {
    Collection c;
    for (size_t i = 0; i < 768; ++i)
        c.palette[i] = uint8_t(i * 7);
    const uint16_t kinds[] = {0, kBitmapRle, kBitmap16Bit, kBitmapRle | kBitmap16Bit | kBitmapPadded};
    for (int n = 0; n < count; ++n) {
        auto bitmap = std::make_shared<Bitmap>();
        bitmap->name = "bitmap " + std::to_string(n);
        bitmap->width = bitmap->height = int16_t(side);
        bitmap->flags = kinds[n % 4];
        bitmap->pixels.resize(size_t(side) * size_t(side) * 2);
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x) {
                // A sprite: a disc of varied colours on a transparent ground.
                const int dx = x - side / 2, dy = y - side / 2;
                uint8_t* p = &bitmap->pixels[(size_t(y) * size_t(side) + size_t(x)) * 2];
                if (dx * dx + dy * dy < side * side / 5) {
                    p[1] = uint8_t(1 + (x * 3 + y * 5 + n) % 255);
                    p[0] = bitmap->Is16Bit() ? uint8_t(((x + y) % 16) * 17) : 255;
                }
            }
        if (!bitmap->Encode()) std::abort();
        c.bitmaps.push_back(bitmap);
    }
    return c;
}

}  // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 2000;
    const int side = argc > 2 ? std::atoi(argv[2]) : 128;
    const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 9;
    const Collection collection = MakeLargeCollection(count, side);
    Result<CollectionPayload> written = WriteCollection(collection);
    if (!written) {
        std::fprintf(stderr, "%s\n", written.error().c_str());
        return 1;
    }
    const std::vector<uint8_t>& payload = written->bytes;
    const CollectionTagFields fields = written->fields;
    const double mb = double(payload.size()) / 1e6;
    std::unique_ptr<Collection> read_back;
    auto read = [&] {
        Result<std::unique_ptr<Collection>> result = ReadCollection(payload, fields.user, true);
        read_back = result ? std::move(result).value() : nullptr;
    };
    std::unique_ptr<uint8_t[]> copy;
    auto copyFresh = [&] {
        copy.reset(new uint8_t[payload.size()]);
        std::memcpy(copy.get(), payload.data(), payload.size());
    };

    // Fresh memory: before each run the previous result is freed and handed back
    // to the system, as for the first read of a collection in a program; the copy
    // goes into a new allocation, which the system maps afresh each time.
    auto releaseRead = [&] {
        read_back.reset();
        malloc_trim(0);
    };
    auto releaseCopy = [&] {
        copy.reset();
        malloc_trim(0);
    };
    const Paired cold = Alternate(rounds, read, copyFresh, releaseRead, releaseCopy);
    const long readFaults = FaultsOf(read, releaseRead);
    const long copyFaults = FaultsOf(copyFresh, releaseCopy);

    // Reused memory: the allocator keeps what the previous read freed, as the copy
    // keeps writing into the same buffer.
    mallopt(M_TRIM_THRESHOLD, INT_MAX);
    read();
    copyFresh();
    const auto copyWarm = [&] { std::memcpy(copy.get(), payload.data(), payload.size()); };
    const Paired warm = Alternate(rounds, read, copyWarm, [&] { read_back.reset(); }, [] {});
    const size_t decoded = read_back ? read_back->BitmapCount() : 0;

    Result<CollectionPayload> rewritten = Fail("not written");
    const Paired write = Alternate(rounds, [&] { rewritten = WriteCollection(collection); }, copyWarm, [] {}, [] {});

    std::printf("collection: %d bitmaps of %d x %d, %.1f MB payload (%zu read back)\n", count, side, side, mb, decoded);
    std::printf("medians of %d rounds, read (or write) and copy alternating\n", rounds);
    std::printf("reused memory: full read %8.1f MB/s, memory copy %8.1f MB/s: read is %.1fx slower\n",
                mb / warm.first, mb / warm.second, warm.ratio);
    std::printf("fresh memory:  full read %8.1f MB/s, memory copy %8.1f MB/s: read is %.1fx slower "
                "(page faults %ld and %ld)\n",
                mb / cold.first, mb / cold.second, cold.ratio, readFaults, copyFaults);
    std::printf("write:         %8.1f MB/s, %.1fx slower than the memory copy\n", mb / write.first, write.ratio);
    PrintFigure("collection: full read over memory copy, reused memory", Format("%.1f", warm.ratio), "5 or less",
                Met(warm.ratio <= 5));
    PrintFigure("collection: full read over memory copy, fresh memory", Format("%.1f", cold.ratio), "none", "note");
    PrintFigure("collection: write over memory copy", Format("%.1f", write.ratio), "none", "note");
    if (const char* dump = std::getenv("DUMP"))
        if (UniqueFile f = OpenFile(dump, "wb"))
            std::fwrite(payload.data(), 1, payload.size(), f.get());
    return rewritten && rewritten->bytes == payload ? 0 : 1;
}
