#pragma once
// Writes 16-bit PCM samples as WAV files. The samples are converted and written
// a block at a time, so memory does not grow with the sound's length.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/Result.h"
#include "sounds/SoundPayload.h"

namespace tamber::sounds {

constexpr size_t kWavHeaderBytes = 44;
using WavHeaderBytes = std::array<uint8_t, kWavHeaderBytes>;

// The 44-byte header for `sampleCount` samples of `bits` bits (data size
// D = bits x sampleCount / 8; zero samples give a valid empty data chunk). Only
// 16-bit samples are written; fails for any other depth or a size that does
// not fit the format.
base::Result<WavHeaderBytes> EncodeWavHeader(uint32_t bits, uint32_t rate, uint32_t channels, size_t sampleCount);

// Writes the file through a temporary beside it, renamed over `path` only when
// complete; fails, naming the file, when it cannot be written.
base::Status WriteWav(const int16_t* samples, uint32_t bits, uint32_t rate, uint32_t channels, size_t sampleCount,
                      const std::string& path);

// Writes a permutation from its packets, decoding them a block at a time (its
// decoded samples are not needed).
base::Status WritePermutationWav(const SoundPermutation& permutation, const std::string& path);
// The same with the packets read a block at a time from the payload, so that
// memory does not grow with the sound's length.
base::Status WritePermutationWav(const SoundPermutation& permutation, const SoundByteReader& payload,
                                 const std::string& path);

// The file name a permutation is exported under: its name made safe for a
// path (tag-name rules, control characters replaced), then ".wav".
std::string WavFileName(const std::string& permutationName);

}  // namespace tamber::sounds
