#include "tags/TextSearch.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <tuple>

#include "platform/fs/InputFile.h"
#include "tags/Archive.h"
#include "tags/Codex.h"
#include "tags/FourCC.h"
#include "tags/LooseTagFile.h"
#include "tags/TextTagPayload.h"

namespace tamber::tags {
using namespace tamber::platform;

namespace {

// What is needed to read one copy after the Codex has moved on.
struct TagCopy {
    uint32_t group;
    uint32_t tagid;
    std::string name;
    std::string path;
    uint64_t offset;  // archive data offset; loose files are read after their header
    uint32_t size;
    bool loose;
    size_t place;     // archives in load order, then the local folder
};

int GroupOrder(uint32_t group) {
    const std::vector<uint32_t>& groups = TextTagGroups();
    auto it = std::find(groups.begin(), groups.end(), group);
    return it == groups.end() ? -1 : int(it - groups.begin());
}

std::vector<TagCopy> CollectCopies(const Codex& codex) {
    std::vector<TagCopy> copies;
    for (size_t a = 0; a < codex.ArchiveCount(); ++a) {
        const Archive* archive = codex.ArchiveAt(a);
        if (!archive) continue;
        for (const TagEntry& entry : archive->entries) {
            if (GroupOrder(entry.header.group) < 0) continue;
            copies.push_back({entry.header.group, entry.header.tagid, entry.header.Name(), archive->path,
                              entry.header.offset, entry.header.size, false, a});
        }
    }
    for (const TagRecord* record : codex.LocalTags()) {
        const TagEntry* entry = record->localEntry.get();
        if (!entry || !entry->path || GroupOrder(record->group) < 0) continue;
        copies.push_back({record->group, record->tagid, entry->header.Name(), *entry->path, kTagHeaderSize, 0, true,
                          codex.ArchiveCount()});
    }
    std::sort(copies.begin(), copies.end(), [](const TagCopy& a, const TagCopy& b) {
        return std::tuple(GroupOrder(a.group), a.name, a.tagid, a.place) <
               std::tuple(GroupOrder(b.group), b.name, b.tagid, b.place);
    });
    return copies;
}

uint8_t Lower(uint8_t c) { return c >= 'A' && c <= 'Z' ? uint8_t(c + 32) : c; }

// Reads past the offset in chunks, so a huge file never needs a buffer of its size.
constexpr size_t kChunkBytes = size_t(1) << 20;

// Whether the copy's data holds the (already lower-cased when ignoring case)
// pattern; none when the copy cannot be read. Never reads more than the file has.
std::optional<bool> CopyContains(const TagCopy& copy, const std::string& pattern, bool caseSensitive) {
    uint64_t size = copy.size;
    if (copy.loose) {
        // The file may have changed since it was indexed: take its header as it is now.
        const Result<TagHeader> header = ReadLooseTagHeader(copy.path);
        if (!header) return std::nullopt;
        size = header->size;
    }
    Result<InputFile> input = OpenInputFile(copy.path, UINT64_MAX);
    if (!input || copy.offset > input->size || ::fseeko(input->file.get(), off_t(copy.offset), SEEK_SET) != 0)
        return std::nullopt;
    std::FILE* file = input->file.get();
    uint64_t left = std::min<uint64_t>(size, input->size - copy.offset);
    const std::boyer_moore_horspool_searcher searcher(pattern.begin(), pattern.end());
    // Each chunk starts with the last pattern-length-minus-one bytes of the one
    // before, so a match across the seam is found.
    std::vector<uint8_t> window;
    bool found = false, readable = true;
    while (left > 0 && !found) {
        const size_t carried = window.size();
        const size_t want = size_t(std::min<uint64_t>(left, kChunkBytes));
        window.resize(carried + want);
        if (std::fread(window.data() + carried, 1, want, file) != want) {
            readable = false;
            break;
        }
        left -= want;
        auto fresh = window.begin() + long(carried);
        if (!caseSensitive) std::transform(fresh, window.end(), fresh, Lower);
        found = std::search(window.begin(), window.end(), searcher) != window.end();
        const size_t keep = std::min(window.size(), pattern.size() - 1);
        window.erase(window.begin(), window.end() - long(keep));
    }
    if (!readable) return std::nullopt;
    return found;
}

}  // namespace

TextSearchResults SearchTextInTags(const Codex& codex, const std::string& needle, bool caseSensitive,
                                   const TextSearchProgress& progress) {
    TextSearchResults results;
    if (needle.empty()) return results;
    std::string pattern = needle;
    if (!caseSensitive) std::transform(pattern.begin(), pattern.end(), pattern.begin(), Lower);

    const std::vector<TagCopy> copies = CollectCopies(codex);
    for (size_t i = 0; i < copies.size(); ++i) {
        const TagCopy& copy = copies[i];
        if (progress) progress(copy.name + " (" + FourCCText(copy.group) + ")", i, copies.size());
        // The whole payload is searched, NUL bytes and all: text tags keep binary
        // fields in front of their strings.
        const std::optional<bool> found = CopyContains(copy, pattern, caseSensitive);
        if (!found) continue;
        ++results.copiesSearched;
        if (!*found) continue;
        results.hits.push_back({copy.group, copy.tagid, copy.name, copy.path});
        results.locations.push_back(copy.path);
    }
    if (progress) progress("", copies.size(), copies.size());
    std::sort(results.locations.begin(), results.locations.end());
    results.locations.erase(std::unique(results.locations.begin(), results.locations.end()), results.locations.end());
    return results;
}

std::vector<std::string> TextSearchReport(const TextSearchResults& results) {
    std::vector<std::string> lines;
    for (const TextSearchHit& hit : results.hits) {
        lines.push_back(FourCCText(hit.group) + " | " + FourCCText(hit.tagid) + " | " + hit.name + " | " +
                        hit.location + "\n");
    }
    lines.push_back("List of unique match locations ------------------\n");
    for (const std::string& location : results.locations) lines.push_back(location + "\n");
    return lines;
}

}  // namespace tamber::tags
