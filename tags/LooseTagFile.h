#pragma once
// Reading the header of a loose tag file found in a local folder.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "base/Result.h"
#include "tags/TagHeader.h"

namespace tamber::tags {
using namespace tamber::base;

// The largest tag file or tag payload read whole into memory.
constexpr uint64_t kMaxTagFileSize = uint64_t{256} << 20;

// Reads the header at the start of the stream: either version, converted. A name
// holding "ixo made this" is replaced by the file name; `size` is set to the data
// actually present (file size minus 64). Fails when the file is not a tag.
Status ParseLooseTagHeader(const uint8_t* raw64, uint64_t fileSize, const std::string& fileName, TagHeader& header);
Status ReadLooseTagHeader(FILE* file, uint64_t fileSize, const std::string& fileName, TagHeader& header);
// Reads the first 64 bytes of a regular file with a single read; the size comes
// from the file itself.
Result<TagHeader> ReadLooseTagHeader(const std::string& path);
// The `header.size` payload bytes at `header.offset` of a stream (a loose file or
// an archive), checked against the bytes the file really holds and against
// kMaxTagFileSize before anything is allocated.
Result<std::vector<uint8_t>> ReadTagPayloadBytes(FILE* stream, const TagHeader& header);

}  // namespace tamber::tags
