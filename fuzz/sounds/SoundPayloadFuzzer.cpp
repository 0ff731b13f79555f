// Reads arbitrary bytes as a `soun` payload and checks the WAV header and file name of what decodes.
#include <cstdint>
#include <string>

#include "sounds/SoundPayload.h"
#include "sounds/WavWriter.h"

using namespace tamber::sounds;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tamber::base::Result<Sound> sound = ReadSoundPayload(data, size);
    if (!sound) return 0;
    for (const SoundPermutation& permutation : sound->permutations) {
        if (permutation.samples.size() != size_t(permutation.descriptor.packetCount) * 64) __builtin_trap();
        (void)EncodeWavHeader(16, permutation.descriptor.Rate(), permutation.descriptor.channels,
                              permutation.samples.size());
        SoundDurationText(permutation.descriptor);
        // An exported file always lands in the chosen folder.
        if (WavFileName(permutation.Name()).find('/') != std::string::npos) __builtin_trap();
    }
    // What was read writes back to the same permutations.
    const std::vector<uint8_t> written = WriteSoundPayload(*sound);
    tamber::base::Result<Sound> again = ReadSoundPayload(written.data(), written.size());
    if (!again || again->permutations.size() != sound->permutations.size()) __builtin_trap();
    return 0;
}
