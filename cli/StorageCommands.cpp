// Commands over the tag storage: the Codex listing, archives, tag headers and the
// check that every current tag with a reader reads.

#include <algorithm>
#include <cstring>
#include <cstdio>
#include <set>

#include "cli/CliCommand.h"
#include "cli/TagReaders.h"
#include "cli/TagSource.h"
#include "platform/fs/FileSystem.h"
#include "tags/Archive.h"
#include "tags/LooseTagFile.h"
#include "tags/TagGroups.h"
#include "tags/TagOperations.h"

namespace tamber::cli {
using namespace tamber::platform;
using namespace tamber::tags;

namespace {

// One listed tag: the header of the copy shown and where the current copy lies.
struct ListedTag {
    TagHeader header;
    std::string location;
};

void PrintTagLines(const std::vector<ListedTag>& tags, bool json) {
    if (json) std::printf("[");
    for (size_t i = 0; i < tags.size(); ++i) {
        const TagHeader& h = tags[i].header;
        if (json) {
            std::printf("%s\n  {\"group\": %s, \"tagid\": %s, \"name\": %s, \"size\": %u, \"version\": %u, "
                        "\"location\": %s}",
                        i ? "," : "", JsonString(TagIdText(h.group)).c_str(), JsonString(TagIdText(h.tagid)).c_str(),
                        JsonString(h.Name()).c_str(), h.size, unsigned(h.version),
                        JsonString(tags[i].location).c_str());
        } else {
            std::printf("%s\t%s\t%s\t%u\t%u\t%s\n", TagIdText(h.group).c_str(), TagIdText(h.tagid).c_str(),
                        PrintableText(h.Name()).c_str(), h.size, unsigned(h.version), tags[i].location.c_str());
        }
    }
    if (json) std::printf("%s]\n", tags.empty() ? "" : "\n");
}

bool ListedTagLess(const ListedTag& a, const ListedTag& b) {
    if (a.header.group != b.header.group) return a.header.group < b.header.group;
    return a.header.tagid < b.header.tagid;
}

// The tags of one of the archive browser's lists: "local", "foundation",
// "combined", or a loaded archive by file name (whose tags show their current
// copy when they have one, else the archive's own entry).
Result<std::vector<ListedTag>> CodexListing(Codex& codex, const std::string& list) {
    std::vector<ListedTag> tags;
    auto addRecords = [&](const std::vector<TagRecord*>& records) {
        for (TagRecord* record : records) {
            if (const TagEntry* entry = codex.CurrentEntry(record))
                tags.push_back({entry->header, codex.TagLocationName(record)});
        }
    };
    if (list == "combined") {
        addRecords(codex.AllCurrentTags());
    } else if (list == "foundation") {
        addRecords(codex.FoundationTags());
    } else if (list == "local") {
        addRecords(codex.LocalTags());
    } else if (Archive* archive = codex.FindArchiveByName(PathFileName(list))) {
        for (const TagEntry& entry : archive->entries) {
            const TagEntry* current = entry.record ? codex.CurrentEntry(entry.record) : nullptr;
            tags.push_back({current ? current->header : entry.header,
                            entry.record ? codex.TagLocationName(entry.record) : "unknown"});
        }
        return tags;  // in entry-table order
    } else {
        return Fail("no list or archive named '" + list + "'");
    }
    std::sort(tags.begin(), tags.end(), ListedTagLess);
    return tags;
}

int RunCodex(const CliCommand&, const CliArgs& args) {
    Codex& codex = Codex::Instance();
    if (Status opened = OpenGameFolder(codex, args.positional[0], args.Value("--working-set")); !opened)
        return FailExit(opened.error());
    const Result<std::vector<ListedTag>> tags = CodexListing(codex, args.Value("--list", "combined"));
    if (!tags) return FailExit(tags.error());
    PrintTagLines(*tags, args.Has("--json"));
    return kExitOk;
}

int RunArchiveList(const CliCommand&, const CliArgs& args) {
    const Result<std::unique_ptr<Archive>> read = ReadArchive(args.positional[0]);
    if (!read) return FailExit(read.error());
    const Archive* archive = read->get();
    const ArchiveHeader& h = archive->header;
    std::vector<ListedTag> tags;
    for (const TagEntry& entry : archive->entries) tags.push_back({entry.header, archive->fileName});
    if (args.Has("--json")) {
        std::printf("{\"name\": %s, \"type\": %u, \"priority\": %u, \"url\": %s, \"tags\": ",
                    JsonString(archive->Name()).c_str(), unsigned(h.type), unsigned(h.priority),
                    JsonString(std::string(h.url, strnlen(h.url, sizeof h.url))).c_str());
        PrintTagLines(tags, true);
        std::printf("}\n");
        return kExitOk;
    }
    std::fprintf(stderr, "%s: \"%s\", type %u, priority %u, %zu tag%s\n", archive->fileName.c_str(),
                 archive->Name().c_str(), unsigned(h.type), unsigned(h.priority), tags.size(),
                 tags.size() == 1 ? "" : "s");
    PrintTagLines(tags, false);
    return kExitOk;
}

int RunArchiveExtract(const CliCommand&, const CliArgs& args) {
    const Result<std::unique_ptr<Archive>> read = ReadArchive(args.positional[0]);
    if (!read) return FailExit(read.error());
    Archive* archive = read->get();
    const std::string root = NormaliseFolderPath(args.positional[1]);
    // The paths the unpacking writes; checked first so that nothing is replaced
    // unasked and two entries never silently share one file.
    auto pathOf = [&root](const TagEntry& entry) {
        return root + TagGroupFolderName(entry.header.group) + "/" + TagFileName(entry.header.Name());
    };
    std::set<std::string> paths;
    for (const TagEntry& entry : archive->entries) {
        const std::string path = pathOf(entry);
        if (!paths.insert(path).second)
            return FailExit("two tags of the archive would both be written to '" + path + "'");
        if (Status may = MayWrite(path, args.Has("--force")); !may) return FailExit(may.error());
    }
    if (Status made = MakeFolders(root); !made) return FailExit(made.error());
    // The unpacking goes on past a tag it cannot write, and says why for each.
    const Status unpacked = DisassembleArchive(archive, root, [](const std::string& path, const Status& written) {
        if (written) std::printf("%s\n", path.c_str());
        else std::fprintf(stderr, "ERROR: %s\n", written.error().c_str());
    });
    if (!unpacked) return FailExit(unpacked.error());
    return kExitOk;
}

void PrintHeaderField(bool json, bool& first, const char* key, const std::string& value, bool quoted) {
    if (json)
        std::printf("%s\"%s\": %s", first ? "{" : ", ", key, quoted ? JsonString(value).c_str() : value.c_str());
    else
        std::printf("%s: %s\n", key, PrintableText(value).c_str());
    first = false;
}

int RunTagInfo(const CliCommand&, const CliArgs& args) {
    const Result<TagHeader> read = ReadLooseTagHeader(args.positional[0]);
    if (!read) return FailExit("'" + args.positional[0] + "' is not a tag file: " + read.error());
    const TagHeader& h = *read;
    const bool json = args.Has("--json");
    bool first = true;
    char user[16];
    std::snprintf(user, sizeof user, "0x%x", h.user);
    PrintHeaderField(json, first, "identifier", std::to_string(h.identifier), false);
    PrintHeaderField(json, first, "flags", std::to_string(h.flags), false);
    PrintHeaderField(json, first, "type", std::to_string(h.type), false);
    PrintHeaderField(json, first, "name", h.Name(), true);
    PrintHeaderField(json, first, "group", TagIdText(h.group), true);
    PrintHeaderField(json, first, "tagid", TagIdText(h.tagid), true);
    PrintHeaderField(json, first, "offset", std::to_string(h.offset), false);
    PrintHeaderField(json, first, "size", std::to_string(h.size), false);
    PrintHeaderField(json, first, "user", user, true);
    PrintHeaderField(json, first, "version", std::to_string(h.version), false);
    PrintHeaderField(json, first, "foundation index", std::to_string(h.foundationIndex), false);
    PrintHeaderField(json, first, "owner index", std::to_string(h.ownerIndex), false);
    PrintHeaderField(json, first, "game", TagIdText(h.signature), true);
    if (json) std::printf("}\n");
    return kExitOk;
}

void PrintCheckLine(const TagHeader& h, const std::string& location, const std::string& text) {
    std::printf("%s\t%s\t%s\t%s\t%s\n", TagIdText(h.group).c_str(), TagIdText(h.tagid).c_str(),
                PrintableText(h.Name()).c_str(), location.c_str(), text.c_str());
}

int RunTagValidate(const CliCommand&, const CliArgs& args) {
    Codex& codex = Codex::Instance();
    if (Status opened = OpenGameFolder(codex, args.positional[0], args.Value("--working-set")); !opened)
        return FailExit(opened.error());
    std::vector<ListedTag> tags = *CodexListing(codex, "combined");
    std::erase_if(tags, [](const ListedTag& tag) { return !HasTagReader(tag.header.group); });
    // A loose file that cannot be read is a tag that does not read, whatever its group.
    size_t failed = 0, warned = 0;
    for (const UnreadableLooseFile& file : codex.UnreadableLooseFiles()) {
        TagHeader h{};
        h.group = file.group;
        SetTagName(h, PathFileName(file.path));
        PrintCheckLine(h, "local folder", file.reason);
        ++failed;
    }
    const CliProgress progress = TerminalProgress();
    for (size_t i = 0; i < tags.size(); ++i) {
        const TagHeader& h = tags[i].header;
        if (progress) progress(PrintableText(h.Name()), i + 1, tags.size());
        TagRecord* record = codex.FindTag(h.group, h.tagid);
        Result<TagData> data = record ? ReadCurrentTag(codex, record) : Result<TagData>(Fail("the tag disappeared"));
        const TagCheck check = data ? CheckTagReads(*data) : TagCheck{data.error(), {}};
        if (check.failure.empty() && check.warnings.empty()) continue;
        EndTerminalProgress(progress);
        if (!check.failure.empty()) {
            PrintCheckLine(h, tags[i].location, check.failure);
            ++failed;
        }
        for (const std::string& warning : check.warnings) PrintCheckLine(h, tags[i].location, "WARNING: " + warning);
        warned += check.failure.empty() ? 1 : 0;
    }
    EndTerminalProgress(progress);
    std::fprintf(stderr, "%zu tag%s checked, %zu failed, %zu with warnings\n", tags.size(), tags.size() == 1 ? "" : "s",
                 failed, warned);
    return failed ? kExitFailed : kExitOk;
}

}  // namespace

std::vector<CliCommand> StorageCommands() {
    return {
        {"codex", "GAMEFOLDER [--list local|foundation|combined|ARCHIVE-FILE] [--working-set NAME,...] [--json]",
         "list the tags the Codex indexes in a game folder",
         "Indexes the game folder as the desktop program does, with the default working\n"
         "set or exactly the archives given by file name, and prints one line per tag of\n"
         "the chosen list (default \"combined\"): group, tagid, name, size, version and\n"
         "where the current copy lies (an archive's file name or \"local folder\"),\n"
         "separated by tabs. Tags of an archive list in its entry order, the others by\n"
         "group and tagid. Messages of the \"Codex\" channel go to standard error.\n\n"
         "  --list LIST          local, foundation, combined, or an archive's file name\n"
         "  --working-set NAMES  comma-separated archive file names to activate\n"
         "  --json               a JSON array of objects instead of lines",
         {{"--list", true}, {"--working-set", true}, {"--json", false}}, 1, 1, RunCodex},
        {"archive list", "FILE [--json]", "list the tags of an archive file",
         "Prints one line per entry of the archive (group, tagid, name, size, version,\n"
         "archive file name), in entry-table order; the archive's name, type and\n"
         "priority go to standard error.\n\n"
         "  --json  one JSON object with the archive's fields and its tags",
         {{"--json", false}}, 1, 1, RunArchiveList},
        {"archive extract", "FILE DEST [--force]", "unpack an archive into loose tag files",
         "Unpacks every tag of the archive into DEST/<group folder>/<tag name>, as the\n"
         "archive browser's \"Disassemble Archive\" does, and prints each file written.\n"
         "Existing files are left alone (and nothing is written) unless --force.\n\n"
         "  --force  replace existing tag files",
         {{"--force", false}}, 2, 2, RunArchiveExtract},
        {"tag info", "FILE [--json]", "show a loose tag file's header",
         "Prints the fields of the tag file's 64-byte header (either version).\n\n"
         "  --json  one JSON object",
         {{"--json", false}}, 1, 1, RunTagInfo},
        {"tag validate", "GAMEFOLDER [--working-set NAME,...]", "check that every readable tag reads",
         "Reads every current tag whose group has a reader (collections, meshes, detail\n"
         "maps, detail textures, sounds, dialogs, text tags) and prints one line per tag\n"
         "that does not read: group, tagid, name, location and the reason. A loose file\n"
         "that cannot be read at all is listed by its file name. Damage the reader\n"
         "repairs (a damaged bitmap reads as a placeholder, so the collection still\n"
         "opens) is listed with a reason starting \"WARNING: \" and does not fail the\n"
         "check. Exit status 1 when any tag does not read; warnings alone give 0.\n\n"
         "  --working-set NAMES  comma-separated archive file names to activate",
         {{"--working-set", true}}, 1, 1, RunTagValidate},
    };
}

}  // namespace tamber::cli
