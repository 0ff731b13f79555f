#pragma once
// Shared helpers for the sound tests: tones, permutations encoded from them,
// scratch folders and reading back files.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "sounds/ImaAdpcm.h"
#include "sounds/SoundPayload.h"

namespace sound_test {
using namespace tamber::sounds;

inline std::vector<int16_t> Tone(size_t frames, uint32_t channels) {
    std::vector<int16_t> samples(frames * channels);
    for (size_t i = 0; i < frames; ++i) {
        for (uint32_t c = 0; c < channels; ++c)
            samples[i * channels + c] = int16_t(12000 * std::sin(0.05 * double(i) * (c + 1)));
    }
    return samples;
}

inline SoundPermutation Permutation(const char* name, uint32_t channels, uint32_t rate, size_t frames) {
    SoundPermutation permutation;
    std::snprintf(permutation.nameRecord.name, sizeof permutation.nameRecord.name, "%s", name);
    permutation.descriptor.flags = kSoundFlagImaAdpcm;
    permutation.descriptor.channels = uint16_t(channels);
    permutation.descriptor.sampleRate = rate << 16;
    const std::vector<int16_t> tone = Tone(frames, channels);
    permutation.packets = EncodeImaPackets(tone.data(), frames, channels);
    permutation.descriptor.packetCount = uint32_t(permutation.packets.size() / kImaPacketBytes);
    return permutation;
}

// An empty scratch folder under the test's temporary folder.
inline std::filesystem::path Folder(const char* name) {
    const std::filesystem::path folder = std::filesystem::path(testing::TempDir()) / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

inline std::vector<uint8_t> FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}

}  // namespace sound_test
