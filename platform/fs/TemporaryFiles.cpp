#include "platform/fs/TemporaryFiles.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/fs/FolderReader.h"

namespace tamber::platform {

namespace {
constexpr size_t kRandomPart = 6;
constexpr const char* kTmpMark = ".tmp";
}  // namespace

bool IsTemporaryFileName(const std::string& name) {
    if (name.size() <= kRandomPart + 5 || name[0] != '.') return false;
    return name.compare(name.size() - kRandomPart - 4, 4, kTmpMark) == 0;
}

std::string TemporaryPattern(const std::string& target) {
    const size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    return folder + "." + base + kTmpMark + std::string(kRandomPart, 'X');
}

bool RemoveStaleTemporary(int folderFd, const std::string& name) {
    if (!IsTemporaryFileName(name)) return false;
    const int fd = ::openat(folderFd, name.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat st;
    // A writer that is alive holds the lock; a killed one released it with its descriptors.
    const bool stale = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_nlink > 0 &&
                       ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    const bool removed = stale && ::unlinkat(folderFd, name.c_str(), 0) == 0;
    ::close(fd);
    return removed;
}

void RemoveStaleTemporaries(const std::string& folder) {
    const FolderReader reader(folder);
    Result<std::vector<FolderItem>> items = reader.List();
    if (!items) return;
    for (const FolderItem& item : *items) {
        if (!item.status.isFolder && IsTemporaryFileName(item.name)) reader.RemoveStaleTemporary(item.name);
    }
}

}  // namespace tamber::platform
