#pragma once
// The read and write paths shared by open tags and tag editors: a payload is read
// from the tag's current entry and always written into the tag's loose file.
#include <cstdio>
#include <functional>
#include <vector>

#include "base/Result.h"
#include "tags/TagHeader.h"

namespace tamber::tags { class Codex; }
namespace tamber::tags { class TagRecord; }

namespace tamber::editing {
using namespace tamber::tags;

// Returns non-zero on success.
using TagPayloadHandler = std::function<int(FILE* stream, const TagHeader& header)>;

// Copies the current entry's header into `header`, opens the tag's data and hands
// both to `parse`; the stream is closed afterwards. 0 when there is no data.
int ReadTagPayload(Codex& codex, TagRecord* record, TagHeader& header, const TagPayloadHandler& parse);
// Replaces `header` with a fresh loose header (name, user and version kept), opens
// the loose file for writing and hands it to `write`. The file replaces the old one
// only when `write` succeeds; 0 when anything failed, the old file left as it was.
int WriteTagPayload(Codex& codex, TagRecord* record, TagHeader& header, const TagPayloadHandler& write);
// The payload's bytes from a stream `parse` was given (see ReadTagPayloadBytes).
base::Result<std::vector<uint8_t>> ReadPayloadBytes(FILE* stream, const TagHeader& header);

}  // namespace tamber::editing
