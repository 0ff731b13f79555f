#pragma once
// Files dropped from the desktop: offered first to the window under the mouse (an
// editor may take them); otherwise archives are added to the Codex as "Add Archives"
// does and anything else is refused with a beep.
#include <string>
#include <vector>

namespace tamber::shell {

void HandleDroppedFiles(const std::vector<std::string>& paths);

}  // namespace tamber::shell
