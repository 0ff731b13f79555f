// The working set's preference: CodexWorkingSet, a list of archive file names.
#include "base/Preferences.h"
#include "tags/Codex.h"
#include "tags/WorkingSet.h"

namespace tamber::tags {
using namespace tamber::base;

void StoreWorkingSet(Codex& codex) {
    std::vector<std::string> names;
    for (Archive* archive : ActiveArchives(codex)) names.push_back(archive->fileName);
    SetPrefStringList("CodexWorkingSet", names);
}

void LoadWorkingSet(Codex& codex) {
    std::vector<std::string> names;
    if (GetPrefStringList("CodexWorkingSet", names) && !names.empty()) {
        std::vector<Archive*> archives;
        for (const std::string& name : names) {
            if (Archive* archive = codex.FindArchiveByName(name)) archives.push_back(archive);
        }
        SetActiveArchives(codex, archives);
    } else {
        ApplyDefaultWorkingSet(codex);
    }
    StoreWorkingSet(codex);
}

}  // namespace tamber::tags
