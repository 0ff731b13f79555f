#pragma once
// The root menu's "Search Text Tags": asks for the text, searches every copy of
// every text-like tag with a progress window and writes the hits and their
// locations to the "AllTextSearch" log channel.
#include <string>

namespace tamber::tools {

constexpr const char* kTextSearchChannel = "AllTextSearch";

// Searches the process-wide Codex and logs the report; returns the number of hits.
size_t RunTextSearch(const std::string& needle, bool caseSensitive);
// The prompt with "Search", "Search (case sensitive)" and "Cancel", then the search.
void SearchTextTags();

}  // namespace tamber::tools
