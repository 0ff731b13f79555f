// "demo chimes" (`chim`, foundation archive): three mono permutations at 22050 Hz.
// "demo wind" (`wind`, loose): one stereo permutation at 44100 Hz.
// "demo quiet" (`quie`, foundation archive): a permutation of no packets beside a
// one-packet mono one.
#include "demo/DemoSounds.h"

#include <cmath>
#include <cstdio>

#include "sounds/ImaAdpcm.h"
#include "sounds/SoundPayload.h"
#include "tags/FourCC.h"

namespace tamber::demo {
using namespace tamber::sounds;
using namespace tamber::tags;

namespace {

constexpr double kPi = 3.14159265358979323846;

// A decaying tone on every channel, each channel a little higher than the last.
std::vector<int16_t> Tone(double frequency, uint32_t rate, uint32_t channels, size_t frames) {
    std::vector<int16_t> samples(frames * channels);
    for (size_t i = 0; i < frames; ++i) {
        const double t = double(i) / rate;
        const double envelope = std::exp(-3.0 * t);
        for (uint32_t c = 0; c < channels; ++c) {
            const double f = frequency * (1.0 + 0.25 * c);
            samples[i * channels + c] =
                int16_t(14000 * envelope * (std::sin(2 * kPi * f * t) + 0.3 * std::sin(6 * kPi * f * t)));
        }
    }
    return samples;
}

SoundPermutation Permutation(const char* name, double frequency, uint32_t rate, uint32_t channels, size_t frames) {
    SoundPermutation permutation;
    std::snprintf(permutation.nameRecord.name, sizeof permutation.nameRecord.name, "%s", name);
    permutation.descriptor.flags = kSoundFlagImaAdpcm;
    permutation.descriptor.bitsPerSample = 16;
    permutation.descriptor.channels = uint16_t(channels);
    permutation.descriptor.sampleRate = rate << 16;
    const std::vector<int16_t> samples = Tone(frequency, rate, channels, frames);
    permutation.packets = EncodeImaPackets(samples.data(), frames, channels);
    return permutation;
}

DemoTag SoundTag(const std::string& name, uint32_t tagid, const Sound& sound) {
    DemoTag tag;
    tag.group = FourCC("soun");
    tag.tagid = tagid;
    tag.name = name;
    tag.data = WriteSoundPayload(sound);
    return tag;
}

}  // namespace

void AddSoundContent(DemoGame& game) {
    DemoArchive& foundation = game.ArchiveNamed("foundation.dng");

    Sound chimes;
    chimes.permutations.push_back(Permutation("chime low", 440, 22050, 1, 22050 / 3));
    chimes.permutations.push_back(Permutation("chime middle", 660, 22050, 1, 22050 / 4));
    chimes.permutations.push_back(Permutation("chime high", 880, 22050, 1, 22050 / 5));
    foundation.tags.push_back(SoundTag("demo chimes", FourCC("chim"), chimes));

    Sound quiet;
    quiet.permutations.push_back(Permutation("nothing", 0, 11025, 1, 0));
    quiet.permutations.push_back(Permutation("click", 2000, 11025, 1, 64));
    foundation.tags.push_back(SoundTag("demo quiet", FourCC("quie"), quiet));

    Sound wind;
    wind.permutations.push_back(Permutation("gust", 180, 44100, 2, 44100));
    const DemoTag loose = SoundTag("demo wind", FourCC("wind"), wind);
    game.AddLoose({"sounds", loose.name, loose, false});
}

}  // namespace tamber::demo
