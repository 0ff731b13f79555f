// Checks the packet decoder and the WAV writer against ffmpeg and sox.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "sounds/ImaAdpcm.h"
#include "sounds/SoundPayload.h"
#include "sounds/WavWriter.h"
#include "tests/sounds/SoundTestSupport.h"

using namespace tamber::sounds;

namespace fs = std::filesystem;
using sound_test::FileBytes;
using sound_test::Folder;

namespace {

bool Have(const std::string& tool) { return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0; }

bool RunQuietly(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

uint32_t Be32(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }

void PutBe(std::vector<uint8_t>& out, uint64_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out.push_back(uint8_t(value >> (8 * i)));
}

struct Aifc {
    uint16_t channels = 0;
    std::vector<uint8_t> packets;
};

// The channel count and the sound data of an AIFF-C file.
std::optional<Aifc> ReadAifc(const fs::path& path) {
    const std::vector<uint8_t> bytes = FileBytes(path);
    Aifc aifc;
    for (size_t at = 12; at + 8 <= bytes.size();) {
        const uint32_t length = Be32(&bytes[at + 4]);
        if (at + 8 + length > bytes.size()) return std::nullopt;
        const uint8_t* body = &bytes[at + 8];
        if (std::memcmp(&bytes[at], "COMM", 4) == 0) aifc.channels = uint16_t(body[0] << 8 | body[1]);
        if (std::memcmp(&bytes[at], "SSND", 4) == 0) aifc.packets.assign(body + 8, body + length);
        at += 8 + length + (length & 1);
    }
    return aifc;
}

// A mono AIFF-C file of IMA4 packets.
void WriteAifc(const fs::path& path, const uint8_t* packets, size_t packetCount, uint32_t rate) {
    std::vector<uint8_t> comm;
    PutBe(comm, 1, 2);
    PutBe(comm, packetCount, 4);
    PutBe(comm, 16, 2);
    int exponent = 0;
    while ((uint64_t(rate) >> (exponent + 1)) != 0) ++exponent;
    PutBe(comm, 16383 + exponent, 2);
    PutBe(comm, uint64_t(rate) << (63 - exponent), 8);
    comm.insert(comm.end(), {'i', 'm', 'a', '4', 0, 0});
    std::vector<uint8_t> body{'A', 'I', 'F', 'C', 'F', 'V', 'E', 'R', 0, 0, 0, 4, 0xA2, 0x80, 0x51, 0x40};
    body.insert(body.end(), {'C', 'O', 'M', 'M'});
    PutBe(body, comm.size(), 4);
    body.insert(body.end(), comm.begin(), comm.end());
    body.insert(body.end(), {'S', 'S', 'N', 'D'});
    PutBe(body, 8 + packetCount * kImaPacketBytes, 4);
    PutBe(body, 0, 8);
    body.insert(body.end(), packets, packets + packetCount * kImaPacketBytes);
    std::vector<uint8_t> file{'F', 'O', 'R', 'M'};
    PutBe(file, body.size(), 4);
    file.insert(file.end(), body.begin(), body.end());
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), long(file.size()));
}

}  // namespace

