#include "platform/fs/FileSystem.h"

#include <cerrno>
#include <fcntl.h>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/fs/FolderReader.h"

namespace tamber::platform {

FileStatus FileStatusFromStat(const struct stat& st) {
    FileStatus s;
    s.exists = true;
    s.isFolder = S_ISDIR(st.st_mode);
    s.readable = (st.st_mode & S_IRUSR) != 0;
    s.writable = (st.st_mode & S_IWUSR) != 0;
    s.size = static_cast<uint64_t>(st.st_size);
    s.modifiedNs = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    s.changedNs = static_cast<int64_t>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    s.inode = static_cast<uint64_t>(st.st_ino);
    return s;
}

FileStatus GetFileStatus(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return {};
    return FileStatusFromStat(st);
}

bool ListFolder(const std::string& folder, std::vector<FolderItem>& items) {
    return FolderReader(folder).List(items);
}

bool MakeFolders(const std::string& folder) {
    if (folder.empty()) return true;
    std::string path;
    size_t pos = 0;
    while (pos <= folder.size()) {
        size_t next = folder.find('/', pos);
        if (next == std::string::npos) next = folder.size();
        path = folder.substr(0, next);
        if (!path.empty() && ::mkdir(path.c_str(), 0777) != 0 && errno != EEXIST) return false;
        pos = next + 1;
    }
    return GetFileStatus(folder).isFolder;
}

bool RenameNoReplace(const std::string& from, const std::string& to) {
    return ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0;
}

bool RemoveFileIfPresent(const std::string& path) {
    return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

bool ReadFileStart(const std::string& path, void* buffer, size_t count, uint64_t& fileSize) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat st;
    const bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
                    ReadFileAt(fd, 0, buffer, count);
    ::close(fd);
    if (ok) fileSize = static_cast<uint64_t>(st.st_size);
    return ok;
}

bool ReadFileAt(int fd, uint64_t offset, void* buffer, size_t count) {
    auto* out = static_cast<uint8_t*>(buffer);
    while (count > 0) {
        const ssize_t got = ::pread(fd, out, count, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        out += got;
        offset += static_cast<uint64_t>(got);
        count -= static_cast<size_t>(got);
    }
    return true;
}

int64_t FileSizeOf(std::FILE* file) {
    struct stat st;
    int fd = file ? ::fileno(file) : -1;
    if (fd >= 0) return ::fstat(fd, &st) == 0 ? static_cast<int64_t>(st.st_size) : -1;
    if (!file) return -1;
    // Streams without a descriptor (memory streams, test hooks): measure by seeking.
    long here = std::ftell(file);
    if (here < 0 || std::fseek(file, 0, SEEK_END) != 0) return -1;
    long end = std::ftell(file);
    std::fseek(file, here, SEEK_SET);
    return end;
}

}  // namespace tamber::platform
