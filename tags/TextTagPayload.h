#pragma once
// The payload of the text tags (`ditl`, `scri`, `stli`, `temp`, `text`): 8-bit text
// whose lines end in carriage returns, no terminating NUL. `ditl`, `scri` and `text`
// hold one text; the string lists `stli` and `temp` hold strings separated by NULs,
// line feeds or carriage returns. The text editor and the command line share these
// rules.
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "base/Result.h"
#include "tags/TagHeader.h"

namespace tamber::tags {
using namespace tamber::base;

// The text groups in code order: ditl, scri, stli, temp, text.
const std::vector<uint32_t>& TextTagGroups();
bool IsTextTagGroup(uint32_t group);
// `stli` and `temp`.
bool IsStringListGroup(uint32_t group);

// A payload as the editor shows it: the text, and for a whole text the bytes from
// its first NUL on, which are not shown but written back unchanged.
struct TextTagText {
    std::string text;
    std::string tail;
};

// A whole text ends at its first NUL (the rest is the tail). A string list becomes
// one line per non-empty string, each followed by a line feed.
TextTagText TextFromPayload(uint32_t group, std::span<const uint8_t> payload);
// The bytes saved for an edited text: every line feed becomes a carriage return,
// then the tail follows unchanged.
std::string PayloadFromText(const std::string& text, const std::string& tail = {});

// Reads exactly the header's payload size from the header's data offset and
// converts it; fails when the stream holds fewer bytes.
Result<TextTagText> ReadTextTagPayload(FILE* stream, const TagHeader& header);
// Writes PayloadFromText(text, tail); an empty payload writes nothing.
Status WriteTextTagPayload(FILE* stream, const std::string& text, const std::string& tail = {});

}  // namespace tamber::tags
