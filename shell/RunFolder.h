#pragma once
// The program reads its resources from "res/" under the working folder and writes its
// own files (preferences, the log, res/dtex.act) there too. EnterRunFolder picks that
// folder before anything is read:
// - the working folder when it has a res/ folder (the build's run folder, tests);
// - the executable's folder when res/ lies beside it (the build's program started
//   from elsewhere);
// - for an installed program (bin/tamber with share/tamber/res), the per-user folder
//   $XDG_CONFIG_HOME/tamber (~/.config/tamber by default): its res/ holds a link to
//   every shipped file, so reads see the shipped files until the program writes its
//   own version, which replaces the link (writes go through a temporary file and a
//   rename) and is kept across upgrades.
// Otherwise the working folder stays as it is and the missing resources are reported
// by the start-up as usual.
#include <string>

#include "base/Result.h"

namespace tamber::shell {
using namespace tamber::base;

struct RunFolderPlaces {
    std::string workingFolder;
    std::string executable;    // the program's own path
    std::string configHome;    // $XDG_CONFIG_HOME, empty when unset
    std::string home;          // $HOME
};

// The folder to run in, or an empty string to stay in the working folder. Creates and
// refreshes the per-user folder of an installed program.
[[nodiscard]] Result<std::string> ChooseRunFolder(const RunFolderPlaces& places);

// ChooseRunFolder for this process, then changes into the folder chosen.
[[nodiscard]] Status EnterRunFolder();

}  // namespace tamber::shell
