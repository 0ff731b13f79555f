#pragma once
// Every change to tags on disk: creating, writing, copying, duplicating, renaming
// and deleting loose tags, and unpacking an archive into a folder. Archives are
// never modified. Writes go to a temporary file renamed over the target when
// complete, so a failed save or overwrite leaves the previous loose copy as it was.
#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>

#include "base/Result.h"
#include "tags/Codex.h"

namespace tamber::tags {
using namespace tamber::base;

// A tag made by CreateTag: its record and the header to write it with.
struct NewTag {
    TagRecord* record;
    TagHeader header;
};

// A new tag record for a group and tagid (made from the name when none is given).
// Writes no file: an overwritten tag's loose file is replaced by the next write
// of the record, and only once that write is complete. A failure is logged to the
// "Codex" channel and its reason is the error.
Result<NewTag> CreateTag(Codex& codex, uint32_t group, std::optional<uint32_t> tagid, const std::string& name,
                         bool allowOverwrite);
// Starts writing the record's loose file; returns the stream positioned after the
// 64-byte header (the caller writes the data).
Result<FILE*> BeginTagWrite(Codex& codex, TagRecord* record, const TagHeader& header,
                            const std::string* name = nullptr);
// Completes the header (size, user and version from `takeFrom`), replaces the
// loose file and updates the local entry. A failure leaves the old file untouched.
Status FinishTagWrite(Codex& codex, TagRecord* record, const TagHeader* takeFrom, bool dataWritten);
Status CopyTagToLocal(Codex& codex, TagRecord* record);
Result<TagRecord*> DuplicateTag(Codex& codex, TagRecord* record, const std::string* name = nullptr);
// Renames and/or re-identifies a tag's loose copy (made first when the tag has
// none); returns the record now holding the tag.
Result<TagRecord*> ChangeTagInfo(Codex& codex, TagRecord* record, std::optional<uint32_t> newTagid,
                                 const std::string* newName);
Status DeleteLocalTag(Codex& codex, TagRecord* record);

// Called after each entry is unpacked, with the file's path and how its write went.
using UnpackListener = std::function<void(const std::string& path, const Status& written)>;
// Unpacks every entry into loose files under `destination` (group sub-folders),
// going on past entries it cannot write; fails when any entry failed.
Status DisassembleArchive(Archive* archive, const std::string& destination, const UnpackListener& listener = {});

// Copies exactly `size` bytes between streams.
Status CopyTagBytes(FILE* from, FILE* to, uint64_t size);

class TagPrompts;
// CreateTag that asks "Overwrite Tag?" when a tag of that tagid or file name
// exists, and overwrites only when the user chooses "Overwrite" (refusing is a
// failure whose message says so).
Result<NewTag> CreateTagAsking(Codex& codex, TagPrompts& prompts, uint32_t group, std::optional<uint32_t> tagid,
                               const std::string& name);

}  // namespace tamber::tags
