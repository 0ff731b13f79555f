#pragma once
// Whole-file reads with a size limit, and whole-file writes that readers only ever
// see complete (through AtomicFileWriter).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "base/Result.h"

namespace tamber::platform {
using namespace tamber::base;

// The bytes of a regular file of at most maxBytes (see OpenInputFile).
Result<std::vector<uint8_t>> ReadFileBytes(const std::string& path, size_t maxBytes);
// Reads from the current position of an already open regular file to its end,
// refusing more than maxBytes.
Result<std::vector<uint8_t>> ReadRest(std::FILE* stream, size_t maxBytes);
// On failure the old file stays and no temporary is left.
Status WriteFileAtomically(const std::string& path, const uint8_t* data, size_t size);
inline Status WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes) {
    return WriteFileAtomically(path, bytes.data(), bytes.size());
}

}  // namespace tamber::platform
