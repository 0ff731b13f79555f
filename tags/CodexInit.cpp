// The process-wide Codex, built from the game folder preference.
#include "base/Preferences.h"
#include "tags/Codex.h"

namespace tamber::tags {
using namespace tamber::base;

void InitCodex() {
    std::string gameFolder;
    const bool chosen = GetPrefString("VeskPath", gameFolder) && !gameFolder.empty();
    Codex::Instance().Init(chosen ? gameFolder : std::string(1, '.'));
}

bool CloseCodex() { return Codex::Instance().Close(); }

}  // namespace tamber::tags
