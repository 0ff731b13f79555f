#pragma once
// Searches a text in every copy of every text tag (the groups of TextTagGroups,
// whose order the hits follow): each archive holding a copy and the loose file in
// the local folder. Reports each copy whose payload holds the text, and the sorted
// distinct places those copies live in.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tamber::tags {

class Codex;

struct TextSearchHit {
    uint32_t group;
    uint32_t tagid;
    std::string name;
    std::string location;  // the archive file's path, or the loose file's path
};

struct TextSearchResults {
    std::vector<TextSearchHit> hits;
    std::vector<std::string> locations;  // sorted, each once
    size_t copiesSearched = 0;
};

// Called before each copy is read: what is being searched, copies done, copies in all.
using TextSearchProgress = std::function<void(const std::string& what, size_t done, size_t total)>;

// Every copy is read from its own file (not through the Codex's current entry), so
// the Codex may rescan its local folder while the search runs. An empty needle
// finds nothing. Case-insensitive matching compares ASCII letters lower-cased.
TextSearchResults SearchTextInTags(const Codex& codex, const std::string& needle, bool caseSensitive,
                                   const TextSearchProgress& progress = nullptr);

// The report: one "group | tagid | name | location" line per hit, the heading of
// the location list, then each location; every line ends in a line feed.
std::vector<std::string> TextSearchReport(const TextSearchResults& results);

}  // namespace tamber::tags
