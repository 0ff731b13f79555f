#pragma once
// Writes 16-bit PCM samples as a WAV file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/Result.h"

namespace tamber::sounds {

// The 44-byte header and the little-endian samples, D = bits x sampleCount / 8
// data bytes; empty when there are no samples (the file is then left empty).
// Only 16-bit samples are written; fails for any other depth or a size that
// does not fit the format.
base::Result<std::vector<uint8_t>> EncodeWav(const int16_t* samples, uint32_t bits, uint32_t rate, uint32_t channels,
                                             size_t sampleCount);

// Writes the file through a temporary beside it; fails when it cannot be written.
base::Status WriteWav(const int16_t* samples, uint32_t bits, uint32_t rate, uint32_t channels, size_t sampleCount,
                      const std::string& path);

// The file name a permutation is exported under: its name made safe for a
// path, then ".wav".
std::string WavFileName(const std::string& permutationName);

}  // namespace tamber::sounds
