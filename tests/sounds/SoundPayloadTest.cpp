#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "sounds/ImaAdpcm.h"
#include "sounds/SoundPayload.h"
#include "sounds/WavWriter.h"
#include "tests/sounds/SoundTestSupport.h"

using namespace tamber::sounds;

namespace fs = std::filesystem;

using namespace sound_test;

TEST(ImaAdpcm, DecodesFromEachPacketHeader) {
    uint8_t packet[kImaPacketBytes] = {};
    packet[0] = 0x01;  // predictor 0x0180; the low 7 bits give index 0x7F, above 88
    packet[1] = 0xFF;
    packet[2] = 0x07;  // first code 7, second 0
    int16_t out[kImaPacketSamples];
    DecodeImaPacket(packet, out, 1);
    // Index 88 (step 32767): code 7 adds 32767/8 + 32767 + 32767/2 + 32767/4 and clamps.
    EXPECT_EQ(out[0], 32767);
    // Then index 88 + 6 stays 88; code 0 adds 32767 >> 3.
    EXPECT_EQ(out[1], 32767);

    packet[0] = 0xFF;  // predictor -128, index 0 (step 7)
    packet[1] = 0x80;
    packet[2] = 0x94;  // codes 4 then 9
    DecodeImaPacket(packet, out, 1);
    EXPECT_EQ(out[0], -128 + 7 / 8 + 7);               // code 4: +s, index 0 + 2 = 2 (step 9)
    EXPECT_EQ(out[1], out[0] - (9 / 8 + 9 / 4));        // code 9: negative, s >> 3 plus s >> 2

    // Stereo: packets alternate left, right; an odd last packet has no partner.
    std::vector<int16_t> tone = Tone(200, 2);
    std::vector<uint8_t> packets = EncodeImaPackets(tone.data(), 200, 2);
    ASSERT_EQ(packets.size(), 8 * kImaPacketBytes);
    std::vector<int16_t> decoded = DecodeImaPackets(packets.data(), 8, 2);
    ASSERT_EQ(decoded.size(), 512u);
    double error = 0;
    for (size_t i = 0; i < 400; ++i) error = std::max(error, std::fabs(double(decoded[i]) - tone[i]));
    EXPECT_LT(error, 1200.0);
    DecodeImaPacket(&packets[3 * kImaPacketBytes], out, 1);
    EXPECT_EQ(out[5], decoded[(64 + 5) * 2 + 1]);
    std::vector<int16_t> odd = DecodeImaPackets(packets.data(), 3, 2);
    EXPECT_EQ(odd[64 * 2], 0);
}

TEST(SoundPayload, ReadsWhatItWrites) {
    Sound sound;
    sound.permutations.push_back(Permutation("mono", 1, 22050, 64));
    sound.permutations.push_back(Permutation("A twenty-five-char name!!", 2, 44100, 130));
    sound.permutations.push_back(Permutation("silent", 1, 11025, 0));
    const std::vector<uint8_t> bytes = WriteSoundPayload(sound);
    ASSERT_EQ(bytes.size(), 64 + 3 * 64 + (1 + 6) * kImaPacketBytes);

    tamber::base::Result<Sound> read = ReadSoundPayload(bytes.data(), bytes.size());
    ASSERT_TRUE(read);
    ASSERT_EQ(read->permutations.size(), 3u);
    const SoundPermutation& stereo = read->permutations[1];
    EXPECT_EQ(stereo.Name(), "A twenty-five-char name!!");
    EXPECT_EQ(WavFileName(stereo.Name()), "A twenty-five-char name!!.wav");
    EXPECT_EQ(stereo.descriptor.Rate(), 44100u);
    EXPECT_EQ(stereo.descriptor.packetCount, 6u);
    EXPECT_EQ(stereo.FrameCount(), 192u);
    EXPECT_EQ(stereo.samples, DecodeImaPackets(sound.permutations[1].packets.data(), 6, 2));
    EXPECT_EQ(read->permutations[0].samples.size(), 64u);
    EXPECT_TRUE(read->permutations[2].samples.empty());

    // Every truncation fails, as do undecodable permutations and wild offsets.
    for (size_t cut = 0; cut < bytes.size(); cut += 7)
        EXPECT_FALSE(ReadSoundPayload(bytes.data(), cut)) << cut;
    auto patched = [&](size_t at, uint8_t value) {
        std::vector<uint8_t> copy = bytes;
        copy[at] = value;
        return ReadSoundPayload(copy.data(), copy.size());
    };
    const size_t firstDescriptor = 64 + 3 * 32;
    EXPECT_FALSE(patched(firstDescriptor + 3, 0));     // not IMA ADPCM
    EXPECT_EQ(patched(firstDescriptor + 5, 8).error(),  // 8 bits per sample
              "couldn't read the sound: permutation 1 is not 16-bit IMA ADPCM with one or two channels");
    EXPECT_FALSE(patched(firstDescriptor + 9, 3));     // three channels
    EXPECT_FALSE(patched(firstDescriptor + 64 + 9, 0));  // a silent permutation still needs a channel
    EXPECT_FALSE(patched(39, 200));                    // 200 permutations
    EXPECT_FALSE(patched(40, 0xFF));                   // names far away
    EXPECT_TRUE(patched(0, 0xAB));                     // fields the editor does not use
}

