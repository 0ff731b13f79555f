#pragma once
// Where the commands get tags from: a game folder indexed by the Codex exactly as
// the desktop program indexes it, and a tag named either by a loose tag file or
// by GAMEFOLDER GROUP TAGID (its current copy).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/Result.h"
#include "platform/fs/InputFile.h"
#include "tags/Codex.h"
#include "tags/TagHeader.h"

namespace tamber::cli {
using namespace tamber::base;
using namespace tamber::tags;

// Indexes the game folder with the default working set, or with exactly the
// archives named in `workingSet` (file names, comma-separated) when it is not
// empty. Fails when the folder is missing or a name is unknown.
Status OpenGameFolder(Codex& codex, const std::string& folder, const std::string& workingSet);

// A group given as its four-character code (".256") or its plural name
// ("collections", any letter case).
std::optional<uint32_t> ParseGroupArgument(const std::string& text);
// A tagid of one to four characters (shorter ones are padded with blanks).
std::optional<uint32_t> ParseTagIdArgument(const std::string& text);

struct TagData {
    TagHeader header{};
    std::vector<uint8_t> payload;
    std::string origin;  // the file, or where the current copy lies
};

// Reads the tag's current copy: its header and exactly `size` data bytes.
Result<TagData> ReadCurrentTag(Codex& codex, TagRecord* record);
// Opens a loose tag file (a regular file of bounded size) and reads its header
// (validated); the file is left at the start of the data.
Result<platform::InputFile> OpenTagFile(const std::string& path, TagHeader& header);
// Reads a loose tag file: header (validated) and data.
Result<TagData> ReadTagFile(const std::string& path);

// Whether the words form a TAG-OR-FILE argument: one word (a loose tag file) or
// three (GAMEFOLDER GROUP TAGID); the failure is a usage error.
Status CheckTagArgument(const std::vector<std::string>& words);
// The record a well-formed GAMEFOLDER GROUP TAGID argument names, the folder indexed.
Result<TagRecord*> FindTagArgument(Codex& codex, const std::vector<std::string>& words);
// Reads the tag a well-formed TAG-OR-FILE argument names.
Result<TagData> LoadTagArgument(const std::vector<std::string>& words);

// Output helpers.
std::string JsonString(const std::string& text);
// Text from a file with control characters (tabs, line ends) shown as '?', so
// that each listed item stays one line of tab-separated fields.
std::string PrintableText(std::string text);
std::string TagIdText(uint32_t code);  // the four characters, printable
// Refuses to replace an existing file unless forced.
Status MayWrite(const std::string& path, bool force);
// Refuses existing files unless forced, then makes the folder they go into.
Status PrepareOutputs(const std::vector<std::string>& paths, const std::string& folder, bool force);
// The file name part of a path without its extension.
std::string FileStem(const std::string& path);

}  // namespace tamber::cli
