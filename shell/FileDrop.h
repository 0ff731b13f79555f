#pragma once
// Files dropped from the desktop onto the main window: archives are added to the
// Codex as "Add Archives" does; anything else is refused with a beep.
#include <string>
#include <vector>

namespace tamber::shell {

void HandleDroppedFiles(const std::vector<std::string>& paths);

}  // namespace tamber::shell
