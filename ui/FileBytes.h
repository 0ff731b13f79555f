#pragma once
// Whole-file reading with a size limit, and whole-file writing through a temporary
// file in the target folder that is renamed over the target only when complete.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Nothing when the file cannot be read or is larger than maxBytes.
std::optional<std::vector<uint8_t>> ReadFileBytes(const std::string& path, size_t maxBytes);
bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);
