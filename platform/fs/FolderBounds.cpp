#include "platform/fs/FolderBounds.h"

#include <climits>
#include <cstdlib>
#include <sys/stat.h>

#include "platform/fs/FileSystem.h"

namespace tamber::platform {

namespace {

std::string Trimmed(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

// The path with every link resolved; empty when it does not exist.
std::string Resolved(const std::string& path) {
    char buffer[PATH_MAX];
    return ::realpath(path.empty() ? "." : path.c_str(), buffer) ? std::string(buffer) : std::string();
}

bool IsWithin(const std::string& inner, const std::string& outer) {
    if (outer == "/") return true;
    return inner == outer || (inner.size() > outer.size() && inner.compare(0, outer.size(), outer) == 0 &&
                              inner[outer.size()] == '/');
}

}  // namespace

Status CheckInsideFolder(const std::string& root, const std::string& folder) {
    const std::string rootReal = Resolved(Trimmed(root));
    if (rootReal.empty()) return Ok();
    // The longest part of the folder path that exists, links resolved.
    std::string existing = Trimmed(folder);
    struct stat st;
    while (::lstat(existing.c_str(), &st) != 0) {
        const size_t slash = existing.rfind('/');
        if (slash == std::string::npos || slash == 0) return Ok();
        existing.resize(slash);
    }
    const std::string real = Resolved(existing);
    if (!real.empty() && !IsWithin(real, rootReal))
        return Fail("'" + existing + "' leads out of '" + Trimmed(root) + "' through a symbolic link; nothing is written through it");
    return Ok();
}

Status MakeFoldersInside(const std::string& root, const std::string& folder) {
    if (Status inside = CheckInsideFolder(root, folder); !inside) return inside;
    return MakeFolders(folder);
}

}  // namespace tamber::platform
