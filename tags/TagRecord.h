#pragma once
// The Codex's record of one group and tagid: every copy of the tag, the objects
// using it, and the files open to read or write its data.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/fs/AtomicFileWriter.h"
#include "platform/fs/UniqueFile.h"
#include "tags/TagEntry.h"

namespace tamber::tags {
using namespace tamber::platform;

struct TagAttachment {
    uint32_t kind;
    int useCount;
    void* object;
};

// A loose file being written: the temporary file and the name and path it becomes.
struct TagWrite {
    AtomicFileWriter writer;
    std::string name;
    std::string path;
};

class TagRecord {
public:
    TagRecord(uint32_t group, uint32_t tagid) : group(group), tagid(tagid) {}
    ~TagRecord();
    TagRecord(const TagRecord&) = delete;
    TagRecord& operator=(const TagRecord&) = delete;

    bool IsOpen() const { return !attachments.empty(); }
    int OpenCount() const { return static_cast<int>(attachments.size()); }
    bool HasEntries() const { return entries != nullptr; }
    void CloseDataFile();
    // Back to an empty record (files closed, loose entry freed) for reuse.
    void Reset();

    uint32_t group;
    uint32_t tagid;
    TagEntry* entries = nullptr;               // singly linked through TagEntry::next
    std::unique_ptr<TagEntry> localEntry;      // also in the list
    std::vector<TagAttachment> attachments;
    UniqueFile dataFile;                       // handle from OpenTagData
    std::unique_ptr<TagWrite> write;           // while a write is in progress
    // Loose files that the next completed write replaces (a tag overwritten under
    // another file name); removed only once the new file is in place.
    std::vector<std::string> superseded;
};

}  // namespace tamber::tags
