#pragma once
// Whole-file reads with a size limit, and whole-file writes that readers only ever
// see complete (through AtomicFileWriter).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace tamber::platform {

// Nothing when the file cannot be read or is larger than maxBytes.
std::optional<std::vector<uint8_t>> ReadFileBytes(const std::string& path, size_t maxBytes);
// Reads from the current position of `stream` to its end.
bool ReadRest(std::FILE* stream, std::vector<uint8_t>& bytes);
// On failure the old file stays and no temporary is left.
bool WriteFileAtomically(const std::string& path, const uint8_t* data, size_t size);
inline bool WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes) {
    return WriteFileAtomically(path, bytes.data(), bytes.size());
}

}  // namespace tamber::platform
