#pragma once
// An archive file loaded in memory: its converted header, mesh records and entries.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "base/Result.h"
#include "platform/fs/UniqueFile.h"
#include "tags/ArchiveHeader.h"
#include "tags/TagEntry.h"

namespace tamber::tags {
using namespace tamber::base;
using namespace tamber::platform;

class Archive {
public:
    std::string Name() const;

    ArchiveHeader header{};
    std::vector<TagEntry> entries;
    std::vector<MeshRecord> meshRecords;
    std::string path;
    std::string fileName;  // the part of the path after the last separator
    int rank = 0;
    bool active = false;
    uint32_t loadIndex = 0;  // position in load order
};

// The file name part of a path (after the last '/' or '\').
std::string PathFileName(const std::string& path);

// Reads a whole archive; fails when it cannot be opened, is not a regular file or
// is not a valid archive. Every count, offset and size is checked against the
// file size before use.
Result<std::unique_ptr<Archive>> ReadArchive(const std::string& path);
Result<std::unique_ptr<Archive>> ReadArchiveFrom(FILE* file, uint64_t fileSize, const std::string& path);
// The archive file opened for reading, positioned at the entry's data.
Result<UniqueFile> OpenEntryData(const TagEntry& entry);

}  // namespace tamber::tags
