// Tag and archive headers from raw bytes, and header tables read from a stream.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/fs/UniqueFile.h"
#include "tags/ArchiveHeader.h"
#include "tags/TagHeader.h"

using namespace tamber::platform;
using namespace tamber::tags;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size >= kTagHeaderSize) {
        TagHeader header;
        if (ValidateTagHeader(header, data, size) && header.size != size - kTagHeaderSize) std::abort();
        if (UnpackAnyTagHeader(header, data) && (header.name[kTagNameSize - 1] != 0 || !IsTagHeader(header))) std::abort();
    }
    ArchiveHeader archive;
    if (ValidateArchiveHeader(archive, data, size, size)) {
        const uint64_t tableEnd = ArchiveEntryTableOffset(archive) + uint64_t{kTagHeaderSize} * archive.tagCount;
        if (tableEnd > size || ArchiveRank(archive.type) < 0) std::abort();
    }
    if (size == 0) return 0;
    const UniqueFile file(fmemopen(const_cast<uint8_t*>(data), size, "rb"));
    if (!file) return 0;
    std::vector<TagHeader> headers(size / kTagHeaderSize + 1);
    ReadTagHeaders(headers.data(), file.get(), headers.size());
    std::rewind(file.get());
    ReadTagHeaders(headers.data(), file.get(), size / kTagHeaderSize);
    return 0;
}
