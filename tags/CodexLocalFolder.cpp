// The Codex's local folder: one watched folder per tag group, compared name by
// name with its previous listing whenever it may have changed.
#include <algorithm>

#include "base/MessageLog.h"
#include "platform/fs/TemporaryFiles.h"
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
        UnlinkEntry(record->localEntry.get());
        record->localEntry.reset();
        localRecords_.erase(record);
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
    const FolderReader reader(folder.path);
    Result<std::vector<FolderItem>> items = folder.status.isFolder ? reader.List() : std::vector<FolderItem>{};
    // A folder that cannot be listed keeps what was known of it, and is reported.
    folder.unreadable = items ? std::string() : items.error();
    if (!items) {
        LogMessage(1, "Codex", "%s\n", items.error().c_str());
        return;
    }
    listing.reserve(items->size());
    for (FolderItem& item : *items) {
        if (IsTemporaryFileName(item.name)) reader.RemoveStaleTemporary(item.name);  // left by a killed write
        if (item.status.isFolder || IsIgnoredFileName(item.name)) continue;
        LooseFile& file = listing.emplace_back();
        file.name = std::move(item.name);
        file.status = item.status;
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
            now.unreadable = old[i].unreadable;
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

Result<std::optional<TagHeader>> Codex::ReadLooseFile(const FolderReader& reader, const LooseFile& file) const {
    if (file.status.size < kTagHeaderSize) return std::optional<TagHeader>();
    uint8_t raw[kTagHeaderSize];
    if (Status read = reader.ReadStart(file.name, raw, sizeof raw); !read) return std::move(read).TakeError();
    TagHeader header;
    if (!ParseLooseTagHeader(raw, file.status.size, file.name, header)) return std::optional<TagHeader>();
    return std::optional<TagHeader>(header);
}

std::vector<UnreadableLooseFile> Codex::UnreadableLooseFiles() const {
    std::vector<UnreadableLooseFile> files;
    for (const WatchedFolder& folder : folders_) {
        if (!folder.unreadable.empty()) files.push_back({folder.group, folder.path, folder.unreadable});
        for (const LooseFile& file : folder.files) {
            if (!file.unreadable.empty()) files.push_back({folder.group, folder.path + file.name, file.unreadable});
        }
    }
    return files;
}

void Codex::AddLooseFile(WatchedFolder& folder, const FolderReader& reader, LooseFile& file) {
    file.indexed = false;
    const std::string path = folder.path + file.name;
    Result<std::optional<TagHeader>> read = ReadLooseFile(reader, file);
    file.unreadable = read ? std::string() : read.error();
    if (!read) {
        LogMessage(1, "Codex", "couldn't open local file '%s' for reading: %s\n", path.c_str(), read.error().c_str());
        return;
    }
    if (!*read) return;  // not a tag: ignored without a message
    const TagHeader& header = **read;
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
    TagRecord* record = FindTagRecord(folder.group, file.tagid);
    const bool own = record && record->localEntry && *record->localEntry->path == path;
    Result<std::optional<TagHeader>> read = own ? ReadLooseFile(reader, file) : std::optional<TagHeader>();
    if (read && *read && (*read)->group == folder.group && (*read)->tagid == file.tagid) {
        record->localEntry->header = **read;
        Notify(kCodexTagChanged, record);
        return;
    }
    RemoveLooseFile(folder, file);
    AddLooseFile(folder, reader, file);
}

}  // namespace tamber::tags
