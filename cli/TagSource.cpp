#include "cli/TagSource.h"

#include <cctype>
#include <cstdio>
#include <sstream>

#include "platform/fs/FileSystem.h"
#include "tags/Archive.h"
#include "tags/LooseTagFile.h"
#include "tags/TagGroups.h"
#include "tags/WorkingSet.h"

namespace tamber::cli {
using namespace tamber::platform;
using namespace tamber::tags;

bool OpenGameFolder(Codex& codex, const std::string& folder, const std::string& workingSet, std::string& error) {
    if (!GetFileStatus(folder).isFolder) {
        error = "'" + folder + "' is not a folder";
        return false;
    }
    codex.Init(folder);
    if (workingSet.empty()) return true;
    std::vector<Archive*> archives;
    std::stringstream names(workingSet);
    for (std::string name; std::getline(names, name, ',');) {
        if (name.empty()) continue;
        Archive* archive = codex.FindArchiveByName(name);
        if (!archive) {
            error = "no archive named '" + name + "' in '" + folder + "'";
            return false;
        }
        archives.push_back(archive);
    }
    SetActiveArchives(codex, archives);
    return true;
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

namespace {

bool ReadPayload(FILE* file, uint32_t size, std::vector<uint8_t>& payload) {
    payload.resize(size);
    return size == 0 || std::fread(payload.data(), 1, size, file) == size;
}

}  // namespace

std::optional<TagData> ReadCurrentTag(Codex& codex, TagRecord* record, std::string& error) {
    std::optional<std::vector<uint8_t>> payload = ReadCurrentTagData(codex, record);
    if (!payload) {
        error = "couldn't read the data of " + TagIdText(record->group) + " " + TagIdText(record->tagid);
        return std::nullopt;
    }
    TagData data;
    data.payload = std::move(*payload);
    data.header = codex.CurrentEntry(record)->header;
    data.origin = codex.TagLocationName(record);
    return data;
}

std::optional<TagData> ReadTagFile(const std::string& path, std::string& error) {
    TagData data;
    FILE* file = std::fopen(path.c_str(), "rb");
    const int64_t fileSize = file ? FileSizeOf(file) : -1;
    bool ok = fileSize >= 0 && ReadLooseTagHeader(file, uint64_t(fileSize), PathFileName(path), data.header) &&
              ReadPayload(file, data.header.size, data.payload);
    if (file) std::fclose(file);
    if (!ok) {
        error = "'" + path + "' is not a readable tag file";
        return std::nullopt;
    }
    data.origin = path;
    return data;
}

std::optional<TagData> LoadTagArgument(const std::vector<std::string>& words, std::string& error, bool& usage) {
    usage = false;
    if (words.size() == 1) return ReadTagFile(words[0], error);
    if (words.size() != 3) {
        usage = true;
        error = "expected a tag file or GAMEFOLDER GROUP TAGID";
        return std::nullopt;
    }
    const std::optional<uint32_t> group = ParseGroupArgument(words[1]);
    const std::optional<uint32_t> tagid = ParseTagIdArgument(words[2]);
    if (!group || !tagid) {
        usage = true;
        error = !group ? "unknown tag group '" + words[1] + "'" : "a tagid has one to four characters";
        return std::nullopt;
    }
    Codex& codex = Codex::Instance();
    if (!OpenGameFolder(codex, words[0], "", error)) return std::nullopt;
    TagRecord* record = codex.FindTag(*group, *tagid);
    if (!record) {
        error = "no tag " + TagIdText(*group) + " " + TagIdText(*tagid) + " in '" + words[0] + "'";
        return std::nullopt;
    }
    return ReadCurrentTag(codex, record, error);
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

bool MayWrite(const std::string& path, bool force, std::string& error) {
    const FileStatus status = GetFileStatus(path);
    if (status.isFolder) {
        error = "'" + path + "' is a folder";
        return false;
    }
    if (status.exists && !force) {
        error = "'" + path + "' exists (use --force to replace it)";
        return false;
    }
    return true;
}

std::string FileStem(const std::string& path) {
    std::string name = PathFileName(path);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.resize(dot);
    return name;
}

}  // namespace tamber::cli
