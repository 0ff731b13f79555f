#include "tags/TagOperations.h"

#include <cerrno>
#include <cstring>
#include <vector>

#include "base/MessageLog.h"
#include "platform/fs/AtomicFileWriter.h"
#include "platform/fs/FileErrors.h"
#include "platform/fs/FileSystem.h"
#include "platform/fs/FolderBounds.h"
#include "platform/fs/InputFile.h"
#include "tags/LooseTagFile.h"
#include "tags/TagGroups.h"
#include "tags/TagPrompts.h"

namespace tamber::tags {
using namespace tamber::platform;

namespace {

const char* const kReasonSameTagid = "A file with the same tagid already exists";
const char* const kReasonSameName = "A file with the same name already exists";
const char* const kReasonNotOverwritten = "An existing file could not be overwritten";

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

Result<NewTag> CreateTagLogged(Codex& codex, uint32_t group, std::optional<uint32_t> tagid, const std::string& name,
                               bool allowOverwrite, bool log) {
    TagHeader header{};
    header.version = 1;
    header.ownerIndex = 255;
    header.signature = kTagSignature;
    header.group = group;
    SetTagName(header, name);
    if (tagid) header.tagid = *tagid;
    else MakeTagId(codex, header);

    // Files the new tag replaces stay on disk until its first write is complete.
    std::vector<std::string> superseded;
    std::string reason;
    if (TagRecord* existing = codex.FindTag(group, header.tagid)) {
        // An archived tag without a loose copy is simply overridden by the new file.
        if (!allowOverwrite) reason = kReasonSameTagid;
        else if (existing->localEntry && existing->IsOpen()) reason = kReasonNotOverwritten;
        else if (existing->localEntry) superseded.push_back(*existing->localEntry->path);
    }
    if (reason.empty()) {
        const std::string path = codex.LocalTagPath(group, TagFileName(header.Name()));
        if (Result<TagHeader> onDisk = ReadLooseTagHeader(path)) {
            const TagRecord* holder = codex.FindTagRecord(onDisk->group, onDisk->tagid);
            const bool open = holder && holder->localEntry && *holder->localEntry->path == path && holder->IsOpen();
            if (!allowOverwrite) reason = kReasonSameName;
            else if (open) reason = kReasonNotOverwritten;
            else header.tagid = onDisk->tagid;  // the write's rename replaces that file
        }
    }
    if (!reason.empty()) {
        if (log) {
            LogMessage(1, "Codex", "CreateTag(name='%s', tagid='%s', type='%s', allow_overwrite='%s') failed because '%s'.\n",
                       header.Name().c_str(), FourCCText(header.tagid).c_str(), TagGroupName(group).c_str(),
                       allowOverwrite ? "True" : "False", reason.c_str());
        }
        return Fail(reason);
    }
    TagRecord* record = codex.FindOrCreateTagRecord(group, header.tagid);
    record->superseded = std::move(superseded);
    return NewTag{record, header};
}

// Writes one loose tag file (header, then `size` bytes from `data`) through a
// temporary file; used to unpack archives.
Status WriteLooseCopy(const std::string& path, const TagHeader& header, FILE* data, uint64_t size) {
    AtomicFileWriter writer;
    if (Status opened = writer.Open(path); !opened) return opened;
    TagHeader loose = header;
    loose.size = static_cast<uint32_t>(size);
    if (!WriteTagHeader(loose, writer.File())) return writer.WriteFailure();
    if (Status copied = CopyTagBytes(data, writer.File(), size); !copied) return Fail("'" + path + "': " + copied.error());
    return writer.Commit();
}

// The loose files a completed write made obsolete (the tag it overwrote under
// another name) are removed now that the new file is in place.
void RemoveSuperseded(const std::vector<std::string>& superseded, const std::string& written) {
    for (const std::string& path : superseded) {
        if (path == written) continue;
        if (Status removed = RemoveFileIfPresent(path); !removed)
            LogMessage(1, "Codex", "%s\n", removed.error().c_str());
    }
}

}  // namespace

Status CopyTagBytes(FILE* from, FILE* to, uint64_t size) {
    if (!from || !to) return Fail("no file is open");
    std::vector<char> buffer(static_cast<size_t>(std::min<uint64_t>(size, 1 << 16)) + 1);
    while (size > 0) {
        const size_t chunk = static_cast<size_t>(std::min<uint64_t>(size, buffer.size()));
        if (std::fread(buffer.data(), 1, chunk, from) != chunk)
            return Fail(std::ferror(from) ? "the tag's data cannot be read: " + SystemReason(errno)
                                          : std::string("the tag's data ends early"));
        if (std::fwrite(buffer.data(), 1, chunk, to) != chunk) return Fail(SystemReason(errno));
        size -= chunk;
    }
    return Ok();
}

Result<NewTag> CreateTag(Codex& codex, uint32_t group, std::optional<uint32_t> tagid, const std::string& name,
                         bool allowOverwrite) {
    return CreateTagLogged(codex, group, tagid, name, allowOverwrite, true);
}

Result<NewTag> CreateTagAsking(Codex& codex, TagPrompts& prompts, uint32_t group, std::optional<uint32_t> tagid,
                               const std::string& name) {
    Result<NewTag> created = CreateTagLogged(codex, group, tagid, name, false, false);
    if (created) return created;
    if (created.error() != kReasonSameTagid && created.error() != kReasonSameName)
        return CreateTag(codex, group, tagid, name, false);  // reports the failure
    const std::string text = "The tag '" + CleanTagName(name) + "' already exists. Do you want to overwrite it?";
    if (prompts.Ask("Overwrite Tag?", text, {"Overwrite", "Don't Overwrite"}) != 0)
        return Fail("The tag '" + CleanTagName(name) + "' was not overwritten");
    return CreateTag(codex, group, tagid, name, true);
}

Result<FILE*> BeginTagWrite(Codex& codex, TagRecord* record, const TagHeader& header, const std::string* name) {
    if (!record) return Fail("no tag was given");
    record->write.reset();  // a record holds at most one write
    const TagHeader loose = MakeLooseHeader(header, record->group, record->tagid);
    // A save keeps the existing loose file's name, unless it overwrites another tag.
    std::string fileName;
    if (name) fileName = TagFileName(*name);
    else if (record->localEntry && record->superseded.empty()) fileName = PathFileName(*record->localEntry->path);
    else fileName = TagFileName(loose.Name());

    auto write = std::make_unique<TagWrite>();
    write->name = fileName;
    write->path = codex.LocalTagPath(record->group, fileName);
    // The existing loose file is left alone: it is only replaced once the new one is complete.
    Status ready = codex.LocalFolder().empty() ? Status(Fail("no local folder is set"))
                                               : MakeFoldersInside(codex.WriteRoot(), FolderOf(write->path));
    if (ready) ready = write->writer.Open(write->path);
    if (ready && !WriteTagHeader(loose, write->writer.File())) ready = write->writer.WriteFailure();
    if (!ready) {
        record->superseded.clear();
        LogMessage(1, "Codex", "couldn't open tag file '%s' for writing: %s\n", loose.Name().c_str(),
                   ready.error().c_str());
        return Fail("couldn't open tag file '" + loose.Name() + "' for writing: " + ready.error());
    }
    FILE* file = write->writer.File();
    record->write = std::move(write);
    return file;
}

Status FinishTagWrite(Codex& codex, TagRecord* record, const TagHeader* takeFrom, bool dataWritten) {
    if (!record || !record->write) return Fail("no tag is being written");
    std::unique_ptr<TagWrite> write = std::move(record->write);
    const std::vector<std::string> superseded = std::move(record->superseded);
    record->superseded.clear();
    AtomicFileWriter& writer = write->writer;
    FILE* file = writer.File();
    Status done = Ok();
    if (!dataWritten) done = std::ferror(file) ? Status(writer.WriteFailure()) : Status(Fail("the tag's data could not be written"));
    if (done && std::fflush(file) != 0) done = writer.WriteFailure();
    TagHeader header{};
    if (done) {
        const Result<uint64_t> size = FileSizeOf(file);
        uint8_t raw[kTagHeaderSize];
        if (!size || *size < kTagHeaderSize || *size - kTagHeaderSize > UINT32_MAX || std::fseek(file, 0, SEEK_SET) != 0 ||
            std::fread(raw, 1, sizeof raw, file) != sizeof raw || !UnpackAnyTagHeader(header, raw)) {
            done = Fail("the header written to '" + write->path + "' cannot be read back");
        } else {
            if (header.Name().find("ixo made this") != std::string::npos) SetTagName(header, write->name);
            header.size = static_cast<uint32_t>(*size - kTagHeaderSize);
            if (takeFrom) {
                header.user = takeFrom->user;
                header.version = takeFrom->version;
            }
            if (std::fseek(file, 0, SEEK_SET) != 0 || !WriteTagHeader(header, file)) done = writer.WriteFailure();
        }
    }
    if (done) done = writer.Commit();
    if (done) {
        codex.SetLocalEntry(record, header, write->path);
        RemoveSuperseded(superseded, write->path);
    } else {
        writer.Abort();  // the previous loose file stays as it was, and so does its entry
        LogMessage(1, "Codex", "couldn't write the tag file '%s': %s\n", write->path.c_str(), done.error().c_str());
    }
    record->CloseDataFile();
    codex.SetChanged();
    return done;
}

Status CopyTagToLocal(Codex& codex, TagRecord* record) {
    if (!record) return Fail("no tag was given");
    if (record->localEntry) return Fail("the tag has a copy in the local folder already");
    Result<FILE*> source = codex.OpenTagData(record);
    if (!source) return std::move(source).TakeError();
    const TagHeader header = codex.CurrentEntry(record)->header;
    Result<FILE*> target = BeginTagWrite(codex, record, header);
    if (!target) {
        codex.CloseTagData(record);
        return std::move(target).TakeError();
    }
    const Status copied = CopyTagBytes(*source, *target, header.size);
    Status finished = FinishTagWrite(codex, record, nullptr, copied.ok());
    codex.CloseTagData(record);
    if (!copied) return Fail("couldn't copy '" + header.Name() + "': " + copied.error());
    return finished;
}

Result<TagRecord*> DuplicateTag(Codex& codex, TagRecord* record, const std::string* name) {
    if (!record) return Fail("no tag was given");
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

    Result<NewTag> created = CreateTag(codex, group, std::nullopt, first, false);
    for (int i = 1; !created && i <= 100; ++i) {
        // The number always fits: the name is shortened instead.
        const std::string suffix = " copy " + std::to_string(i);
        const std::string candidate = base.substr(0, kTagNameSize - 1 - suffix.size()) + suffix;
        created = CreateTag(codex, group, std::nullopt, candidate, false);
    }
    if (!created) return Fail("no free name was found for a copy of '" + source.Name() + "'");
    TagRecord* copy = created->record;

    Result<FILE*> data = current ? codex.OpenTagData(record) : Result<FILE*>(nullptr);
    Result<FILE*> target = data ? BeginTagWrite(codex, copy, created->header) : std::move(data).TakeError();
    if (!target) {
        codex.CloseTagData(record);
        codex.DestroyRecordIfUnused(copy);
        return std::move(target).TakeError();
    }
    const Status copied = current ? CopyTagBytes(*data, *target, codex.CurrentEntry(record)->header.size) : Ok();
    const Status finished = FinishTagWrite(codex, copy, &source, copied.ok());
    codex.CloseTagData(record);
    if (!copied || !finished) {
        codex.DestroyRecordIfUnused(copy);
        return Fail("couldn't duplicate '" + source.Name() + "': " + (copied ? finished.error() : copied.error()));
    }
    return copy;
}

namespace {

// Writes the loose file again with a new header, through a temporary file.
Status RewriteLooseHeader(const std::string& path, TagHeader& header) {
    Result<InputFile> in = OpenInputFile(path, kMaxTagFileSize);
    if (!in) return Fail("couldn't read '" + path + "': " + in.error());
    if (in->size < kTagHeaderSize) return Fail("'" + path + "' is too short to be a tag");
    AtomicFileWriter writer;
    if (Status opened = writer.Open(path); !opened) return opened;
    header.size = static_cast<uint32_t>(in->size - kTagHeaderSize);
    if (!WriteTagHeader(header, writer.File())) return writer.WriteFailure();
    if (std::fseek(in->file.get(), kTagHeaderSize, SEEK_SET) != 0) return FileFailure("read", path, errno);
    if (Status copied = CopyTagBytes(in->file.get(), writer.File(), header.size); !copied) return copied;
    return writer.Commit();
}

// Changes the loose copy's name and tagid.
Result<TagRecord*> ChangeLooseTagInfo(Codex& codex, TagRecord* record, std::optional<uint32_t> newTagid,
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
            if (Status renamed = RenameNoReplace(oldPath, newPath); !renamed) {
                LogMessage(1, "Codex", "ChangeTagInfo: rename('%s','%s') failed.\n", oldPath.c_str(), newPath.c_str());
                return std::move(renamed).TakeError();
            }
            path = newPath;
            record->localEntry->header = header;
            *record->localEntry->path = newPath;
            codex.SetChanged();
        }
    }

