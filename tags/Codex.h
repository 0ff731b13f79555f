#pragma once
// The Codex: the index of every tag in the game folder's archives (tags/, plugins/)
// and loose files (local/). For each group and tagid it keeps every copy and picks
// the current one; it watches the local folder, tells listeners about changes and
// refuses to drop anything that is still in use.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "base/Result.h"
#include "platform/fs/FileSystem.h"
#include "platform/fs/FolderReader.h"
#include "platform/fs/FolderWatcher.h"
#include "tags/Archive.h"
#include "tags/TagIndex.h"
#include "tags/TagRecord.h"

namespace tamber::tags {
using namespace tamber::base;
using namespace tamber::platform;

enum CodexEventCode {
    kCodexTagAdded = 1,
    kCodexTagChanged = 2,
    kCodexTagContentChanged = 3,
    kCodexTagRemoved = 4,
    kCodexActiveSetChanged = 5,
    kCodexArchiveAdded = 6,
    kCodexArchiveRemoving = 7,
};

struct CodexEvent {
    int code;
    TagRecord* record;  // tag events
    Archive* archive;   // archive events
    uintptr_t value;
};
using CodexListener = void (*)(const CodexEvent& event, void* context);

// What the Codex asks of the window program around a rebuild (the archive
// browser closes before and opens after). The default does nothing.
class CodexHooks {
public:
    virtual ~CodexHooks() = default;
    virtual void CloseBrowser() {}
    virtual void OpenBrowser() {}
};

constexpr uint32_t kAttachTagResource = FourCC("tres");
constexpr uint32_t kAttachTagInfo = FourCC("info");

// `\` becomes `/`; `*`, `?`, `<`, `>`, `|` become `_`; a trailing `/` is added.
std::string NormaliseFolderPath(const std::string& path);
// Names skipped in every listing: the desktop's own files and unfinished writes.
bool IsIgnoredFileName(const std::string& name);

// A file of a group folder in the local folder that could not be read, and why.
struct UnreadableLooseFile {
    uint32_t group;
    std::string path;
    std::string reason;
};

class Codex {
public:
    Codex();
    ~Codex();
    Codex(const Codex&) = delete;
    Codex& operator=(const Codex&) = delete;

    static Codex& Instance();

    // Rebuilds everything from a game folder: archives of tags/ and plugins/,
    // the local folder, the default working set.
    void Init(const std::string& gameFolder);
    // Unloads all archives and loose entries; false when something is still open.
    bool Close();
    // Unloads every archive that can be unloaded and reads tags/ and plugins/ again
    // (the archive browser closes around it and applies the stored working set).
    void ReloadArchives();
    void SetHooks(CodexHooks* hooks) { hooks_ = hooks; }
    const std::string& GameFolder() const { return gameFolder_; }

    Archive* LoadArchive(const std::string& path);
    bool UnloadArchive(Archive* archive);
    Archive* FindArchiveByPath(const std::string& path) const;
    Archive* FindArchiveByName(const std::string& fileName) const;
    Archive* ArchiveAt(size_t index) const;
    size_t ArchiveCount() const { return archives_.size(); }
    // The archive list in its current order; the working set reorders it.
    std::vector<std::unique_ptr<Archive>>& ArchiveList() { return archives_; }

    // Replaces the local folder and scans it. False (nothing changed) while a
    // loose tag is open.
    bool SetLocalFolder(const std::string& path);
    const std::string& LocalFolder() const { return localFolder_; }
    // Scans the watched folders when forced, when the changed flag is set or when
    // a watch fired; clears the flag.
    void RefreshLocalFolder(bool force);
    void SetChanged() { changed_ = true; }
    bool IsChanged() const { return changed_; }
    // Path of a loose tag file of this group in the local folder.
    std::string LocalTagPath(uint32_t group, const std::string& fileName) const;
    // The folder that writes into the local folder must stay inside: the game
    // folder, or the local folder when no game folder was given.
    std::string WriteRoot() const { return gameFolder_.empty() ? localFolder_ : gameFolder_; }
    // Files of the group folders that the last scans could not read (each was
    // reported once in the "Codex" channel), in folder and name order.
    std::vector<UnreadableLooseFile> UnreadableLooseFiles() const;

