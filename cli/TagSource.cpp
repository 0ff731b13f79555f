#include "cli/TagSource.h"

#include <cctype>
#include <cstdio>
#include <sstream>

#include "platform/fs/FileSystem.h"
#include "platform/fs/InputFile.h"
#include "tags/Archive.h"
#include "tags/LooseTagFile.h"
#include "tags/TagGroups.h"
#include "tags/WorkingSet.h"

namespace tamber::cli {
using namespace tamber::platform;
using namespace tamber::tags;

Status OpenGameFolder(Codex& codex, const std::string& folder, const std::string& workingSet) {
    if (!GetFileStatus(folder).isFolder) return Fail("'" + folder + "' is not a folder");
    codex.Init(folder);
    if (workingSet.empty()) return Ok();
    std::vector<Archive*> archives;
    std::stringstream names(workingSet);
    for (std::string name; std::getline(names, name, ',');) {
        if (name.empty()) continue;
        Archive* archive = codex.FindArchiveByName(name);
        if (!archive) return Fail("no archive named '" + name + "' in '" + folder + "'");
        archives.push_back(archive);
    }
    SetActiveArchives(codex, archives);
    return Ok();
}

std::optional<uint32_t> ParseGroupArgument(const std::string& text) {
    if (text.size() == 4 && FindTagGroup(FourCCFromText(text))) return FourCCFromText(text);
    for (int i = 0; i < kTagGroupCount; ++i) {
        const TagGroup& group = TagGroupAt(i);
        const std::string plural = group.plural;
        if (plural.size() != text.size()) continue;
        bool same = true;
        for (size_t c = 0; c < text.size(); ++c)
            same = same && std::tolower(uint8_t(plural[c])) == std::tolower(uint8_t(text[c]));
        if (same) return group.code;
    }
    return std::nullopt;
}

std::optional<uint32_t> ParseTagIdArgument(const std::string& text) {
    if (text.empty() || text.size() > 4) return std::nullopt;
    return FourCCFromText(text);
}

Result<TagData> ReadCurrentTag(Codex& codex, TagRecord* record) {
    Result<std::vector<uint8_t>> payload = ReadCurrentTagData(codex, record);
    if (!payload)
        return Fail("couldn't read the data of " + TagIdText(record->group) + " " + TagIdText(record->tagid) + ": " +
                    payload.error());
    TagData data;
    data.payload = std::move(*payload);
    data.header = codex.CurrentEntry(record)->header;
    data.origin = codex.TagLocationName(record);
    return data;
}

Result<InputFile> OpenTagFile(const std::string& path, TagHeader& header) {
    Result<InputFile> input = OpenInputFile(path, kMaxTagFileSize);
    Status read = input ? ReadLooseTagHeader(input->file.get(), input->size, PathFileName(path), header)
                        : Status(std::move(input).TakeError());
    if (!read) return Fail("'" + path + "' is not a readable tag file: " + read.error());
    return input;
}

Result<TagData> ReadTagFile(const std::string& path) {
    TagData data;
    Result<InputFile> input = OpenTagFile(path, data.header);
    if (!input) return std::move(input).TakeError();
    data.payload.resize(data.header.size);
    if (!data.payload.empty() &&
        std::fread(data.payload.data(), 1, data.payload.size(), input->file.get()) != data.payload.size())
        return Fail("'" + path + "' is not a readable tag file: its data cannot be read");
    data.origin = path;
    return data;
}

Status CheckTagArgument(const std::vector<std::string>& words) {
    if (words.size() == 1) return Ok();
    if (words.size() != 3) return Fail("expected a tag file or GAMEFOLDER GROUP TAGID");
    if (!ParseGroupArgument(words[1])) return Fail("unknown tag group '" + words[1] + "'");
    if (!ParseTagIdArgument(words[2])) return Fail("a tagid has one to four characters");
    return Ok();
}

Result<TagRecord*> FindTagArgument(Codex& codex, const std::vector<std::string>& words) {
    const uint32_t group = *ParseGroupArgument(words[1]);
    const uint32_t tagid = *ParseTagIdArgument(words[2]);
    if (Status opened = OpenGameFolder(codex, words[0], ""); !opened) return std::move(opened).TakeError();
    TagRecord* record = codex.FindTag(group, tagid);
    if (!record) return Fail("no tag " + TagIdText(group) + " " + TagIdText(tagid) + " in '" + words[0] + "'");
    return record;
}

Result<TagData> LoadTagArgument(const std::vector<std::string>& words) {
    if (words.size() == 1) return ReadTagFile(words[0]);
    Codex& codex = Codex::Instance();
    Result<TagRecord*> record = FindTagArgument(codex, words);
    if (!record) return std::move(record).TakeError();
    return ReadCurrentTag(codex, *record);
}

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        const uint8_t byte = uint8_t(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte >= 0x7F) {
            // Names are in the game's 8-bit character set; escape what is not ASCII.
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04x", unsigned(byte));
            out += buffer;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string PrintableText(std::string text) {
    for (char& c : text) {
        if (uint8_t(c) < 0x20 || uint8_t(c) == 0x7F) c = '?';
    }
    return text;
}

std::string TagIdText(uint32_t code) { return PrintableText(FourCCText(code)); }

Status MayWrite(const std::string& path, bool force) {
    const FileStatus status = GetFileStatus(path);
    if (status.isFolder) return Fail("'" + path + "' is a folder");
    if (status.exists && !force) return Fail("'" + path + "' exists (use --force to replace it)");
    return Ok();
}

Status PrepareOutputs(const std::vector<std::string>& paths, const std::string& folder, bool force) {
    for (const std::string& path : paths) {
        if (Status may = MayWrite(path, force); !may) return may;
    }
    return MakeFolders(folder);
}

std::string FileStem(const std::string& path) {
    std::string name = PathFileName(path);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.resize(dot);
    return name;
}

}  // namespace tamber::cli