    header.tagid = tagid;
    header.signature = kTagSignature;
    header.offset = kTagHeaderSize;
    if (Status rewritten = RewriteLooseHeader(path, header); !rewritten) {
        LogMessage(1, "Codex", "ChangeTagInfo: header update failed on '%s'.\n", path.c_str());
        return std::move(rewritten).TakeError();
    }
    // The file now holds another tagid: its old record loses the entry, open or not.
    if (tagid != record->tagid) codex.RemoveLocalEntry(record);
    codex.SetChanged();
    codex.RefreshLocalFolder(true);
    TagRecord* found = codex.FindTag(group, tagid);
    if (!found) {
        LogMessage(1, "Codex", "ChangeTagInfo: no '%s' tag with the tagid '%s' was found after the header update.\n",
                   TagGroupName(group).c_str(), FourCCText(tagid).c_str());
        return Fail("the changed tag was not found in the local folder");
    }
    return found;
}

}  // namespace

Result<TagRecord*> ChangeTagInfo(Codex& codex, TagRecord* record, std::optional<uint32_t> newTagid,
                                 const std::string* newName) {
    if (!record) return Fail("no tag was given");
    if (!newTagid && !newName) return record;
    if (record->localEntry) return ChangeLooseTagInfo(codex, record, newTagid, newName);
    // A tag without a loose copy is changed in a duplicate; a change that fails
    // takes the duplicate away again rather than leave a stray copy behind.
    Result<TagRecord*> copy = DuplicateTag(codex, record, nullptr);
    if (!copy) return copy;
    codex.RefreshLocalFolder(true);
    if (!(*copy)->localEntry) return Fail("the copy of the tag was not found in the local folder");
    Result<TagRecord*> changed = ChangeLooseTagInfo(codex, *copy, newTagid, newName);
    if (!changed && (*copy)->localEntry) (void)DeleteLocalTag(codex, *copy);
    return changed;
}