    TagRecord* FindTag(uint32_t group, uint32_t tagid) const;
    TagRecord* FindTagRecord(uint32_t group, uint32_t tagid) const;  // with or without a current entry
    TagRecord* FindOrCreateTagRecord(uint32_t group, uint32_t tagid);
    TagEntry* CurrentEntry(const TagRecord* record) const;
    TagEntry* EntryOfRank(const TagRecord* record, int rank) const;
    bool HasActiveArchiveEntry(const TagRecord* record) const;
    std::string TagLocationName(const TagRecord* record) const;

    std::vector<TagRecord*> TagsOfArchive(const Archive* archive) const;
    std::vector<TagRecord*> TagsOfGroup(uint32_t group) const;
    std::vector<TagRecord*> LocalTags() const;
    std::vector<TagRecord*> FoundationTags() const;
    std::vector<TagRecord*> AllCurrentTags() const;
    size_t RecordCount() const;
    int CountOpenTags() const;

    int AttachToTag(TagRecord* record, uint32_t kind, void* object);
    // Returns the remaining use count; the record is destroyed when nothing uses
    // or holds it any more.
    int DetachFromTag(TagRecord* record, uint32_t kind, void* object);
    void* FindAttachment(const TagRecord* record, uint32_t kind) const;

    // A stream positioned at the current entry's data, owned by the record until
    // the next call, CloseTagData or the end of a write.
    Result<FILE*> OpenTagData(TagRecord* record);
    void CloseTagData(TagRecord* record);

    void AddListener(CodexListener callback, void* context);
    void RemoveListener(CodexListener callback, void* context);
    void Notify(int event, TagRecord* record, Archive* archive = nullptr, uintptr_t value = 0);

    // Local entries, used by the scanner and the tag operations.
    TagEntry* SetLocalEntry(TagRecord* record, const TagHeader& header, const std::string& path);
    // Removes the local entry, telling listeners (event 2 when an active archive
    // still has the tag, else event 4); the record goes when nothing holds it.
    void RemoveLocalEntry(TagRecord* record);
    // Destroys the record when it has no entries, attachments or write.
    bool DestroyRecordIfUnused(TagRecord* record);

private:
    struct LooseFile {
        std::string name;
        FileStatus status;
        uint32_t tagid = 0;
        bool indexed = false;  // its header made the local entry of tagid
        std::string unreadable;  // why the file could not be read, when it could not
    };
    struct WatchedFolder {
        uint32_t group = 0;
        std::string path;  // with a trailing '/'
        int watchId = -1;
        bool fired = false;
        FileStatus status;
        std::vector<LooseFile> files;
        std::string unreadable;  // why the folder could not be listed, when it could not
    };

    Archive* IndexArchive(std::unique_ptr<Archive> archive);
    void LoadArchiveFolders();
    void LinkEntry(TagRecord* record, TagEntry* entry);
    void UnlinkEntry(TagEntry* entry);
    bool RemoveAllLooseEntries();
    void ClearWatch();
    void ScanLocalFolders(bool force);
    void ScanFolder(WatchedFolder& folder);
    // The file's header; none (without a reason) for a file too short to be a tag.
    Result<std::optional<TagHeader>> ReadLooseFile(const FolderReader& reader, const LooseFile& file) const;
    void AddLooseFile(WatchedFolder& folder, const FolderReader& reader, LooseFile& file);
    void RemoveLooseFile(WatchedFolder& folder, LooseFile& file);
    void ChangeLooseFile(WatchedFolder& folder, const FolderReader& reader, LooseFile& file);

    std::string gameFolder_;
    std::string localFolder_;
    std::vector<std::unique_ptr<Archive>> archives_;
    uint32_t nextLoadIndex_ = 0;
    TagIndex index_;
    std::unordered_set<TagRecord*> localRecords_;  // records with a local entry
    std::vector<std::pair<CodexListener, void*>> listeners_;
    CodexHooks* hooks_ = nullptr;

    FolderWatcher watcher_;
    std::vector<WatchedFolder> folders_;
    int localWatchId_ = -1;
    int parentWatchId_ = -1;  // the local folder's parent, to see the local folder appear
    bool changed_ = false;
};

// The whole payload of a tag's current copy (the header's size, which a loose file's
// own size corrects).
Result<std::vector<uint8_t>> ReadCurrentTagData(Codex& codex, TagRecord* record);

// The process-wide Codex, rebuilt from the VeskPath preference (default ".").
void InitCodex();
bool CloseCodex();
// Fills the header's tagid from its name and group, counted up while taken.
void MakeTagId(Codex& codex, TagHeader& header);

}  // namespace tamber::tags
