#include "sounds/WavWriter.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "platform/fs/AtomicFileWriter.h"
#include "sounds/ImaAdpcm.h"
#include "tags/TagHeader.h"

namespace tamber::sounds {
using namespace tamber::base;
using namespace tamber::platform;
using namespace tamber::tags;

namespace {

// Samples converted per write: 64 KiB of output.
constexpr size_t kBlockSamples = 32768;
// Packets decoded per block: whole groups of both channels, kBlockSamples in all.
constexpr size_t kBlockPackets = kBlockSamples / kImaPacketSamples;

void Put16(uint8_t* out, uint32_t value) {
    out[0] = uint8_t(value);
    out[1] = uint8_t(value >> 8);
}

void Put32(uint8_t* out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out + 2, value >> 16);
}

Status PutSamples(AtomicFileWriter& file, const int16_t* samples, size_t count) {
    std::vector<uint8_t> bytes(std::min(count, kBlockSamples) * 2);
    for (size_t at = 0; at < count;) {
        const size_t n = std::min(count - at, kBlockSamples);
        for (size_t i = 0; i < n; ++i) Put16(&bytes[i * 2], uint16_t(samples[at + i]));
        if (Status written = file.Write(bytes.data(), n * 2); !written) return written;
        at += n;
    }
    return Ok();
}

// Header, then whatever `body` writes, committed only when both succeeded.
Status WriteWavFile(uint32_t bits, uint32_t rate, uint32_t channels, size_t sampleCount, const std::string& path,
                    const std::function<Status(AtomicFileWriter&)>& body) {
    const Result<WavHeaderBytes> header = EncodeWavHeader(bits, rate, channels, sampleCount);
    if (!header) return Fail("couldn't write '" + path + "': " + header.error());
    AtomicFileWriter file;
    if (Status opened = file.Open(path); !opened) return opened;
    if (Status written = file.Write(header->data(), header->size()); !written) return written;
    if (Status written = body(file); !written) return written;
    return file.Commit();
}

// Decodes `packetCount` packets read from `read` at `offset` on, a block at a time.
Status WritePackets(const SoundDescriptor& d, size_t packetCount, uint64_t offset, const SoundByteReader& read,
                    const std::string& path) {
    const size_t channels = std::max<size_t>(d.channels, 1);
    // Blocks hold whole groups, so each decodes exactly as the whole sound would.
    const size_t step = std::max<size_t>(kBlockPackets / channels, 1) * channels;
    return WriteWavFile(d.bitsPerSample, d.Rate(), d.channels, packetCount * kImaPacketSamples, path,
                        [&](AtomicFileWriter& file) -> Status {
                            std::vector<uint8_t> block(std::min(step, packetCount) * kImaPacketBytes);
                            for (size_t at = 0; at < packetCount; at += step) {
                                const size_t count = std::min(step, packetCount - at);
                                if (!read(offset + at * kImaPacketBytes, block.data(), count * kImaPacketBytes))
                                    return Fail("couldn't write '" + path + "': the sound's packets cannot be read");
                                const std::vector<int16_t> samples = DecodeImaPackets(block.data(), count, d.channels);
                                if (Status put = PutSamples(file, samples.data(), samples.size()); !put) return put;
                            }
                            return Ok();
                        });
}

}  // namespace

Result<WavHeaderBytes> EncodeWavHeader(uint32_t bits, uint32_t rate, uint32_t channels, size_t sampleCount) {
    if (bits != 16) return Fail("only 16-bit sounds can be written as WAV, not " + std::to_string(bits) + "-bit");
    // The block size is a 16-bit field.
    if (channels == 0 || channels > 0x7FFF) return Fail(std::to_string(channels) + " channels cannot be written as WAV");
    const uint64_t dataSize = uint64_t(bits) * sampleCount / 8;
    const uint64_t byteRate = uint64_t(rate) * (bits / 8) * channels;
    if (dataSize > 0xFFFFFFFFull - 36 || byteRate > 0xFFFFFFFFull) return Fail("the sound is too long for a WAV file");
    WavHeaderBytes out{};
    std::copy_n("RIFF", 4, out.begin());
    Put32(&out[4], uint32_t(dataSize + 36));
    std::copy_n("WAVEfmt ", 8, out.begin() + 8);
    Put32(&out[16], 16);
    Put16(&out[20], 1);  // PCM
    Put16(&out[22], channels);
    Put32(&out[24], rate);
    Put32(&out[28], uint32_t(byteRate));
    Put16(&out[32], (bits / 8) * channels);
    Put16(&out[34], bits);
    std::copy_n("data", 4, out.begin() + 36);
    Put32(&out[40], uint32_t(dataSize));
    return out;
}

Status WriteWav(const int16_t* samples, uint32_t bits, uint32_t rate, uint32_t channels, size_t sampleCount,
                const std::string& path) {
    return WriteWavFile(bits, rate, channels, sampleCount, path,
                        [&](AtomicFileWriter& file) { return PutSamples(file, samples, sampleCount); });
}

Status WritePermutationWav(const SoundPermutation& permutation, const std::string& path) {
    const std::vector<uint8_t>& packets = permutation.packets;
    return WritePackets(
        permutation.descriptor, packets.size() / kImaPacketBytes, 0,
        [&](uint64_t offset, uint8_t* out, size_t bytes) {
            if (offset > packets.size() || bytes > packets.size() - offset) return false;
            std::copy_n(packets.data() + offset, bytes, out);
            return true;
        },
        path);
}

Status WritePermutationWav(const SoundPermutation& permutation, const SoundByteReader& payload,
                           const std::string& path) {
    return WritePackets(permutation.descriptor, permutation.descriptor.packetCount, permutation.packetsOffset, payload,
                        path);
}

std::string WavFileName(const std::string& permutationName) {
    std::string name = TagFileName(permutationName);
    // Line ends and other control characters make names no file manager shows well.
    std::replace_if(name.begin(), name.end(), [](char c) { return (unsigned char)c < 0x20 || c == 0x7F; }, '_');
    return name + ".wav";
}

}  // namespace tamber::sounds
