#pragma once
// Whole-file reads and safe whole-file writes.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// Reads from the current position of `stream` to its end.
bool ReadRest(std::FILE* stream, std::vector<uint8_t>& bytes);

// Writes the whole file through AtomicFileWriter: on failure the old file stays
// and no temporary is left.
bool WriteFileAtomically(const std::string& path, const uint8_t* data, size_t size);
