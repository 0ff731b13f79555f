// Full read and write throughput of a large collection (2,000 bitmaps of
// 128 x 128 in RAW and RLE rows, 8-bit and 16-bit), against copying the same
// bytes in memory. Both are measured twice, the same way each time: into memory
// the process already holds, and into memory fresh from the system, where first
// touching each page costs a fault. Usage: collections_bench [BITMAPS] [SIDE]
#include <algorithm>
#include <climits>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <malloc.h>
#include <sys/resource.h>

#include "collections/CollectionFile.h"
#include "platform/fs/UniqueFile.h"

using namespace tamber::base;
using namespace tamber::collections;
using namespace tamber::platform;

namespace {

// Processor time of this thread, so that figures hold on a busy machine.
double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Best of a few runs of `work`, in seconds of processor time.
template <typename Work, typename Before = void (*)()>
double Best(int runs, Work work, Before before = [] {}) {
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        before();
        const double start = CpuSeconds();
        work();
        best = std::min(best, CpuSeconds() - start);
    }
    return best;
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
    const double coldRead = Best(5, read, releaseRead);
    const long readFaults = FaultsOf(read, releaseRead);
    const double coldCopy = Best(5, copyFresh, releaseCopy);
    const long copyFaults = FaultsOf(copyFresh, releaseCopy);

    // Reused memory: the allocator keeps what the previous read freed, as the copy
    // keeps writing into the same buffer.
    mallopt(M_TRIM_THRESHOLD, INT_MAX);
    read();
    const double warmRead = Best(5, read, [&] { read_back.reset(); });
    copyFresh();
    const double warmCopy = Best(5, [&] { std::memcpy(copy.get(), payload.data(), payload.size()); });
    const size_t decoded = read_back ? read_back->BitmapCount() : 0;

    Result<CollectionPayload> rewritten = Fail("not written");
    const double write = Best(5, [&] { rewritten = WriteCollection(collection); });

    std::printf("collection: %d bitmaps of %d x %d, %.1f MB payload (%zu read back)\n", count, side, side, mb, decoded);
    std::printf("reused memory: full read %8.1f MB/s, memory copy %8.1f MB/s: read is %.1fx slower (goal 5)\n",
                mb / warmRead, mb / warmCopy, warmRead / warmCopy);
    std::printf("fresh memory:  full read %8.1f MB/s, memory copy %8.1f MB/s: read is %.1fx slower "
                "(page faults %ld and %ld)\n",
                mb / coldRead, mb / coldCopy, coldRead / coldCopy, readFaults, copyFaults);
    std::printf("write:         %8.1f MB/s, %.1fx slower than the memory copy\n", mb / write, write / warmCopy);
    if (const char* dump = std::getenv("DUMP"))
        if (UniqueFile f = OpenFile(dump, "wb"))
            std::fwrite(payload.data(), 1, payload.size(), f.get());
    return rewritten && rewritten->bytes == payload ? 0 : 1;
}
