#include "platform/fs/FileSystem.h"

#include <cerrno>
#include <fcntl.h>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/fs/FileErrors.h"
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

Result<std::vector<FolderItem>> ListFolder(const std::string& folder) { return FolderReader(folder).List(); }

Status MakeFolders(const std::string& folder) {
    if (folder.empty()) return Ok();
    size_t pos = 0;
    while (pos <= folder.size()) {
        size_t next = folder.find('/', pos);
        if (next == std::string::npos) next = folder.size();
        const std::string path = folder.substr(0, next);
        if (!path.empty() && ::mkdir(path.c_str(), 0777) != 0 && errno != EEXIST)
            return FileFailure("create the folder", path, errno);
        pos = next + 1;
    }
    if (!GetFileStatus(folder).isFolder) return Fail("couldn't create the folder '" + folder + "': a file has its name");
    return Ok();
}

Status RenameNoReplace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) != 0)
        return FileFailure("rename '" + from + "' to", to, errno);
    return Ok();
}

Status RemoveFileIfPresent(const std::string& path) {
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) return FileFailure("remove", path, errno);
    return Ok();
}

Result<uint64_t> ReadFileStart(const std::string& path, void* buffer, size_t count) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return FileFailure("read", path, errno);
    struct stat st;
    Status read = ::fstat(fd, &st) != 0 ? Status(Fail(SystemReason(errno)))
                  : !S_ISREG(st.st_mode) ? Status(Fail("it is not a regular file"))
                                         : ReadFileAt(fd, 0, buffer, count);
    ::close(fd);
    if (!read) return Fail("couldn't read '" + path + "': " + read.error());
    return static_cast<uint64_t>(st.st_size);
}

Status ReadFileAt(int fd, uint64_t offset, void* buffer, size_t count) {
    auto* out = static_cast<uint8_t*>(buffer);
    while (count > 0) {
        const ssize_t got = ::pread(fd, out, count, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return Fail(SystemReason(errno));
        if (got == 0) return Fail("the file ends early");
        out += got;
        offset += static_cast<uint64_t>(got);
        count -= static_cast<size_t>(got);
    }
    return Ok();
}

Result<uint64_t> FileSizeOf(std::FILE* file) {
    if (!file) return Fail("no file is open");
    struct stat st;
    const int fd = ::fileno(file);
    if (fd >= 0) {
        if (::fstat(fd, &st) != 0) return Fail(SystemReason(errno));
        return static_cast<uint64_t>(st.st_size);
    }
    // Streams without a descriptor (memory streams, the writer's own streams): measure by seeking.
    const off_t here = ::ftello(file);
    if (here < 0 || ::fseeko(file, 0, SEEK_END) != 0) return Fail("the file's size cannot be measured");
    const off_t end = ::ftello(file);
    ::fseeko(file, here, SEEK_SET);
    if (end < 0) return Fail("the file's size cannot be measured");
    return static_cast<uint64_t>(end);
}

}  // namespace tamber::platform
