#pragma once
// The temporary files that AtomicFileWriter makes beside its targets
// (".NAME.tmpXXXXXX"). A writer holds a lock on its temporary while it lives, so
// a temporary nobody holds was left by a write that was killed or crashed.
#include <string>

namespace tamber::platform {

// ".NAME.tmp" followed by six characters: the shape mkstemp gives our pattern.
bool IsTemporaryFileName(const std::string& name);
// The mkstemp pattern for a target path.
std::string TemporaryPattern(const std::string& target);
// Removes the temporary `name` of the open folder `folderFd` when no writer holds
// it; true when it was removed.
bool RemoveStaleTemporary(int folderFd, const std::string& name);
// Removes every stale temporary of the folder.
void RemoveStaleTemporaries(const std::string& folder);

}  // namespace tamber::platform
