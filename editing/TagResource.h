#pragma once
// An open tag: a tag's payload read into memory once and shared, through a
// TagResourceManager, by every window that uses the tag. While it lives it is
// attached to its tag record with kind `tres`, which keeps the record alive.
#include <cstdint>
#include <cstdio>

#include "editing/Resource.h"
#include "tags/TagHeader.h"

namespace tamber::tags { class TagRecord; }

namespace tamber::editing {
using namespace tamber::tags;

class TagResource : public Resource {
public:
    explicit TagResource(TagRecord* record);
    ~TagResource() override;
    TagResource(const TagResource&) = delete;
    TagResource& operator=(const TagResource&) = delete;

    const char* GetClassName() const override { return "TagResource"; }
    // Reads the payload of the tag's current copy; 1 on success, 0 on failure.
    virtual int Load();
    // Writes the payload into the tag's loose file; non-zero on success. A failed
    // write leaves the file on disk and the object in memory as they were.
    virtual int Save();
    // Fills a freshly created tag with default content.
    virtual void InitNew() = 0;
    // Reads the payload from a stream at the tag's data; non-zero on success.
    virtual int ParsePayload(FILE* stream, const TagHeader& header) = 0;
    // Writes the payload to a stream placed after the header; non-zero on success.
    virtual int WritePayload(FILE* stream, const TagHeader& header) = 0;

    TagRecord* Record() const { return record_; }
    uint32_t RefCount() const { return refCount_; }
    const TagHeader& Header() const { return header_; }

protected:
    // Tells every listener of the Codex that the in-memory content was replaced.
    void NotifyContentChanged();

private:
    friend class TagResourceManagerBase;

    TagRecord* record_;
    uint32_t refCount_ = 0;
    uint32_t spare_ = 0;  // kept for subclasses; unused here
    TagHeader header_{};
};

}  // namespace tamber::editing
