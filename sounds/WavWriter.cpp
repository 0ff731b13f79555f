#include "sounds/WavWriter.h"

#include <cstdio>

#include "platform/fs/AtomicFileWriter.h"
#include "tags/TagHeader.h"

namespace tamber::sounds {
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

bool EncodeWav(const int16_t* samples, uint32_t bits, uint32_t rate, uint32_t channels, size_t sampleCount,
               std::vector<uint8_t>& out) {
    out.clear();
    if (bits != 16 || channels == 0 || channels > 0x7FFF) return false;  // the block size is 16-bit
    if (sampleCount == 0) return true;
    const uint64_t dataSize = uint64_t(bits) * sampleCount / 8;
    const uint64_t byteRate = uint64_t(rate) * (bits / 8) * channels;
    if (dataSize > 0xFFFFFFFFull - 36 || byteRate > 0xFFFFFFFFull) return false;
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
    return true;
}

bool WriteWav(const int16_t* samples, uint32_t bits, uint32_t rate, uint32_t channels, size_t sampleCount,
              const std::string& path) {
    std::vector<uint8_t> bytes;
    if (!EncodeWav(samples, bits, rate, channels, sampleCount, bytes)) return false;
    AtomicFileWriter writer;
    if (!writer.Open(path)) return false;
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), writer.File()) != bytes.size()) {
        writer.Abort();
        return false;
    }
    return writer.Commit();
}

std::string WavFileName(const std::string& permutationName) { return TagFileName(permutationName) + ".wav"; }

}  // namespace tamber::sounds
