#include "sounds/WavWriter.h"

#include <string>

#include "platform/fs/FileBytes.h"
#include "tags/TagHeader.h"

namespace tamber::sounds {
using namespace tamber::base;
using namespace tamber::platform;
using namespace tamber::tags;

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(uint8_t(value));
    out.push_back(uint8_t(value >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

void PutText(std::vector<uint8_t>& out, const char* text) { out.insert(out.end(), text, text + 4); }

}  // namespace

Result<std::vector<uint8_t>> EncodeWav(const int16_t* samples, uint32_t bits, uint32_t rate, uint32_t channels,
                                       size_t sampleCount) {
    std::vector<uint8_t> out;
    if (bits != 16) return Fail("only 16-bit sounds can be written as WAV, not " + std::to_string(bits) + "-bit");
    // The block size is a 16-bit field.
    if (channels == 0 || channels > 0x7FFF) return Fail(std::to_string(channels) + " channels cannot be written as WAV");
    if (sampleCount == 0) return out;
    const uint64_t dataSize = uint64_t(bits) * sampleCount / 8;
    const uint64_t byteRate = uint64_t(rate) * (bits / 8) * channels;
    if (dataSize > 0xFFFFFFFFull - 36 || byteRate > 0xFFFFFFFFull) return Fail("the sound is too long for a WAV file");
    out.reserve(44 + size_t(dataSize));
    PutText(out, "RIFF");
    Put32(out, uint32_t(dataSize + 36));
    PutText(out, "WAVE");
    PutText(out, "fmt ");
    Put32(out, 16);
    Put16(out, 1);  // PCM
    Put16(out, channels);
    Put32(out, rate);
    Put32(out, uint32_t(byteRate));
    Put16(out, (bits / 8) * channels);
    Put16(out, bits);
    PutText(out, "data");
    Put32(out, uint32_t(dataSize));
    for (size_t i = 0; i < sampleCount; ++i) Put16(out, uint16_t(samples[i]));
    return out;
}

Status WriteWav(const int16_t* samples, uint32_t bits, uint32_t rate, uint32_t channels, size_t sampleCount,
                const std::string& path) {
    Result<std::vector<uint8_t>> bytes = EncodeWav(samples, bits, rate, channels, sampleCount);
    if (!bytes) return Fail("couldn't write '" + path + "': " + bytes.error());
    return WriteFileAtomically(path, *bytes);
}

std::string WavFileName(const std::string& permutationName) { return TagFileName(permutationName) + ".wav"; }

}  // namespace tamber::sounds
