#include "platform/fs/FolderReader.h"

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tamber::platform {

FolderReader::FolderReader(const std::string& folder)
    : fd_(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {}

FolderReader::~FolderReader() {
    if (fd_ >= 0) ::close(fd_);
}

bool FolderReader::List(std::vector<FolderItem>& items) const {
    items.clear();
    if (fd_ < 0) return false;
    const int listFd = ::dup(fd_);  // closedir closes the descriptor it is given
    DIR* dir = listFd >= 0 ? ::fdopendir(listFd) : nullptr;
    if (!dir) {
        if (listFd >= 0) ::close(listFd);
        return false;
    }
    ::rewinddir(dir);
    while (dirent* d = ::readdir(dir)) {
        if (d->d_name[0] == '.' && (d->d_name[1] == 0 || (d->d_name[1] == '.' && d->d_name[2] == 0))) continue;
        struct stat st;
        if (::fstatat(fd_, d->d_name, &st, 0) != 0) continue;  // vanished or a dangling link
        items.push_back({d->d_name, FileStatusFromStat(st)});
    }
    ::closedir(dir);
    std::sort(items.begin(), items.end(), [](const FolderItem& a, const FolderItem& b) { return a.name < b.name; });
    return true;
}

bool FolderReader::ReadStart(const std::string& name, void* buffer, size_t count) const {
    if (fd_ < 0) return false;
    const int fd = ::openat(fd_, name.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) return false;
    const bool ok = ReadFileAt(fd, 0, buffer, count);
    ::close(fd);
    return ok;
}

}  // namespace tamber::platform