TEST(SoundInterop, EveryPacketDecodesLikeFfmpeg) {
    if (!Have("ffmpeg")) GTEST_SKIP() << "ffmpeg not installed";
    const fs::path folder = Folder("ima_interop");
    // Loud, changing signals that reach the step table's ends and clip.
    const char* sources[] = {
        "aevalsrc=0.9*sin(2*PI*440*t)+0.4*sin(2*PI*5000*t*t):s=22050:d=0.08",
        "aevalsrc=sin(2*PI*180*t)*lt(t\\,0.04)+0.02*sin(2*PI*90*t)|1.5*sin(2*PI*2600*t):s=44100:d=0.05",
    };
    size_t compared = 0;
    for (const char* source : sources) {
        const fs::path aifc = folder / "ffmpeg.aifc";
        ASSERT_TRUE(RunQuietly("ffmpeg -v error -y -f lavfi -i '" + std::string(source) + "' -c:a adpcm_ima_qt -f aiff '" +
                        aifc.string() + "'"));
        std::optional<Aifc> encoded = ReadAifc(aifc);
        ASSERT_TRUE(encoded);
        ASSERT_GE(encoded->channels, 1u);
        const size_t packetCount = encoded->packets.size() / kImaPacketBytes;
        ASSERT_GE(packetCount, 8u);
        // Decoded on its own (a one-packet file), each packet starts from its
        // header in both decoders. One ffmpeg run decodes every such file.
        std::string command = "ffmpeg -v error -y";
        std::string outputs;
        for (size_t p = 0; p < packetCount; ++p) {
            const std::string stem = (folder / ("p" + std::to_string(p))).string();
            WriteAifc(stem + ".aifc", &encoded->packets[p * kImaPacketBytes], 1, 22050);
            command += " -i '" + stem + ".aifc'";
            outputs += " -map " + std::to_string(p) + " -f s16le -c:a pcm_s16le '" + stem + ".raw'";
        }
        ASSERT_TRUE(RunQuietly(command + outputs));
        for (size_t p = 0; p < packetCount; ++p) {
            const std::vector<uint8_t> theirs = FileBytes(folder / ("p" + std::to_string(p) + ".raw"));
            ASSERT_EQ(theirs.size(), kImaPacketSamples * 2);
            int16_t ours[kImaPacketSamples];
            DecodeImaPacket(&encoded->packets[p * kImaPacketBytes], ours, 1);
            for (size_t i = 0; i < kImaPacketSamples; ++i) {
                ASSERT_EQ(ours[i], int16_t(theirs[2 * i] | theirs[2 * i + 1] << 8)) << "packet " << p << " sample " << i;
            }
            ++compared;
        }
        // Our own whole-stream decoding lays the channels out frame by frame.
        const std::vector<int16_t> all = DecodeImaPackets(encoded->packets.data(), packetCount, encoded->channels);
        int16_t last[kImaPacketSamples];
        DecodeImaPacket(&encoded->packets[(packetCount - 1) * kImaPacketBytes], last, 1);
        const size_t c = (packetCount - 1) % encoded->channels;
        const size_t r = (packetCount - 1) / encoded->channels;
        EXPECT_EQ(all[(r * 64 + 63) * encoded->channels + c], last[63]);
    }
    EXPECT_GE(compared, 90u);
}

TEST(SoundInterop, WavFilesReadInSoxAndFfmpeg) {
    if (!Have("ffmpeg") || !Have("soxi")) GTEST_SKIP() << "ffmpeg or sox not installed";
    const fs::path folder = Folder("wav_interop");
    std::vector<int16_t> tone(300 * 2);
    for (size_t i = 0; i < tone.size(); ++i) tone[i] = int16_t(20000 * std::sin(0.03 * double(i)));
    Sound sound;
    SoundPermutation& permutation = sound.permutations.emplace_back();
    std::strcpy(permutation.nameRecord.name, "stereo");
    permutation.descriptor.flags = kSoundFlagImaAdpcm;
    permutation.descriptor.channels = 2;
    permutation.descriptor.sampleRate = 32000u << 16;
    permutation.packets = EncodeImaPackets(tone.data(), 300, 2);
    const std::vector<uint8_t> payload = WriteSoundPayload(sound);
    tamber::base::Result<Sound> read = ReadSoundPayload(payload.data(), payload.size());
    ASSERT_TRUE(read);
    const SoundPermutation& decoded = read->permutations[0];
    const fs::path wav = folder / WavFileName(decoded.Name());
    // Written as the export writes it: decoded block by block.
    ASSERT_TRUE(WritePermutationWav(decoded, wav.string()));

    auto soxi = [&](const char* option) {
        const fs::path out = folder / "soxi.txt";
        const std::string command = "soxi " + std::string(option) + " '" + wav.string() + "' > '" + out.string() + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
        const std::vector<uint8_t> text = FileBytes(out);
        return std::stol(std::string(text.begin(), text.end()));
    };
    EXPECT_EQ(soxi("-r"), 32000);
    EXPECT_EQ(soxi("-c"), 2);
    EXPECT_EQ(soxi("-s"), 320);  // 10 packets of 64 samples, 5 per channel

    const fs::path raw = folder / "ffmpeg.raw";
    ASSERT_TRUE(RunQuietly("ffmpeg -v error -y -i '" + wav.string() + "' -f s16le -c:a pcm_s16le '" + raw.string() + "'"));
    const std::vector<uint8_t> theirs = FileBytes(raw);
    ASSERT_EQ(theirs.size(), decoded.samples.size() * 2);
    EXPECT_EQ(0, std::memcmp(theirs.data(), decoded.samples.data(), theirs.size()));

    // A permutation without samples is still a WAV both tools open.
    SoundPermutation silent = decoded;
    silent.packets.clear();
    ASSERT_TRUE(WritePermutationWav(silent, wav.string()));
    EXPECT_EQ(soxi("-s"), 0);
    EXPECT_TRUE(RunQuietly("ffmpeg -v error -y -i '" + wav.string() + "' -f s16le -c:a pcm_s16le '" + raw.string() + "'"));
    EXPECT_EQ(fs::file_size(raw), 0u);
}
