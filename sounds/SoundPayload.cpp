#include "sounds/SoundPayload.h"

#include <cstdio>
#include <cstring>

#include "sounds/ImaAdpcm.h"
#include "tags/ByteSwap.h"

namespace tamber::sounds {
using namespace tamber::base;
using namespace tamber::tags;

namespace {

using namespace ByteSwap;

const uint16_t kHeaderDescriptor[] = {64, 1, kSwap32, 8, kSwap16, 1, kSwap32, 2, kSwap32, 1, kSwap16,
                                      2, kZero8, 1, kSwap32, 1, kSwap32, 1, kSwap32, 16, kZero8};
const uint16_t kNameDescriptor[] = {32, 2, kSwap16, 2, kZero8, 25, kBytes, 1, kZero8};
const uint16_t kPermutationDescriptor[] = {32, 1, kSwap32, 3, kSwap16, 2, kZero8, 1, kSwap32,
                                           1, kSwap32, 2, kSwap32, 4, kZero8};

// Reads and converts `count` disk records at `offset` into `out`; false when they
// do not fit the payload's `size` bytes or cannot be read.
template <class Record>
bool UnpackAt(const SoundByteReader& read, uint64_t size, uint64_t offset, size_t count, const uint16_t* descriptor,
              std::vector<Record>& out) {
    if (offset > size || count > (size - offset) / sizeof(Record)) return false;
    std::vector<uint8_t> raw(count * sizeof(Record));
    if (!raw.empty() && !read(offset, raw.data(), raw.size())) return false;
    out.resize(count);
    UnpackRecords(out.data(), raw.data(), count, descriptor);
    return true;
}

bool IsDecodable(const SoundDescriptor& d) {
    return (d.flags & kSoundFlagImaAdpcm) && d.bitsPerSample == 16 && (d.channels == 1 || d.channels == 2);
}

template <class Record>
void Append(std::vector<uint8_t>& out, const Record& record, const uint16_t* descriptor) {
    const size_t at = out.size();
    out.resize(at + sizeof(Record));
    PackRecords(out.data() + at, &record, 1, descriptor);
}

}  // namespace

Result<Sound> ReadSoundLayout(const SoundByteReader& read, uint64_t size) {
    Sound sound;
    uint8_t raw[sizeof(SoundHeader)];
    if (size < sizeof(SoundHeader) || !read(0, raw, sizeof raw)) return Fail("couldn't read the sound: its header is cut short");
    UnpackRecords(&sound.header, raw, 1, kHeaderDescriptor);
    const size_t count = sound.header.permutationCount;
    std::vector<SoundNameRecord> names;
    std::vector<SoundDescriptor> descriptors;
    if (!UnpackAt(read, size, sound.header.namesOffset, count, kNameDescriptor, names))
        return Fail("couldn't read the sound: its " + std::to_string(count) + " permutation names lie outside the data");
    if (!UnpackAt(read, size, sound.header.descriptorOffset, count, kPermutationDescriptor, descriptors))
        return Fail("couldn't read the sound: its " + std::to_string(count) +
                    " permutation descriptors lie outside the data");
    uint64_t position = uint64_t(sound.header.descriptorOffset) + count * sizeof(SoundDescriptor);
    sound.permutations.resize(count);
    for (size_t i = 0; i < count; ++i) {
        SoundPermutation& permutation = sound.permutations[i];
        permutation.nameRecord = names[i];
        permutation.descriptor = descriptors[i];
        permutation.packetsOffset = position;
        const SoundDescriptor& d = permutation.descriptor;
        const std::string which = "couldn't read the sound: permutation " + std::to_string(i + 1) + " ";
        if (d.packetCount > 0) {
            if (!IsDecodable(d)) return Fail(which + "is not 16-bit IMA ADPCM with one or two channels");
            if (d.packetCount > (size - position) / kImaPacketBytes) return Fail(which + "ends before its last packet");
            position += uint64_t(d.packetCount) * kImaPacketBytes;
        }
        if (d.channels < 1 || d.bitsPerSample != 16) return Fail(which + "is not 16-bit IMA ADPCM with one or two channels");
    }
    return sound;
}

Result<Sound> ReadSoundPayload(const uint8_t* data, size_t size) {
    Result<Sound> sound = ReadSoundLayout(
        [&](uint64_t offset, uint8_t* out, size_t bytes) {
            if (offset > size || bytes > size - offset) return false;
            std::memcpy(out, data + offset, bytes);
            return true;
        },
        size);
    if (!sound) return sound;
    for (SoundPermutation& permutation : sound->permutations) {
        const SoundDescriptor& d = permutation.descriptor;
        const uint8_t* packets = data + permutation.packetsOffset;
        permutation.packets.assign(packets, packets + size_t(d.packetCount) * kImaPacketBytes);
        if (d.packetCount > 0)
            permutation.samples = DecodeImaPackets(permutation.packets.data(), d.packetCount, d.channels);
    }
    return sound;
}

std::vector<uint8_t> WriteSoundPayload(const Sound& sound) {
    SoundHeader header = sound.header;
    const uint32_t count = uint32_t(sound.permutations.size());
    header.permutationCount = count;
    header.namesOffset = sizeof(SoundHeader);
    header.descriptorOffset = uint32_t(sizeof(SoundHeader) + count * sizeof(SoundNameRecord));
    std::vector<uint8_t> out;
    Append(out, header, kHeaderDescriptor);
    for (const SoundPermutation& permutation : sound.permutations) Append(out, permutation.nameRecord, kNameDescriptor);
    for (const SoundPermutation& permutation : sound.permutations) {
        SoundDescriptor descriptor = permutation.descriptor;
        descriptor.packetCount = uint32_t(permutation.packets.size() / kImaPacketBytes);
        Append(out, descriptor, kPermutationDescriptor);
    }
    for (const SoundPermutation& permutation : sound.permutations) {
        out.insert(out.end(), permutation.packets.begin(),
                   permutation.packets.begin() + long(permutation.packets.size() / kImaPacketBytes * kImaPacketBytes));
    }
    return out;
}

std::string SoundDurationText(const SoundDescriptor& descriptor) {
    const uint64_t rate = descriptor.Rate();
    const uint64_t channels = descriptor.channels;
    // A rate or channel count of zero has no duration to speak of.
    const uint64_t seconds =
        (rate == 0 || channels == 0) ? 0 : uint64_t(descriptor.packetCount) * kImaPacketSamples / channels / rate;
    char text[48];
    if (seconds >= 3600) {
        std::snprintf(text, sizeof text, "%02d:%02d:%02d", int(seconds / 3600), int(seconds / 60 % 60),
                      int(seconds % 60));
    } else {
        std::snprintf(text, sizeof text, "%02d:%02d", int(seconds / 60), int(seconds % 60));
    }
    return text;
}

std::string SoundChannelsText(uint32_t channels) {
    if (channels == 1) return "1 (mono)";
    if (channels == 2) return "2 (stereo)";
    return std::to_string(channels);
}

}  // namespace tamber::sounds
