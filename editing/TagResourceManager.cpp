#include "editing/TagResourceManager.h"

#include <cassert>
#include <optional>

#include "tags/Codex.h"
#include "tags/TagOperations.h"

namespace tamber::editing {
using namespace tamber::tags;

TagResource* TagResourceManagerBase::Acquire(uint32_t group, uint32_t tagid) {
    if (tagid == kNoTag) return nullptr;
    return Acquire(Codex::Instance().FindTag(group, tagid));
}

TagResource* TagResourceManagerBase::Acquire(TagRecord* record) {
    if (!record) return nullptr;
    if (TagResource* shared = Find(record)) {
        ++shared->refCount_;
        return shared;
    }
    std::unique_ptr<TagResource> resource = MakeResource(record);
    if (!resource || !resource->Load()) return nullptr;
    return Insert(std::move(resource));
}

TagResource* TagResourceManagerBase::CreateNew(uint32_t group, const std::string& name, uint32_t tagid) {
    const std::optional<uint32_t> wanted = tagid == kNoTag ? std::nullopt : std::optional<uint32_t>(tagid);
    Result<NewTag> created = CreateTag(Codex::Instance(), group, wanted, name, false);
    if (!created) return nullptr;
    TagRecord* record = created->record;
    const TagHeader header = created->header;
    std::unique_ptr<TagResource> resource = MakeResource(record);
    if (!resource) {
        Codex::Instance().DestroyRecordIfUnused(record);
        return nullptr;
    }
    resource->header_ = header;
    resource->InitNew();
    return Insert(std::move(resource));
}

TagResource* TagResourceManagerBase::Insert(std::unique_ptr<TagResource> resource) {
    resource->refCount_ = 1;
    std::unique_ptr<TagResource>& slot = resources_[resource->Record()];
    // One resource per record: a second would split the users' changes.
    assert(!slot && "a tag has one shared resource");
    slot = std::move(resource);
    return slot.get();
}

void TagResourceManagerBase::Release(TagResource* resource) {
    if (!resource) return;
    if (resource->refCount_ > 0) --resource->refCount_;
    if (resource->refCount_ > 0) return;
    auto it = resources_.find(resource->Record());
    assert(it != resources_.end() && it->second.get() == resource);
    if (it != resources_.end() && it->second.get() == resource) resources_.erase(it);
}

TagResource* TagResourceManagerBase::Find(const TagRecord* record) const {
    auto it = resources_.find(record);
    return it == resources_.end() ? nullptr : it->second.get();
}

}  // namespace tamber::editing
