// Whole archive files: every accepted entry must lie inside the file.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "tags/Archive.h"

using namespace tamber::tags;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
    if (!file) return 0;
    std::unique_ptr<Archive> archive = ReadArchiveFrom(file, size, "fuzz/archive");
    std::fclose(file);
    if (!archive) return 0;
    if (archive->entries.size() != archive->header.tagCount) std::abort();
    for (const TagEntry& entry : archive->entries) {
        if (uint64_t{entry.header.offset} + entry.header.size > size || entry.archive != archive.get()) std::abort();
    }
    return 0;
}
