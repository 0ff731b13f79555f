#include "platform/fs/FolderReader.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/fs/FileErrors.h"
#include "platform/fs/TemporaryFiles.h"

namespace tamber::platform {

FolderReader::FolderReader(const std::string& folder)
    : folder_(folder.empty() ? "." : folder), fd_(::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (fd_ < 0) openError_ = errno;
}

FolderReader::~FolderReader() {
    if (fd_ >= 0) ::close(fd_);
}

Result<std::vector<FolderItem>> FolderReader::List() const {
    if (fd_ < 0) return FileFailure("list the folder", folder_, openError_);
    const int listFd = ::dup(fd_);  // closedir closes the descriptor it is given
    DIR* dir = listFd >= 0 ? ::fdopendir(listFd) : nullptr;
    if (!dir) {
        const int error = errno;
        if (listFd >= 0) ::close(listFd);
        return FileFailure("list the folder", folder_, error);
    }
    ::rewinddir(dir);
    std::vector<FolderItem> items;
    errno = 0;
    while (dirent* d = ::readdir(dir)) {
        if (d->d_name[0] == '.' && (d->d_name[1] == 0 || (d->d_name[1] == '.' && d->d_name[2] == 0))) continue;
        struct stat st;
        if (::fstatat(fd_, d->d_name, &st, 0) == 0) items.push_back({d->d_name, FileStatusFromStat(st)});
        errno = 0;  // a vanished file or a dangling link is simply not listed
    }
    const int error = errno;
    ::closedir(dir);
    if (error) return FileFailure("list the folder", folder_, error);
    std::sort(items.begin(), items.end(), [](const FolderItem& a, const FolderItem& b) { return a.name < b.name; });
    return items;
}

Status FolderReader::ReadStart(const std::string& name, void* buffer, size_t count) const {
    if (fd_ < 0) return FileFailure("open the folder", folder_, openError_);
    const int fd = ::openat(fd_, name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return Fail(SystemReason(errno));
    struct stat st;
    Status read = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) ? ReadFileAt(fd, 0, buffer, count)
                                                              : Status(Fail("not a regular file"));
    ::close(fd);
    return read;
}

bool FolderReader::RemoveStaleTemporary(const std::string& name) const {
    return fd_ >= 0 && platform::RemoveStaleTemporary(fd_, name);
}

}  // namespace tamber::platform
