#pragma once
// The rule for every write into a folder the user chose: nothing is written
// through a symbolic link that leads out of that folder.
#include <string>

#include "base/Result.h"

namespace tamber::platform {
using namespace tamber::base;

// Fails, naming the link, when the part of `folder` that exists resolves outside
// `root`. `folder` is `root` followed by a relative path (for a file, pass the
// folder it goes into: a file that is a link is replaced, not written through).
// A root that does not exist yet holds nothing to check.
Status CheckInsideFolder(const std::string& root, const std::string& folder);
// CheckInsideFolder, then MakeFolders.
Status MakeFoldersInside(const std::string& root, const std::string& folder);

}  // namespace tamber::platform
