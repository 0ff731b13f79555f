#pragma once
// Keeps at most one TagResource per tag record and counts its users, so that every
// window using a tag sees the same object and its unsaved changes.
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "editing/Resource.h"
#include "editing/TagResource.h"

namespace tamber::editing {

class TagResourceManagerBase : public ResourceManager {
public:
    static constexpr uint32_t kNoTag = 0xFFFFFFFF;

    TagResourceManagerBase() = default;
    // Resources still held when the manager goes are destroyed with it.
    ~TagResourceManagerBase() override = default;
    TagResourceManagerBase(const TagResourceManagerBase&) = delete;
    TagResourceManagerBase& operator=(const TagResourceManagerBase&) = delete;

    // The shared resource of the tag, loaded on first use; none for tagid kNoTag,
    // an unknown tag or an unreadable payload. Every success must be released.
    TagResource* Acquire(uint32_t group, uint32_t tagid);
    TagResource* Acquire(TagRecord* record);
    // A new tag (tagid kNoTag lets the Codex choose one) with default content and
    // no file yet; none when the tag exists or cannot be created.
    TagResource* CreateNew(uint32_t group, const std::string& name, uint32_t tagid);
    // Drops one use; the last one destroys the resource.
    void Release(TagResource* resource);

    TagResource* Find(const TagRecord* record) const;
    size_t Count() const { return resources_.size(); }

protected:
    // A new, unloaded resource of the concrete class for the record.
    virtual std::unique_ptr<TagResource> MakeResource(TagRecord* record) = 0;

private:
    TagResource* Insert(std::unique_ptr<TagResource> resource);

    std::map<const TagRecord*, std::unique_ptr<TagResource>> resources_;
};

template <class T>
class TagResourceManager : public TagResourceManagerBase {
public:
    T* Acquire(uint32_t group, uint32_t tagid) { return static_cast<T*>(TagResourceManagerBase::Acquire(group, tagid)); }
    T* Acquire(TagRecord* record) { return static_cast<T*>(TagResourceManagerBase::Acquire(record)); }
    T* CreateNew(uint32_t group, const std::string& name, uint32_t tagid) {
        return static_cast<T*>(TagResourceManagerBase::CreateNew(group, name, tagid));
    }

protected:
    std::unique_ptr<TagResource> MakeResource(TagRecord* record) override { return std::make_unique<T>(record); }
};

}  // namespace tamber::editing
