#pragma once
// Exporting a sound's permutations as WAV files into a folder the user chose:
// one file per permutation, named after it, each written completely or not at
// all, existing files replaced and said so.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "base/Result.h"
#include "sounds/SoundPayload.h"

namespace tamber::sounds {

struct WavExportItem {
    size_t permutation = 0;
    std::string path;
};

// The indexes of every permutation, in order.
std::vector<size_t> AllPermutations(const Sound& sound);

// One path per permutation of `which` (indexes into the sound): the folder and
// the permutation's safe file name. A name an earlier item already took gets
// " (2)", " (3)", ... so that no permutation overwrites another.
std::vector<WavExportItem> PlanWavExport(const Sound& sound, const std::vector<size_t>& which,
                                         const std::string& folder);

struct WavExportOutcome {
    std::string path;
    bool replaced = false;  // a file of that name was there before
    base::Status status;
};

// Writes every item in turn, going on past failures; `report` hears of each.
// The packets come from the permutations, or when `payload` is given from the
// payload a block at a time. Returns the number of files that could not be written.
size_t ExportWavs(const Sound& sound, const std::vector<WavExportItem>& items,
                  const std::function<void(const WavExportOutcome&)>& report, const SoundByteReader& payload = {});

}  // namespace tamber::sounds
