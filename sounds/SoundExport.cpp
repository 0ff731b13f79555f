#include "sounds/SoundExport.h"

#include <set>

#include "platform/fs/FileSystem.h"
#include "sounds/WavWriter.h"
#include "tags/Codex.h"

namespace tamber::sounds {
using namespace tamber::base;
using namespace tamber::platform;
using namespace tamber::tags;

std::vector<size_t> AllPermutations(const Sound& sound) {
    std::vector<size_t> all(sound.permutations.size());
    for (size_t i = 0; i < all.size(); ++i) all[i] = i;
    return all;
}

std::vector<WavExportItem> PlanWavExport(const Sound& sound, const std::vector<size_t>& which,
                                         const std::string& folder) {
    const std::string root = NormaliseFolderPath(folder);
    std::vector<WavExportItem> items;
    std::set<std::string> taken;
    for (size_t index : which) {
        if (index >= sound.permutations.size()) continue;
        const std::string name = WavFileName(sound.permutations[index].Name());
        const std::string stem = name.substr(0, name.size() - 4);
        std::string path = root + name;
        for (int copy = 2; !taken.insert(path).second; ++copy) path = root + stem + " (" + std::to_string(copy) + ").wav";
        items.push_back({index, path});
    }
    return items;
}

size_t ExportWavs(const Sound& sound, const std::vector<WavExportItem>& items,
                  const std::function<void(const WavExportOutcome&)>& report, const SoundByteReader& payload) {
    size_t failed = 0;
    for (const WavExportItem& item : items) {
        WavExportOutcome outcome;
        outcome.path = item.path;
        outcome.replaced = GetFileStatus(item.path).exists;
        const SoundPermutation& permutation = sound.permutations[item.permutation];
        outcome.status = payload ? WritePermutationWav(permutation, payload, item.path)
                                 : WritePermutationWav(permutation, item.path);
        if (!outcome.status) ++failed;
        report(outcome);
    }
    return failed;
}

}  // namespace tamber::sounds
