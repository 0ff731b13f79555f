#pragma once
// The payload of a `soun` tag: a 64-byte header, a 32-byte name record and a
// 32-byte descriptor per permutation, and each permutation's IMA ADPCM packets
// right after the descriptors. Big-endian on disk, converted by descriptors.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/Result.h"

namespace tamber::sounds {

struct alignas(8) SoundHeader {
    uint32_t unknown0 = 0;
    uint16_t unknown4[8] = {};
    uint32_t descriptorOffset = 0;  // from the start of the payload
    uint32_t unknown24[2] = {};
    uint16_t unknown32 = 0;
    uint8_t cleared34[2] = {};
    uint32_t permutationCount = 0;
    uint32_t namesOffset = 0;  // from the start of the payload
    uint32_t unknown44 = 0;
    uint8_t cleared48[16] = {};
};
static_assert(sizeof(SoundHeader) == 64);

struct alignas(8) SoundNameRecord {
    uint16_t unknown0[2] = {};
    uint8_t cleared4[2] = {};
    char name[26] = {};  // up to 25 characters, the last byte always zero
};
static_assert(sizeof(SoundNameRecord) == 32);

constexpr uint32_t kSoundFlagImaAdpcm = 1;

struct alignas(8) SoundDescriptor {
    uint32_t flags = 0;  // bit 0: IMA ADPCM
    uint16_t bitsPerSample = 16;
    uint16_t unknown6 = 0;
    uint16_t channels = 1;
    uint8_t cleared10[2] = {};
    uint32_t sampleRate = 0;  // 16.16 fixed point
    uint32_t packetCount = 0;
    uint32_t unknown20[2] = {};
    uint8_t cleared28[4] = {};

    uint32_t Rate() const { return sampleRate >> 16; }
};
static_assert(sizeof(SoundDescriptor) == 32);

struct SoundPermutation {
    SoundNameRecord nameRecord;
    SoundDescriptor descriptor;
    uint64_t packetsOffset = 0;    // where its packets start, from the start of the payload
    std::vector<uint8_t> packets;  // packetCount x 34 bytes (empty when only the layout was read)
    std::vector<int16_t> samples;  // packetCount x 64, channels interleaved

    std::string Name() const { return nameRecord.name; }
    size_t FrameCount() const { return descriptor.channels ? samples.size() / descriptor.channels : 0; }
};

struct Sound {
    SoundHeader header;
    std::vector<SoundPermutation> permutations;
};

// Reads `bytes` bytes of a payload at `offset` into `out`; false when they are not there.
using SoundByteReader = std::function<bool(uint64_t offset, uint8_t* out, size_t bytes)>;

// Reads the header, names and descriptors of a payload of `size` bytes and where
// each permutation's packets lie, without reading the packets; fails as
// ReadSoundPayload does.
base::Result<Sound> ReadSoundLayout(const SoundByteReader& read, uint64_t size);

// Reads and decodes every permutation. Fails when a count or offset points
// past the data, the packets end early, or a permutation is not 16-bit IMA
// ADPCM with one or two channels.
base::Result<Sound> ReadSoundPayload(const uint8_t* data, size_t size);

// Lays the payload out as the reader expects it: header, names, descriptors,
// then the packets of each permutation in turn (offsets and counts are set
// from the permutations).
std::vector<uint8_t> WriteSoundPayload(const Sound& sound);

// Texts shown for a permutation: the duration in whole seconds as "%02d:%02d"
// (or "%02d:%02d:%02d" from an hour on), and the channel count.
std::string SoundDurationText(const SoundDescriptor& descriptor);
std::string SoundChannelsText(uint32_t channels);

}  // namespace tamber::sounds
