#pragma once
// Every change to tags on disk: creating, writing, copying, duplicating, renaming
// and deleting loose tags, and unpacking an archive into a folder. Archives are
// never modified. Writes go to a temporary file renamed over the target when
// complete, so a failed save leaves the previous loose copy as it was.
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "tags/Codex.h"

namespace tamber::tags {

// A new tag record for a group and tagid (made from the name when none is given).
// Writes no file. On failure returns none, logs the reason to the "Codex" channel
// and, when asked, hands the reason back.
TagRecord* CreateTag(Codex& codex, uint32_t group, std::optional<uint32_t> tagid, const std::string& name,
                     bool allowOverwrite, TagHeader* outHeader, std::string* reason = nullptr);
// Starts writing the record's loose file; returns the stream positioned after the
// 64-byte header (the caller writes the data), or none.
FILE* BeginTagWrite(Codex& codex, TagRecord* record, const TagHeader& header, const std::string* name = nullptr);
// Completes the header (size, user and version from `takeFrom`), replaces the
// loose file and updates the local entry. False leaves the old file untouched.
bool FinishTagWrite(Codex& codex, TagRecord* record, const TagHeader* takeFrom, bool dataWritten);
bool CopyTagToLocal(Codex& codex, TagRecord* record);
TagRecord* DuplicateTag(Codex& codex, TagRecord* record, const std::string* name = nullptr);
// Renames and/or re-identifies a tag's loose copy (made first when the tag has
// none); returns the record now holding the tag, or none.
TagRecord* ChangeTagInfo(Codex& codex, TagRecord* record, std::optional<uint32_t> newTagid,
                         const std::string* newName);
bool DeleteLocalTag(Codex& codex, TagRecord* record);
// Unpacks every entry into loose files under `destination` (group sub-folders).
bool DisassembleArchive(Archive* archive, const std::string& destination);

// Copies exactly `size` bytes between streams; false on a short read or write.
bool CopyTagBytes(FILE* from, FILE* to, uint64_t size);

class TagPrompts;
// CreateTag that asks "Overwrite Tag?" when a tag of that tagid or file name
// exists, and overwrites only when the user chooses "Overwrite".
TagRecord* CreateTagAsking(Codex& codex, TagPrompts& prompts, uint32_t group, std::optional<uint32_t> tagid,
                           const std::string& name, TagHeader* outHeader);

}  // namespace tamber::tags
