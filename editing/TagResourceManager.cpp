#include "editing/TagResourceManager.h"

#include <optional>

#include "tags/Codex.h"
#include "tags/TagOperations.h"

namespace tamber::editing {
using namespace tamber::tags;

TagResourceManagerBase::~TagResourceManagerBase() {
    for (auto& [record, resource] : resources_) delete resource;
}

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
    TagResource* resource = MakeResource(record);
    if (!resource) return nullptr;
    if (!resource->Load()) {
        delete resource;
        return nullptr;
    }
    return Insert(resource);
}

TagResource* TagResourceManagerBase::CreateNew(uint32_t group, const std::string& name, uint32_t tagid) {
    TagHeader header{};
    const std::optional<uint32_t> wanted = tagid == kNoTag ? std::nullopt : std::optional<uint32_t>(tagid);
    TagRecord* record = CreateTag(Codex::Instance(), group, wanted, name, false, &header);
    if (!record) return nullptr;
    TagResource* resource = MakeResource(record);
    if (!resource) {
        Codex::Instance().DestroyRecordIfUnused(record);
        return nullptr;
    }
    resource->header_ = header;
    resource->InitNew();
    return Insert(resource);
}

TagResource* TagResourceManagerBase::Insert(TagResource* resource) {
    resources_[resource->Record()] = resource;
    resource->refCount_ = 1;
    return resource;
}

void TagResourceManagerBase::Release(TagResource* resource) {
    if (!resource) return;
    if (resource->refCount_ > 0) --resource->refCount_;
    if (resource->refCount_ > 0) return;
    auto it = resources_.find(resource->Record());
    if (it != resources_.end() && it->second == resource) resources_.erase(it);
    delete resource;
}

TagResource* TagResourceManagerBase::Find(const TagRecord* record) const {
    auto it = resources_.find(record);
    return it == resources_.end() ? nullptr : it->second;
}

}  // namespace tamber::editing
