// The Codex's local folder: one watched folder per tag group, compared name by
// name with its previous listing whenever it may have changed.
#include <algorithm>

#include "base/MessageLog.h"
#include "tags/Codex.h"
#include "tags/LooseTagFile.h"
#include "tags/TagGroups.h"

namespace tamber::tags {
using namespace tamber::base;

std::string Codex::LocalTagPath(uint32_t group, const std::string& fileName) const {
    return localFolder_ + TagGroupFolderName(group) + "/" + fileName;
}

bool Codex::RemoveAllLooseEntries() {
    std::vector<TagRecord*> local = LocalTags();
    for (TagRecord* record : local) {
        if (record->IsOpen()) return false;
    }
    for (TagRecord* record : local) {
        TagEntry* entry = record->localEntry;
        UnlinkEntry(entry);
        record->localEntry = nullptr;
        localRecords_.erase(record);
        delete entry;
        changed_ = true;
        DestroyRecordIfUnused(record);
    }
    return true;
}

void Codex::ClearWatch() {
    watcher_.RemoveAll();
    folders_.clear();
    localWatchId_ = -1;
    parentWatchId_ = -1;
}

bool Codex::SetLocalFolder(const std::string& path) {
    if (!RemoveAllLooseEntries()) return false;
    ClearWatch();
    localFolder_ = NormaliseFolderPath(path);
    folders_.resize(kTagGroupCount);
    for (int i = 0; i < kTagGroupCount; ++i) {
        folders_[i].group = TagGroupAt(i).code;
        folders_[i].path = localFolder_ + TagGroupFolderName(folders_[i].group) + "/";
    }
    ScanLocalFolders(true);
    changed_ = false;
    return true;
}

void Codex::RefreshLocalFolder(bool force) {
    if (folders_.empty()) {
        changed_ = false;
        return;
    }
    ScanLocalFolders(force);
    changed_ = false;
}

void Codex::ScanLocalFolders(bool force) {
    bool overflowed = false;
    const std::vector<int> fired = watcher_.Poll(overflowed);
    if (!force && !changed_ && fired.empty() && !overflowed) return;

    // A new group folder shows in the local folder's own watch or status.
    const FileStatus local = GetFileStatus(localFolder_);
    if (parentWatchId_ < 0) {
        const size_t slash = localFolder_.find_last_of('/', localFolder_.size() - 2);
        parentWatchId_ = watcher_.Add(slash == std::string::npos ? "." : localFolder_.substr(0, slash + 1));
    }
    if (local.isFolder && localWatchId_ < 0) localWatchId_ = watcher_.Add(localFolder_);
    if (!local.isFolder) localWatchId_ = -1;

    for (WatchedFolder& folder : folders_) {
        const bool notified =
            overflowed || (folder.watchId >= 0 && std::find(fired.begin(), fired.end(), folder.watchId) != fired.end());
        const FileStatus status = GetFileStatus(folder.path);
        if (!notified && status == folder.status) continue;
        folder.status = status;
        if (status.isFolder && folder.watchId < 0) folder.watchId = watcher_.Add(folder.path);
        if (!status.isFolder && folder.watchId >= 0) {
            watcher_.Remove(folder.watchId);  // the folder disappeared
            folder.watchId = -1;
        }
        ScanFolder(folder);
    }
}

void Codex::ScanFolder(WatchedFolder& folder) {
    std::vector<LooseFile> listing;
    std::vector<FolderItem> items;
    const FolderReader reader(folder.path);
    if (folder.status.isFolder && reader.List(items)) {
        listing.reserve(items.size());
        for (FolderItem& item : items) {
            if (item.status.isFolder || IsIgnoredFileName(item.name)) continue;
            listing.push_back({std::move(item.name), item.status});
        }
    }

    // Both listings are sorted by name. Removals go first, so that a renamed file
    // is taken off its old entry before it is added under its new name.
    std::vector<LooseFile>& old = folder.files;
    std::vector<size_t> added, changed;
    size_t i = 0, j = 0;
    while (i < old.size() || j < listing.size()) {
        if (j == listing.size() || (i < old.size() && old[i].name < listing[j].name)) {
            RemoveLooseFile(folder, old[i++]);
        } else if (i == old.size() || listing[j].name < old[i].name) {
            added.push_back(j++);
        } else {
            LooseFile& now = listing[j];
            now.tagid = old[i].tagid;
            now.indexed = old[i].indexed;
            const FileStatus& was = old[i].status;
            // A new inode means the file was replaced, even within one clock tick.
            if (was.size != now.status.size || was.modifiedNs != now.status.modifiedNs || was.inode != now.status.inode ||
                was.readable != now.status.readable || was.writable != now.status.writable) {
                changed.push_back(j);
            }
            ++i;
            ++j;
        }
    }
    for (size_t k : changed) ChangeLooseFile(folder, reader, listing[k]);
    for (size_t k : added) AddLooseFile(folder, reader, listing[k]);
    folder.files = std::move(listing);
}

bool Codex::ReadLooseFile(const FolderReader& reader, const LooseFile& file, TagHeader& header) const {
    uint8_t raw[kTagHeaderSize];
    return file.status.size >= kTagHeaderSize && reader.ReadStart(file.name, raw, sizeof raw) &&
           ParseLooseTagHeader(raw, file.status.size, file.name, header);
}

void Codex::AddLooseFile(WatchedFolder& folder, const FolderReader& reader, LooseFile& file) {
    file.indexed = false;
    TagHeader header;
    if (!ReadLooseFile(reader, file, header)) return;
    const std::string path = folder.path + file.name;
    if (header.group != folder.group) {
        if (const TagGroup* group = FindTagGroup(header.group)) {
            const std::string folderName = TagGroupFolderName(folder.group);
            LogMessage(1, "Codex", "'%s', a '%s' file, was found in the '%s' folder.\n", file.name.c_str(),
                       group->singular, folderName.c_str());
        }
        return;
    }
    TagRecord* record = FindOrCreateTagRecord(header.group, header.tagid);
    if (record->localEntry) {
        if (*record->localEntry->path != path) {
            LogMessage(1, "Codex", "duplicate tagids detected: in the '%s' folder, '%s' and '%s' have the same tagids.\n",
                       folder.path.c_str(), record->localEntry->path->c_str(), path.c_str());
            return;
        }
    } else {
        SetLocalEntry(record, header, path);
    }
    file.tagid = header.tagid;
    file.indexed = true;
    Notify(HasActiveArchiveEntry(record) ? kCodexTagChanged : kCodexTagAdded, record);
}

void Codex::RemoveLooseFile(WatchedFolder& folder, LooseFile& file) {
    if (!file.indexed) return;
    file.indexed = false;
    TagRecord* record = FindTagRecord(folder.group, file.tagid);
    if (!record || !record->localEntry || *record->localEntry->path != folder.path + file.name) return;
    // An open tag keeps its loose entry; saving it writes the file again.
    if (record->IsOpen()) return;
    RemoveLocalEntry(record);
}

void Codex::ChangeLooseFile(WatchedFolder& folder, const FolderReader& reader, LooseFile& file) {
    if (!file.indexed) {
        AddLooseFile(folder, reader, file);
        return;
    }
    const std::string path = folder.path + file.name;
    TagHeader header;
    TagRecord* record = FindTagRecord(folder.group, file.tagid);
    const bool own = record && record->localEntry && *record->localEntry->path == path;
    if (own && ReadLooseFile(reader, file, header) && header.group == folder.group && header.tagid == file.tagid) {
        record->localEntry->header = header;
        Notify(kCodexTagChanged, record);
        return;
    }
    RemoveLooseFile(folder, file);
    AddLooseFile(folder, reader, file);
}

}  // namespace tamber::tags
