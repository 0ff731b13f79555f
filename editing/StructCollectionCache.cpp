#include "editing/StructCollectionCache.h"

#include <map>
#include <memory>
#include <span>
#include <utility>
#include <vector>

#include "collections/CollectionFile.h"
#include "editing/AttachmentKinds.h"
#include "tags/Codex.h"

namespace tamber::editing {
using namespace tamber::collections;
using namespace tamber::tags;

namespace {

constexpr uint32_t kReferenceGroup = FourCC("core");
constexpr uint32_t kNoTag = 0xFFFFFFFF;
// A collection payload larger than this is not read for a sequence list.
constexpr uint32_t kMaxCollectionBytes = 256u << 20;

struct CacheEntry {
    uint32_t group = 0;
    uint32_t tagid = kNoTag;
    TagRecord* record = nullptr;
    Collection* collection = nullptr;
};

using CacheKey = std::pair<const void*, const StructMember*>;

std::map<CacheKey, CacheEntry>& Cache() {
    static std::map<CacheKey, CacheEntry> cache;
    return cache;
}

// Owns every loaded collection while an editor is attached to its record.
std::map<const Collection*, std::unique_ptr<Collection>>& Loaded() {
    static std::map<const Collection*, std::unique_ptr<Collection>> loaded;
    return loaded;
}

// The payload of the tag's current copy, at most maxBytes long.
bool ReadPayload(TagRecord* record, uint32_t maxBytes, std::vector<uint8_t>& bytes, TagHeader& header) {
    Codex& codex = Codex::Instance();
    const TagEntry* entry = codex.CurrentEntry(record);
    if (!entry || entry->header.size > maxBytes) return false;
    header = entry->header;
    Result<FILE*> stream = codex.OpenTagData(record);
    if (!stream) return false;
    bytes.resize(header.size);
    const bool read = std::fread(bytes.data(), 1, bytes.size(), *stream) == bytes.size();
    codex.CloseTagData(record);
    return read;
}

// The collection tagid at the start of a reference tag's payload (big-endian).
uint32_t ReferencedCollection(uint32_t tagid) {
    Codex& codex = Codex::Instance();
    TagRecord* reference = codex.FindTag(kReferenceGroup, tagid);
    const TagEntry* entry = reference ? codex.CurrentEntry(reference) : nullptr;
    if (!entry || entry->header.size < 4) return kNoTag;
    Result<FILE*> stream = codex.OpenTagData(reference);
    uint8_t word[4];
    const bool read = stream && std::fread(word, 1, 4, *stream) == 4;
    codex.CloseTagData(reference);
    if (!read) return kNoTag;
    return uint32_t(word[0]) << 24 | uint32_t(word[1]) << 16 | uint32_t(word[2]) << 8 | word[3];
}

void Release(CacheEntry& entry) {
    if (entry.record && entry.collection) {
        if (Codex::Instance().DetachFromTag(entry.record, kAttachStructCollection, entry.collection) <= 0) {
            Loaded().erase(entry.collection);
        }
    }
    entry.record = nullptr;
    entry.collection = nullptr;
}

void Load(CacheEntry& entry) {
    const uint32_t collectionId = entry.group == kReferenceGroup ? ReferencedCollection(entry.tagid) : entry.tagid;
    if (collectionId == kNoTag) return;
    Codex& codex = Codex::Instance();
    TagRecord* record = codex.FindTag(kCollectionGroupCode, collectionId);
    if (!record) return;
    auto* collection = static_cast<Collection*>(codex.FindAttachment(record, kAttachStructCollection));
    if (!collection) {
        std::vector<uint8_t> bytes;
        TagHeader header;
        if (!ReadPayload(record, kMaxCollectionBytes, bytes, header)) return;
        Result<std::unique_ptr<Collection>> read = ReadCollection(std::span<const uint8_t>(bytes), header.user, false);
        if (!read) return;
        collection = read->get();
        Loaded()[collection] = std::move(read).value();
    }
    codex.AttachToTag(record, kAttachStructCollection, collection);
    entry.record = record;
    entry.collection = collection;
}

}  // namespace

bool IsCollectionGroup(uint32_t group) { return group == kCollectionGroupCode || group == kReferenceGroup; }

Collection* CachedCollection(const void* editor, const StructMember* member, uint32_t group, uint32_t tagid) {
    if (!IsCollectionGroup(group)) return nullptr;
    auto [it, inserted] = Cache().try_emplace(CacheKey{editor, member});
    CacheEntry& entry = it->second;
    if (!inserted && entry.group == group && entry.tagid == tagid) return entry.collection;
    Release(entry);
    entry.group = group;
    entry.tagid = tagid;
    Load(entry);
    return entry.collection;
}

void DropCachedCollections(const void* editor) {
    auto& cache = Cache();
    for (auto it = cache.begin(); it != cache.end();) {
        if (it->first.first == editor) {
            Release(it->second);
            it = cache.erase(it);
        } else {
            ++it;
        }
    }
}

int CachedCollectionCount(const void* editor) {
    int count = 0;
    for (const auto& [key, entry] : Cache()) count += key.first == editor && entry.collection;
    return count;
}

}  // namespace tamber::editing
