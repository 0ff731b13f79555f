#include "tags/WorkingSet.h"

#include <algorithm>

#include "tags/Codex.h"

namespace tamber::tags {

int ArchiveSortKey(const Archive& archive) {
    if (!archive.active) return -1;
    const uint16_t type = archive.header.type;
    if (type == 3) return -3;
    if (type == 2 || type == 4 || type == 6) return -2;
    return archive.header.priority;
}

bool ArchiveOrderLess(const Archive& a, const Archive& b) {
    const int ka = ArchiveSortKey(a), kb = ArchiveSortKey(b);
    if (ka != kb) return ka < kb;
    return a.fileName < b.fileName;
}

void SetActiveArchives(Codex& codex, std::vector<Archive*> archives) {
    archives.erase(std::remove(archives.begin(), archives.end(), nullptr), archives.end());
    // A fixed order that decides the renumbered priorities: load order.
    std::sort(archives.begin(), archives.end(), [](const Archive* a, const Archive* b) { return a->loadIndex < b->loadIndex; });
    archives.erase(std::unique(archives.begin(), archives.end()), archives.end());

    auto& list = codex.ArchiveList();
    for (auto& archive : list) archive->active = false;
    for (Archive* archive : archives) archive->active = true;

    uint16_t counter = 0;
    for (Archive* archive : archives) {
        const uint16_t type = archive->header.type;
        if (type == 2 || type == 3 || type == 4 || type == 6 || archive->header.priority >= 32768) continue;
        archive->header.priority = counter++;
    }
    std::stable_sort(list.begin(), list.end(), [](const auto& a, const auto& b) { return ArchiveOrderLess(*a, *b); });
    codex.Notify(kCodexActiveSetChanged, nullptr);
}

void AddToWorkingSet(Codex& codex, const std::vector<Archive*>& added) {
    std::vector<Archive*> archives = ActiveArchives(codex);
    archives.insert(archives.end(), added.begin(), added.end());
    SetActiveArchives(codex, archives);
}

void ApplyDefaultWorkingSet(Codex& codex) {
    std::vector<Archive*> archives;
    for (auto& archive : codex.ArchiveList()) {
        const uint16_t type = archive->header.type;
        if (type == 2 || type == 3 || type == 6) archives.push_back(archive.get());
    }
    SetActiveArchives(codex, archives);
}

std::vector<Archive*> ActiveArchives(const Codex& codex) {
    std::vector<Archive*> active;
    for (size_t i = 0; Archive* archive = codex.ArchiveAt(i); ++i) {
        if (archive->active) active.push_back(archive);
    }
    std::stable_sort(active.begin(), active.end(), [](const Archive* a, const Archive* b) { return ArchiveOrderLess(*a, *b); });
    return active;
}

}  // namespace tamber::tags
