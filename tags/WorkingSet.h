#pragma once
// The working set: which loaded archives are active and so take part in choosing
// each tag's current entry. Stored between runs under the CodexWorkingSet
// preference as a list of archive file names.
#include <vector>

namespace tamber::tags {

class Archive;
class Codex;

// Activates exactly these archives, renumbers the priorities of the archives
// whose type does not carry its own (types other than 2, 3, 4 and 6, priority
// below 32768) in load order, sorts the archive list and sends event 5.
void SetActiveArchives(Codex& codex, std::vector<Archive*> archives);
// Appends archives to the currently active ones and applies the whole list.
void AddToWorkingSet(Codex& codex, const std::vector<Archive*>& added);
// Activates every loaded archive of type 2, 3 or 6 and no other.
void ApplyDefaultWorkingSet(Codex& codex);
// The active archives in archive ordering.
std::vector<Archive*> ActiveArchives(const Codex& codex);
// Archive ordering: sort key ascending, then file name in byte order.
int ArchiveSortKey(const Archive& archive);
bool ArchiveOrderLess(const Archive& a, const Archive& b);

// Preference-backed: write the active archives' file names; read them back and
// apply them (or the default set when none are stored).
void StoreWorkingSet(Codex& codex);
void LoadWorkingSet(Codex& codex);

}  // namespace tamber::tags