Status DeleteLocalTag(Codex& codex, TagRecord* record) {
    if (!record || !record->localEntry) return Fail("the tag has no copy in the local folder");
    if (record->IsOpen()) return Fail("'" + record->localEntry->header.Name() + "' is open");
    Status gone = RemoveFileIfPresent(*record->localEntry->path);
    if (gone) codex.RemoveLocalEntry(record);
    if (codex.IsChanged()) codex.RefreshLocalFolder(false);
    return gone;
}

Status DisassembleArchive(Archive* archive, const std::string& destination, const UnpackListener& listener) {
    if (!archive) return Fail("no archive was given");
    Result<InputFile> source = OpenInputFile(archive->path, UINT64_MAX);
    if (!source) return Fail("couldn't read '" + archive->path + "': " + source.error());
    const std::string root = NormaliseFolderPath(destination);
    size_t failed = 0;
    for (const TagEntry& entry : archive->entries) {
        const TagHeader& h = entry.header;
        // Folder and file names come from the archive: both are made safe names.
        const std::string folder = root + TagGroupFolderName(h.group) + "/";
        const std::string path = folder + TagFileName(h.Name());
        Status written = MakeFoldersInside(root, folder);
        if (written && ::fseeko(source->file.get(), static_cast<off_t>(h.offset), SEEK_SET) != 0)
            written = FileFailure("read", archive->path, errno);
        if (written) written = WriteLooseCopy(path, MakeLooseHeader(h, h.group, h.tagid), source->file.get(), h.size);
        if (!written) ++failed;
        if (listener) listener(path, written);
    }
    if (failed)
        return Fail(std::to_string(failed) + " of " + std::to_string(archive->entries.size()) + " tag" +
                    (archive->entries.size() == 1 ? "" : "s") + " could not be written");
    return Ok();
}

}  // namespace tamber::tags
