#pragma once
// Reading the header of a loose tag file found in a local folder.
#include <cstdint>
#include <cstdio>
#include <string>

#include "tags/TagHeader.h"

namespace tamber::tags {

// Reads the header at the start of the stream: either version, converted. A name
// holding "ixo made this" is replaced by the file name; `size` is set to the data
// actually present (file size minus 64). False when the file is not a tag.
bool ParseLooseTagHeader(const uint8_t* raw64, uint64_t fileSize, const std::string& fileName, TagHeader& header);
bool ReadLooseTagHeader(FILE* file, uint64_t fileSize, const std::string& fileName, TagHeader& header);
// Reads the first 64 bytes of a file with a single read; the size comes from the
// file itself.
bool ReadLooseTagHeader(const std::string& path, TagHeader& header);

}  // namespace tamber::tags
