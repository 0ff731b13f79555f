// Whole archive files: every accepted entry must lie inside the file.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "tags/Archive.h"

using namespace tamber::tags;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const UniqueFile file(fmemopen(const_cast<uint8_t*>(data), size, "rb"));
    if (!file) return 0;
    const Result<std::unique_ptr<Archive>> read = ReadArchiveFrom(file.get(), size, "fuzz/archive");
    if (!read) return 0;
    const Archive* archive = read->get();
    if (archive->entries.size() != archive->header.tagCount) std::abort();
    for (const TagEntry& entry : archive->entries) {
        if (uint64_t{entry.header.offset} + entry.header.size > size || entry.archive != archive) std::abort();
    }
    return 0;
}
