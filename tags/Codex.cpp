#include "tags/Codex.h"

#include <algorithm>
#include <strings.h>

#include "base/MessageLog.h"
#include "platform/fs/InputFile.h"
#include "platform/fs/TemporaryFiles.h"
#include "tags/LooseTagFile.h"
#include "tags/TagGroups.h"
#include "tags/WorkingSet.h"

namespace tamber::tags {
using namespace tamber::base;

namespace {

bool BetterArchiveEntry(const TagEntry* a, const TagEntry* b) {
    if (a->rank != b->rank) return a->rank > b->rank;
    if (a->archive->header.priority != b->archive->header.priority) {
        return a->archive->header.priority > b->archive->header.priority;
    }
    return a->archive->fileName > b->archive->fileName;
}

}  // namespace

std::string NormaliseFolderPath(const std::string& path) {
    std::string result = path;
    for (char& c : result) {
        if (c == '\\') c = '/';
        else if (c == '*' || c == '?' || c == '<' || c == '>' || c == '|') c = '_';
    }
    if (result.empty() || result.back() != '/') result += '/';
    return result;
}

bool IsIgnoredFileName(const std::string& name) {
    if (name == "." || name == ".." || strcasecmp(name.c_str(), ".ds_store") == 0 ||
        strcasecmp(name.c_str(), "thumbs.db") == 0 || strcasecmp(name.c_str(), "desktop.ini") == 0) {
        return true;
    }
    // Temporary files of writes in progress (or interrupted) are never tags.
    return IsTemporaryFileName(name);
}

Codex::Codex() = default;

Codex::~Codex() {
    // Records own their loose entries; archive entries go with their archives.
    index_.Clear();
    archives_.clear();
}

Codex& Codex::Instance() {
    static Codex codex;
    return codex;
}

// ---- Building and closing ----

void Codex::Init(const std::string& gameFolder) {
    Close();
    if (hooks_) hooks_->CloseBrowser();
    gameFolder_ = NormaliseFolderPath(gameFolder);
    LoadArchiveFolders();
    SetLocalFolder(gameFolder_ + "local");
    ApplyDefaultWorkingSet(*this);
    if (hooks_) hooks_->OpenBrowser();
}

void Codex::ReloadArchives() {
    if (hooks_) hooks_->CloseBrowser();
    std::vector<Archive*> loaded;
    for (const auto& archive : archives_) loaded.push_back(archive.get());
    for (Archive* archive : loaded) UnloadArchive(archive);  // archives in use stay
    LoadArchiveFolders();
    ApplyDefaultWorkingSet(*this);
    if (hooks_) hooks_->OpenBrowser();
}

void Codex::LoadArchiveFolders() {
    // Read every archive first, so the index grows once for all of them.
    std::vector<std::unique_ptr<Archive>> read;
    size_t entries = index_.Size();
    for (const char* sub : {"tags", "plugins"}) {
        const std::string folder = NormaliseFolderPath(gameFolder_ + sub);
        Result<std::vector<FolderItem>> items = ListFolder(folder);
        if (!items) continue;
        for (const FolderItem& item : *items) {
            if (item.status.isFolder || IsIgnoredFileName(item.name)) continue;
            const std::string path = folder + item.name;
            if (FindArchiveByPath(path)) continue;  // kept open through the close
            // Files that are not archives are skipped without a message.
            if (Result<std::unique_ptr<Archive>> archive = ReadArchive(path)) {
                entries += (*archive)->entries.size();
                read.push_back(std::move(*archive));
            }
        }
    }
    index_.Reserve(entries);
    for (auto& archive : read) IndexArchive(std::move(archive));
}

bool Codex::Close() {
    bool all = true;
    std::vector<Archive*> loaded;
    for (auto& archive : archives_) loaded.push_back(archive.get());
    for (Archive* archive : loaded) all = UnloadArchive(archive) && all;
    if (!all) return false;
    if (!RemoveAllLooseEntries()) return false;
    ClearWatch();
    return true;
}

Archive* Codex::LoadArchive(const std::string& path) {
    if (Archive* existing = FindArchiveByPath(path)) return existing;
    Result<std::unique_ptr<Archive>> archive = ReadArchive(path);
    return archive ? IndexArchive(std::move(*archive)) : nullptr;
}

Archive* Codex::IndexArchive(std::unique_ptr<Archive> archive) {
    archive->loadIndex = nextLoadIndex_++;
    // Table slots are scattered: ask for each one a few entries before it is needed.
    constexpr size_t kAhead = 8;
    std::vector<TagEntry>& entries = archive->entries;
    for (size_t i = 0; i < std::min(kAhead, entries.size()); ++i)
        index_.Prefetch(entries[i].header.group, entries[i].header.tagid);
    for (size_t i = 0; i < entries.size(); ++i) {
        if (i + kAhead < entries.size())
            index_.Prefetch(entries[i + kAhead].header.group, entries[i + kAhead].header.tagid);
        LinkEntry(index_.FindOrCreate(entries[i].header.group, entries[i].header.tagid), &entries[i]);
    }
    archives_.push_back(std::move(archive));
    Archive* loaded = archives_.back().get();
    if (!loaded->entries.empty()) changed_ = true;
    Notify(kCodexArchiveAdded, nullptr, loaded);
    return loaded;
}

bool Codex::UnloadArchive(Archive* archive) {
    auto it = std::find_if(archives_.begin(), archives_.end(), [&](const auto& a) { return a.get() == archive; });
    if (it == archives_.end()) return false;
    Notify(kCodexArchiveRemoving, nullptr, archive);
    for (const TagEntry& entry : archive->entries) {
        if (entry.record && entry.record->IsOpen()) return false;
    }
    for (TagEntry& entry : archive->entries) {
        TagRecord* record = entry.record;
        if (!record) continue;
        UnlinkEntry(&entry);
        DestroyRecordIfUnused(record);
    }
    if (!archive->entries.empty()) changed_ = true;
    // The listener may have reordered the list; look the archive up again.
    it = std::find_if(archives_.begin(), archives_.end(), [&](const auto& a) { return a.get() == archive; });
    archives_.erase(it);
    return true;
}

Archive* Codex::FindArchiveByPath(const std::string& path) const {
    for (const auto& archive : archives_) {
        if (archive->path == path) return archive.get();
    }
    return nullptr;
}

Archive* Codex::FindArchiveByName(const std::string& fileName) const {
    for (const auto& archive : archives_) {
        if (archive->fileName == fileName) return archive.get();
    }
    return nullptr;
}

Archive* Codex::ArchiveAt(size_t index) const { return index < archives_.size() ? archives_[index].get() : nullptr; }

// ---- Records and entries ----

void Codex::LinkEntry(TagRecord* record, TagEntry* entry) {
    entry->record = record;
    entry->next = nullptr;
    TagEntry** tail = &record->entries;
    while (*tail) tail = &(*tail)->next;
    *tail = entry;
}

void Codex::UnlinkEntry(TagEntry* entry) {
    TagRecord* record = entry->record;
    if (!record) return;
    for (TagEntry** link = &record->entries; *link; link = &(*link)->next) {
        if (*link == entry) {
            *link = entry->next;
            break;
        }
    }
    entry->next = nullptr;
    entry->record = nullptr;
}

TagRecord* Codex::FindTagRecord(uint32_t group, uint32_t tagid) const { return index_.Find(group, tagid); }

TagRecord* Codex::FindTag(uint32_t group, uint32_t tagid) const {
    TagRecord* record = FindTagRecord(group, tagid);
    return record && CurrentEntry(record) ? record : nullptr;
}

TagRecord* Codex::FindOrCreateTagRecord(uint32_t group, uint32_t tagid) {
    return index_.FindOrCreate(group, tagid);
}

bool Codex::DestroyRecordIfUnused(TagRecord* record) {
    if (!record || record->entries || record->IsOpen() || record->write) return false;
    localRecords_.erase(record);
    index_.Erase(record);
    return true;
}

TagEntry* Codex::CurrentEntry(const TagRecord* record) const {
    if (!record) return nullptr;
    if (record->localEntry) return record->localEntry.get();
    TagEntry* best = nullptr;
    for (TagEntry* e = record->entries; e; e = e->next) {
        if (!e->archive || !e->archive->active) continue;
        if (!best || BetterArchiveEntry(e, best)) best = e;
    }
    return best;
}

TagEntry* Codex::EntryOfRank(const TagRecord* record, int rank) const {
    if (!record) return nullptr;
    if (rank == kLooseRank) return record->localEntry.get();
    TagEntry* best = nullptr;
    for (TagEntry* e = record->entries; e; e = e->next) {
        if (e->archive && e->rank == rank && (!best || e->archive->header.priority > best->archive->header.priority)) {
            best = e;
        }
    }
    return best;
}

bool Codex::HasActiveArchiveEntry(const TagRecord* record) const {
    for (TagEntry* e = record ? record->entries : nullptr; e; e = e->next) {
        if (e->archive && e->archive->active) return true;
    }
    return false;
}

std::string Codex::TagLocationName(const TagRecord* record) const {
    const TagEntry* entry = CurrentEntry(record);
    if (!entry) return "unknown";
    return entry->archive ? entry->archive->fileName : "local folder";
}

TagEntry* Codex::SetLocalEntry(TagRecord* record, const TagHeader& header, const std::string& path) {
    if (record->localEntry) {
        record->localEntry->header = header;
        *record->localEntry->path = path;
        return record->localEntry.get();
    }
    auto entry = std::make_unique<TagEntry>();
    entry->header = header;
    entry->path = std::make_unique<std::string>(path);
    entry->rank = kLooseRank;
    record->localEntry = std::move(entry);
    localRecords_.insert(record);
    LinkEntry(record, record->localEntry.get());
    changed_ = true;
    return record->localEntry.get();
}

void Codex::RemoveLocalEntry(TagRecord* record) {
    if (!record || !record->localEntry) return;
    const bool archived = HasActiveArchiveEntry(record);
    if (!archived) Notify(kCodexTagRemoved, record);
    if (!record->localEntry) return;  // a listener removed it
    UnlinkEntry(record->localEntry.get());
    record->localEntry.reset();
    localRecords_.erase(record);
    changed_ = true;
    if (archived) Notify(kCodexTagChanged, record);
    DestroyRecordIfUnused(record);
}

// ---- Lists ----

std::vector<TagRecord*> Codex::TagsOfArchive(const Archive* archive) const {
    std::vector<TagRecord*> records;
    if (!archive) return records;
    records.reserve(archive->entries.size());
    for (const TagEntry& entry : archive->entries) {
        if (entry.record) records.push_back(entry.record);
    }
    return records;
}

std::vector<TagRecord*> Codex::TagsOfGroup(uint32_t group) const {
    std::vector<TagRecord*> records;
    index_.ForEach([&](TagRecord* record) {
        if (record->group == group && CurrentEntry(record)) records.push_back(record);
    });
    return records;
}

std::vector<TagRecord*> Codex::LocalTags() const {
    return std::vector<TagRecord*>(localRecords_.begin(), localRecords_.end());
}

std::vector<TagRecord*> Codex::FoundationTags() const {
    std::vector<TagRecord*> records;
    index_.ForEach([&](TagRecord* record) {
        if (!CurrentEntry(record)) return;
        for (TagEntry* e = record->entries; e; e = e->next) {
            if (e->archive && e->rank == 0) {
                records.push_back(record);
                return;
            }
        }
    });
    return records;
}

std::vector<TagRecord*> Codex::AllCurrentTags() const {
    std::vector<TagRecord*> records;
    index_.ForEach([&](TagRecord* record) {
        if (CurrentEntry(record)) records.push_back(record);
    });
    return records;
}

size_t Codex::RecordCount() const { return index_.Size(); }

int Codex::CountOpenTags() const {
    int count = 0;
    index_.ForEach([&](TagRecord* record) {
        if (record->IsOpen() && CurrentEntry(record)) count += record->OpenCount();
    });
    return count;
}

// ---- Attachments ----

namespace {

TagAttachment* FindMatchingAttachment(TagRecord* record, uint32_t kind, void* object) {
    for (TagAttachment& a : record->attachments) {
        if (a.kind == kind && (a.object == object || !a.object || !object)) return &a;
    }
    return nullptr;
}

}  // namespace

int Codex::AttachToTag(TagRecord* record, uint32_t kind, void* object) {
    if (!record) return 0;
    if (TagAttachment* a = FindMatchingAttachment(record, kind, object)) return ++a->useCount;
    record->attachments.push_back({kind, 1, object});
    return 1;
}

int Codex::DetachFromTag(TagRecord* record, uint32_t kind, void* object) {
    if (!record) return 0;
    TagAttachment* a = FindMatchingAttachment(record, kind, object);
    if (!a) return 0;
    const int remaining = --a->useCount;
    if (remaining <= 0) {
        *a = record->attachments.back();
        record->attachments.pop_back();
        if (record->attachments.empty()) DestroyRecordIfUnused(record);
    }
    return remaining;
}

void* Codex::FindAttachment(const TagRecord* record, uint32_t kind) const {
    if (!record) return nullptr;
    for (const TagAttachment& a : record->attachments) {
        if (a.kind == kind) return a.object;
    }
    return nullptr;
}

// ---- Data ----

Result<FILE*> Codex::OpenTagData(TagRecord* record) {
    if (!record) return Fail("no tag was given");
    record->CloseDataFile();
    TagEntry* entry = CurrentEntry(record);
    if (!entry) return Fail("the tag has no current copy");
    if (!entry->IsLoose()) {
        Result<UniqueFile> file = OpenEntryData(*entry);
        if (!file) return std::move(file).TakeError();
        record->dataFile = std::move(*file);
        return record->dataFile.get();
    }
    // The entry's own path: the file name may differ from the header's name.
    const std::string& path = *entry->path;
    Result<InputFile> input = OpenInputFile(path, kMaxTagFileSize);
    TagHeader header;
    Status read = !input ? Status(std::move(input).TakeError())
                         : ReadLooseTagHeader(input->file.get(), input->size, PathFileName(path), header);
    if (read && std::fseek(input->file.get(), kTagHeaderSize, SEEK_SET) != 0) read = Fail("the data cannot be reached");
    if (!read) {
        LogMessage(1, "Codex", "couldn't open local file '%s' for reading: %s\n", path.c_str(), read.error().c_str());
        return Fail("couldn't open local file '" + path + "' for reading: " + read.error());
    }
    entry->header.size = header.size;
    record->dataFile = std::move(input->file);
    return record->dataFile.get();
}

void Codex::CloseTagData(TagRecord* record) {
    if (record) record->CloseDataFile();
}

Result<std::vector<uint8_t>> ReadCurrentTagData(Codex& codex, TagRecord* record) {
    Result<FILE*> file = codex.OpenTagData(record);
    if (!file) return std::move(file).TakeError();
    // Opening a loose file refreshes the entry's size from the file itself.
    const TagEntry* entry = codex.CurrentEntry(record);
    std::vector<uint8_t> data(entry->header.size);
    const bool read = data.empty() || std::fread(data.data(), 1, data.size(), *file) == data.size();
    codex.CloseTagData(record);
    if (!read) return Fail("couldn't read the data of '" + entry->header.Name() + "': the file ends early");
    return data;
}

// ---- Listeners ----

void Codex::AddListener(CodexListener callback, void* context) {
    auto pair = std::make_pair(callback, context);
    if (std::find(listeners_.begin(), listeners_.end(), pair) == listeners_.end()) listeners_.push_back(pair);
}

void Codex::RemoveListener(CodexListener callback, void* context) {
    listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), std::make_pair(callback, context)),
                     listeners_.end());
}

void Codex::Notify(int event, TagRecord* record, Archive* archive, uintptr_t value) {
    if (listeners_.empty()) return;
    const CodexEvent e{event, record, archive, value};
    const auto listeners = listeners_;  // a listener may remove itself
    for (const auto& [callback, context] : listeners) callback(e, context);
}

// ---- Tag ids ----

void MakeTagId(Codex& codex, TagHeader& header) {
    header.tagid = TagIdFromName(header.Name());
    while (codex.FindTag(header.group, header.tagid)) ++header.tagid;
}

}  // namespace tamber::tags
