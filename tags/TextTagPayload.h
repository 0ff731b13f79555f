#pragma once
// The payload of the text tags (`ditl`, `scri`, `stli`, `temp`, `text`): 8-bit text
// whose lines end in carriage returns, no terminating NUL. `ditl`, `scri` and `text`
// hold one text; the string lists `stli` and `temp` hold strings separated by NULs,
// line feeds or carriage returns. The text editor and the command line share these
// rules.
#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "tags/TagHeader.h"

namespace tamber::tags {

// The text groups in code order: ditl, scri, stli, temp, text.
const std::vector<uint32_t>& TextTagGroups();
bool IsTextTagGroup(uint32_t group);
// `stli` and `temp`.
bool IsStringListGroup(uint32_t group);

// The text to edit. A whole text ends at its first NUL; one that goes on after a
// NUL is refused (none, with `reason`), since saving the edited text would drop
// the rest. A string list becomes one line per non-empty string, each followed by
// a line feed.
std::optional<std::string> TextFromPayload(uint32_t group, std::span<const uint8_t> payload,
                                           std::string* reason = nullptr);
// The bytes saved for an edited text: every line feed becomes a carriage return.
std::string PayloadFromText(const std::string& text);

// Reads exactly the header's payload size from the header's data offset and
// converts it; none (with `reason`) when the stream holds fewer bytes.
std::optional<std::string> ReadTextTagPayload(FILE* stream, const TagHeader& header, std::string* reason = nullptr);
// Writes PayloadFromText(text); an empty text writes nothing. False on a short write.
bool WriteTextTagPayload(FILE* stream, const std::string& text);

}  // namespace tamber::tags
