#include "tags/TagOperations.h"

#include <cstring>
#include <vector>

#include "platform/fs/AtomicFileWriter.h"
#include "platform/fs/FileSystem.h"
#include "base/MessageLog.h"
#include "tags/LooseTagFile.h"
#include "tags/TagGroups.h"
#include "tags/TagPrompts.h"

namespace tamber::tags {
using namespace tamber::platform;
using namespace tamber::base;

namespace {

const char* const kReasonSameTagid = "A file with the same tagid already exists";
const char* const kReasonSameName = "A file with the same name already exists";
const char* const kReasonNotOverwritten = "An existing file could not be overwritten";

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

TagRecord* CreateTagLogged(Codex& codex, uint32_t group, std::optional<uint32_t> tagid, const std::string& name,
                           bool allowOverwrite, TagHeader* outHeader, std::string* reasonOut, bool log) {
    TagHeader header{};
    header.version = 1;
    header.ownerIndex = 255;
    header.signature = kTagSignature;
    header.group = group;
    SetTagName(header, name);
    if (tagid) header.tagid = *tagid;
    else MakeTagId(codex, header);

    std::string reason;
    if (TagRecord* existing = codex.FindTag(group, header.tagid)) {
        // An archived tag without a loose copy is simply overridden by the new file.
        if (!allowOverwrite) reason = kReasonSameTagid;
        else if (existing->localEntry && !DeleteLocalTag(codex, existing)) reason = kReasonNotOverwritten;
    }
    if (reason.empty()) {
        const std::string path = codex.LocalTagPath(group, TagFileName(header.Name()));
        TagHeader onDisk;
        if (ReadLooseTagHeader(path, onDisk)) {
            if (!allowOverwrite) {
                reason = kReasonSameName;
            } else {
                TagRecord* holder = codex.FindTagRecord(onDisk.group, onDisk.tagid);
                const bool indexed = holder && holder->localEntry && *holder->localEntry->path == path;
                if (indexed ? DeleteLocalTag(codex, holder) : RemoveFileIfPresent(path)) header.tagid = onDisk.tagid;
                else reason = kReasonNotOverwritten;
            }
        }
    }
    if (!reason.empty()) {
        if (log) {
            LogMessage(1, "Codex", "CreateTag(name='%s', tagid='%s', type='%s', allow_overwrite='%s') failed because '%s'.\n",
                       header.Name().c_str(), FourCCText(header.tagid).c_str(), TagGroupName(group).c_str(),
                       allowOverwrite ? "True" : "False", reason.c_str());
        }
        if (reasonOut) *reasonOut = reason;
        return nullptr;
    }
    TagRecord* record = codex.FindOrCreateTagRecord(group, header.tagid);
    if (outHeader) *outHeader = header;
    return record;
}

// Writes one loose tag file (header, then `size` bytes from `data`) through a
// temporary file; used to unpack archives.
bool WriteLooseCopy(const std::string& path, const TagHeader& header, FILE* data, uint64_t size) {
    AtomicFileWriter writer;
    if (!writer.Open(path)) return false;
    TagHeader loose = header;
    loose.size = static_cast<uint32_t>(size);
    if (!WriteTagHeader(loose, writer.File()) || !CopyTagBytes(data, writer.File(), size)) return false;
    return writer.Commit();
}

}  // namespace

bool CopyTagBytes(FILE* from, FILE* to, uint64_t size) {
    if (!from || !to) return false;
    std::vector<char> buffer(static_cast<size_t>(std::min<uint64_t>(size, 1 << 16)) + 1);
    while (size > 0) {
        const size_t chunk = static_cast<size_t>(std::min<uint64_t>(size, buffer.size()));
        if (std::fread(buffer.data(), 1, chunk, from) != chunk) return false;
        if (std::fwrite(buffer.data(), 1, chunk, to) != chunk) return false;
        size -= chunk;
    }
    return true;
}

TagRecord* CreateTag(Codex& codex, uint32_t group, std::optional<uint32_t> tagid, const std::string& name,
                     bool allowOverwrite, TagHeader* outHeader, std::string* reason) {
    return CreateTagLogged(codex, group, tagid, name, allowOverwrite, outHeader, reason, true);
}

TagRecord* CreateTagAsking(Codex& codex, TagPrompts& prompts, uint32_t group, std::optional<uint32_t> tagid,
                           const std::string& name, TagHeader* outHeader) {
    std::string reason;
    if (TagRecord* record = CreateTagLogged(codex, group, tagid, name, false, outHeader, &reason, false)) return record;
    if (reason != kReasonSameTagid && reason != kReasonSameName) {
        return CreateTag(codex, group, tagid, name, false, outHeader);  // reports the failure
    }
    const std::string text = "The tag '" + CleanTagName(name) + "' already exists. Do you want to overwrite it?";
    if (prompts.Ask("Overwrite Tag?", text, {"Overwrite", "Don't Overwrite"}) != 0) return nullptr;
    return CreateTag(codex, group, tagid, name, true, outHeader);
}

FILE* BeginTagWrite(Codex& codex, TagRecord* record, const TagHeader& header, const std::string* name) {
    if (!record) return nullptr;
    record->write.reset();  // a record holds at most one write
    const TagHeader loose = MakeLooseHeader(header, record->group, record->tagid);
    std::string fileName;
    if (name) fileName = TagFileName(*name);
    else if (record->localEntry) fileName = PathFileName(*record->localEntry->path);
    else fileName = TagFileName(loose.Name());

    auto write = std::make_unique<TagWrite>();
    write->name = fileName;
    write->path = codex.LocalTagPath(record->group, fileName);
    // The existing loose file is left alone: it is only replaced once the new one is complete.
    if (codex.LocalFolder().empty() || !MakeFolders(FolderOf(write->path)) || !write->writer.Open(write->path) ||
        !WriteTagHeader(loose, write->writer.File())) {
        LogMessage(1, "Codex", "couldn't open tag file '%s' for writing\n", loose.Name().c_str());
        return nullptr;
    }
    FILE* file = write->writer.File();
    record->write = std::move(write);
    return file;
}

bool FinishTagWrite(Codex& codex, TagRecord* record, const TagHeader* takeFrom, bool dataWritten) {
    if (!record || !record->write) return false;
    std::unique_ptr<TagWrite> write = std::move(record->write);
    FILE* file = write->writer.File();
    bool ok = dataWritten && std::fflush(file) == 0;
    TagHeader header{};
    if (ok) {
        const int64_t size = FileSizeOf(file);
        uint8_t raw[kTagHeaderSize];
        ok = size >= static_cast<int64_t>(kTagHeaderSize) && std::fseek(file, 0, SEEK_SET) == 0 &&
             std::fread(raw, 1, sizeof raw, file) == sizeof raw && UnpackAnyTagHeader(header, raw);
        if (ok) {
            if (header.Name().find("ixo made this") != std::string::npos) SetTagName(header, write->name);
            header.size = static_cast<uint32_t>(size - kTagHeaderSize);
            if (takeFrom) {
                header.user = takeFrom->user;
                header.version = takeFrom->version;
            }
            ok = std::fseek(file, 0, SEEK_SET) == 0 && WriteTagHeader(header, file) && write->writer.Commit();
        }
    }
    if (ok) codex.SetLocalEntry(record, header, write->path);
    else write->writer.Abort();  // the previous loose file stays as it was, and so does its entry
    record->CloseDataFile();
    codex.SetChanged();
    return ok;
}

bool CopyTagToLocal(Codex& codex, TagRecord* record) {
    if (!record || record->localEntry) return false;
    FILE* source = codex.OpenTagData(record);
    if (!source) return false;
    const TagHeader header = codex.CurrentEntry(record)->header;
    FILE* target = BeginTagWrite(codex, record, header);
    if (!target) {
        codex.CloseTagData(record);
        return false;
    }
    const bool copied = CopyTagBytes(source, target, header.size);
    const bool ok = FinishTagWrite(codex, record, nullptr, copied);
    codex.CloseTagData(record);
    return ok;
}

TagRecord* DuplicateTag(Codex& codex, TagRecord* record, const std::string* name) {
    if (!record) return nullptr;
    const uint32_t group = record->group;
    TagEntry* current = codex.CurrentEntry(record);
    TagHeader source{};
    if (current) {
        source = current->header;
    } else {
        source.group = group;
        SetTagName(source, "~codex_placeholder~");
    }
    const std::string base = name ? name->substr(0, kTagNameSize - 1) : source.Name();
    const std::string first = name ? base : (base + " copy").substr(0, kTagNameSize - 1);

    TagHeader created{};
    TagRecord* copy = CreateTag(codex, group, std::nullopt, first, false, &created);
    for (int i = 1; !copy && i <= 100; ++i) {
        // The number always fits: the name is shortened instead.
        const std::string suffix = " copy " + std::to_string(i);
        const std::string candidate = base.substr(0, kTagNameSize - 1 - suffix.size()) + suffix;
        copy = CreateTag(codex, group, std::nullopt, candidate, false, &created);
    }
    if (!copy) return nullptr;

    FILE* data = current ? codex.OpenTagData(record) : nullptr;
    FILE* target = (!current || data) ? BeginTagWrite(codex, copy, created) : nullptr;
    if (!target) {
        codex.CloseTagData(record);
        codex.DestroyRecordIfUnused(copy);
        return nullptr;
    }
    const bool copied = !current || CopyTagBytes(data, target, codex.CurrentEntry(record)->header.size);
    const bool ok = FinishTagWrite(codex, copy, &source, copied);
    codex.CloseTagData(record);
    if (!ok) {
        codex.DestroyRecordIfUnused(copy);
        return nullptr;
    }
    return copy;
}

namespace {

// Changes the loose copy's name and tagid; none on failure.
TagRecord* ChangeLooseTagInfo(Codex& codex, TagRecord* record, std::optional<uint32_t> newTagid,
                              const std::string* newName) {
    const uint32_t group = record->group;
    const uint32_t tagid = newTagid ? *newTagid : record->tagid;
    const std::string oldPath = *record->localEntry->path;
    std::string path = oldPath;
    TagHeader header = record->localEntry->header;

    if (newName) {
        SetTagName(header, *newName);
        const std::string newPath = FolderOf(oldPath) + TagFileName(*newName);
        if (newPath != oldPath) {
            // Never replaces another file of that name.
            if (!RenameNoReplace(oldPath, newPath)) {
                LogMessage(1, "Codex", "ChangeTagInfo: rename('%s','%s') failed.\n", oldPath.c_str(), newPath.c_str());
                return nullptr;
            }
            path = newPath;
            record->localEntry->header = header;
            *record->localEntry->path = newPath;
            codex.SetChanged();
        }
    }

    // Rewrite the file with the new header through a temporary file.
    header.tagid = tagid;
    header.signature = kTagSignature;
    header.offset = kTagHeaderSize;
    bool ok = false;
    if (FILE* in = std::fopen(path.c_str(), "rb")) {
        const int64_t size = FileSizeOf(in);
        AtomicFileWriter writer;
        if (size >= static_cast<int64_t>(kTagHeaderSize) && writer.Open(path)) {
            header.size = static_cast<uint32_t>(size - kTagHeaderSize);
            ok = WriteTagHeader(header, writer.File()) && std::fseek(in, kTagHeaderSize, SEEK_SET) == 0 &&
                 CopyTagBytes(in, writer.File(), header.size) && writer.Commit();
        }
        std::fclose(in);
    }
    if (!ok) {
        LogMessage(1, "Codex", "ChangeTagInfo: header update failed on '%s'.\n", path.c_str());
        return nullptr;
    }
    // The file now holds another tagid: its old record loses the entry, open or not.
    if (tagid != record->tagid) codex.RemoveLocalEntry(record);
    codex.SetChanged();
    codex.RefreshLocalFolder(true);
    TagRecord* found = codex.FindTag(group, tagid);
    if (!found) {
        LogMessage(1, "Codex", "ChangeTagInfo: no '%s' tag with the tagid '%s' was found after the header update.\n",
                   TagGroupName(group).c_str(), FourCCText(tagid).c_str());
    }
    return found;
}

}  // namespace

TagRecord* ChangeTagInfo(Codex& codex, TagRecord* record, std::optional<uint32_t> newTagid, const std::string* newName) {
    if (!record) return nullptr;
    if (!newTagid && !newName) return record;
    if (record->localEntry) return ChangeLooseTagInfo(codex, record, newTagid, newName);
    // A tag without a loose copy is changed in a duplicate; a change that fails
    // takes the duplicate away again rather than leave a stray copy behind.
    TagRecord* copy = DuplicateTag(codex, record, nullptr);
    if (!copy) return nullptr;
    codex.RefreshLocalFolder(true);
    if (!copy->localEntry) return nullptr;
    TagRecord* changed = ChangeLooseTagInfo(codex, copy, newTagid, newName);
    if (!changed && copy->localEntry) DeleteLocalTag(codex, copy);
    return changed;
}

bool DeleteLocalTag(Codex& codex, TagRecord* record) {
    if (!record || record->IsOpen() || !record->localEntry) return false;
    const bool gone = RemoveFileIfPresent(*record->localEntry->path);
    if (gone) codex.RemoveLocalEntry(record);
    if (codex.IsChanged()) codex.RefreshLocalFolder(false);
    return gone;
}

bool DisassembleArchive(Archive* archive, const std::string& destination) {
    if (!archive) return true;
    FILE* source = std::fopen(archive->path.c_str(), "rb");
    if (!source) return true;
    const std::string root = NormaliseFolderPath(destination);
    for (const TagEntry& entry : archive->entries) {
        const TagHeader& h = entry.header;
        // Folder and file names come from the archive: both are made safe names.
        const std::string folder = root + TagGroupFolderName(h.group) + "/";
        const std::string path = folder + TagFileName(h.Name());
        if (!MakeFolders(folder) || ::fseeko(source, static_cast<off_t>(h.offset), SEEK_SET) != 0) continue;
        WriteLooseCopy(path, MakeLooseHeader(h, h.group, h.tagid), source, h.size);
    }
    std::fclose(source);
    return true;
}

}  // namespace tamber::tags