TEST(SoundPayload, DurationAndChannelTexts) {
    SoundDescriptor d;
    d.channels = 2;
    d.sampleRate = 22050u << 16;
    d.packetCount = 4;
    EXPECT_EQ(SoundDurationText(d), "00:00");
    d.packetCount = 22050 * 2 * 126 / 64;  // 125.9 s
    EXPECT_EQ(SoundDurationText(d), "02:05");
    d.channels = 1;
    d.sampleRate = 8000u << 16;
    d.packetCount = 8000u * 3725 / 64;
    EXPECT_EQ(SoundDurationText(d), "01:02:05");
    d.sampleRate = 0x8000;  // below one hertz
    EXPECT_EQ(SoundDurationText(d), "00:00");
    EXPECT_EQ(SoundChannelsText(1), "1 (mono)");
    EXPECT_EQ(SoundChannelsText(2), "2 (stereo)");
    EXPECT_EQ(SoundChannelsText(6), "6");
}

TEST(WavWriter, LayoutAndSizes) {
    const fs::path folder = fs::path(testing::TempDir()) / "wav_writer";
    fs::create_directories(folder);
    const std::vector<int16_t> samples = Tone(64, 1);
    ASSERT_TRUE(WriteWav(samples.data(), 16, 22050, 1, 64, (folder / "one.wav").string()));
    const std::vector<uint8_t> wav = FileBytes(folder / "one.wav");
    ASSERT_EQ(wav.size(), 172u);
    EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");
    EXPECT_EQ(Le32(wav, 4), 128u + 36u);
    EXPECT_EQ(std::string(wav.begin() + 8, wav.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(Le32(wav, 16), 16u);
    EXPECT_EQ(wav[20] | wav[21] << 8, 1);
    EXPECT_EQ(wav[22] | wav[23] << 8, 1);
    EXPECT_EQ(Le32(wav, 24), 22050u);
    EXPECT_EQ(Le32(wav, 28), 44100u);
    EXPECT_EQ(wav[32] | wav[33] << 8, 2);
    EXPECT_EQ(wav[34] | wav[35] << 8, 16);
    EXPECT_EQ(std::string(wav.begin() + 36, wav.begin() + 40), "data");
    EXPECT_EQ(Le32(wav, 40), 128u);
    EXPECT_EQ(int16_t(wav[44 + 2 * 9] | wav[45 + 2 * 9] << 8), samples[9]);

    const std::vector<int16_t> stereo = Tone(128, 2);
    ASSERT_TRUE(WriteWav(stereo.data(), 16, 48000, 2, 256, (folder / "two.wav").string()));
    const std::vector<uint8_t> two = FileBytes(folder / "two.wav");
    EXPECT_EQ(two.size(), 44u + 512u);
    EXPECT_EQ(Le32(two, 28), 192000u);
    EXPECT_EQ(two[32], 4);

    // No samples: a valid WAV with an empty data chunk, replacing what was there.
    ASSERT_TRUE(WriteWav(nullptr, 16, 22050, 1, 0, (folder / "one.wav").string()));
    const std::vector<uint8_t> empty = FileBytes(folder / "one.wav");
    ASSERT_EQ(empty.size(), 44u);
    EXPECT_EQ(Le32(empty, 4), 36u);
    EXPECT_EQ(Le32(empty, 40), 0u);
    EXPECT_EQ(std::vector<uint8_t>(empty.begin() + 8, empty.begin() + 36), std::vector<uint8_t>(wav.begin() + 8, wav.begin() + 36));
    EXPECT_FALSE(WriteWav(samples.data(), 16, 22050, 1, 64, (folder / "missing" / "x.wav").string()));
    const std::string eight = (folder / "eight.wav").string();
    EXPECT_EQ(WriteWav(samples.data(), 8, 22050, 1, 64, eight).error(),
              "couldn't write '" + eight + "': only 16-bit sounds can be written as WAV, not 8-bit");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2);
}
