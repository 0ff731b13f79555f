#include "platform/fs/AtomicFileWriter.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <mutex>
#include <set>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/fs/FileErrors.h"
#include "platform/fs/TemporaryFiles.h"

namespace tamber::platform {

// Writes go straight to the descriptor through this cookie, so the writer learns
// the system's reason for a failed write even when stdio reports it later.
struct AtomicFileWriter::Stream {
    int fd = -1;
    int64_t budget = -1;  // bytes the test hook still lets through; negative: no limit
    int error = 0;
};

namespace {

int64_t gFailAfterBytes = -1;
bool gFailNextCommit = false;
bool gFailNextOpen = false;

using Stream = AtomicFileWriter::Stream;

ssize_t StreamRead(void* cookie, char* buffer, size_t size) {
    return ::read(static_cast<Stream*>(cookie)->fd, buffer, size);
}

ssize_t StreamWrite(void* cookie, const char* buffer, size_t size) {
    auto* s = static_cast<Stream*>(cookie);
    if (s->budget >= 0 && static_cast<int64_t>(size) > s->budget) {
        s->error = errno = ENOSPC;
        return -1;
    }
    ssize_t written;
    do written = ::write(s->fd, buffer, size);
    while (written < 0 && errno == EINTR);
    if (written < 0) s->error = errno;
    else if (s->budget >= 0) s->budget -= written;
    return written;
}

int StreamSeek(void* cookie, off64_t* position, int whence) {
    const off64_t result = ::lseek64(static_cast<Stream*>(cookie)->fd, *position, whence);
    if (result < 0) return -1;
    *position = result;
    return 0;
}

int StreamClose(void* cookie) {
    auto* s = static_cast<Stream*>(cookie);
    const int rc = ::close(s->fd);
    if (rc != 0 && !s->error) s->error = errno;
    s->fd = -1;
    return rc;
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
}

// Each folder is swept for stale temporaries on its first write of the process.
void SweepFolderOnce(const std::string& folder) {
    static std::mutex mutex;
    static std::set<std::string> swept;
    const std::lock_guard<std::mutex> lock(mutex);
    if (swept.insert(folder).second) RemoveStaleTemporaries(folder);
}

// A rename is durable only once the folder holding the name is synced.
int SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return errno;
    const int error = ::fsync(fd) == 0 || errno == EINVAL ? 0 : errno;
    ::close(fd);
    return error;
}

}  // namespace

void AtomicFileWriter::FailNextWriterAfter(int64_t bytes) { gFailAfterBytes = bytes; }
void AtomicFileWriter::FailNextCommit() { gFailNextCommit = true; }
void AtomicFileWriter::FailNextOpen() { gFailNextOpen = true; }

AtomicFileWriter::AtomicFileWriter() = default;
AtomicFileWriter::~AtomicFileWriter() { Abort(); }

Status AtomicFileWriter::Open(const std::string& target) {
    Abort();
    if (target.empty() || target.back() == '/') return Fail("'" + target + "' is not a file name");
    if (gFailNextOpen) {
        gFailNextOpen = false;
        return FileFailure("write", target, EACCES);
    }
    SweepFolderOnce(FolderOf(target));
    std::string pattern = TemporaryPattern(target);
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) return FileFailure("write", target, errno);
    // Held until the descriptor closes; tells the sweep this temporary is in use.
    ::flock(fd, LOCK_EX | LOCK_NB);

    struct stat existing;
    const mode_t mode = ::stat(target.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : NewFileMode();
    ::fchmod(fd, mode);

    auto stream = std::make_unique<Stream>();
    stream->fd = fd;
    stream->budget = gFailAfterBytes;
    gFailAfterBytes = -1;
    FILE* file = ::fopencookie(stream.get(), "w+", {StreamRead, StreamWrite, StreamSeek, StreamClose});
    if (!file) {
        const int error = errno;
        ::close(fd);
        ::unlink(pattern.c_str());
        return FileFailure("write", target, error);
    }
    file_ = file;
    stream_ = std::move(stream);
    target_ = target;
    temp_ = pattern;
    return Ok();
}

Status AtomicFileWriter::Write(const void* data, size_t size) {
    if (!file_) return Fail("'" + target_ + "' is not open for writing");
    if (size > 0 && std::fwrite(data, 1, size, file_) != size) return WriteFailure();
    return Ok();
}

Error AtomicFileWriter::WriteFailure() const {
    return FileFailure("write", target_, stream_ && stream_->error ? stream_->error : EIO);
}

Status AtomicFileWriter::Commit() {
    if (!file_) return Fail("'" + target_ + "' is not open for writing");
    int error = 0;
    if (std::fflush(file_) != 0 || std::ferror(file_)) error = stream_->error ? stream_->error : EIO;
    if (!error && durable_ && ::fsync(stream_->fd) != 0 && errno != EINVAL) error = errno;
    if (!error && gFailNextCommit) error = EIO;
    gFailNextCommit = false;
    if (std::fclose(file_) != 0 && !error) error = stream_->error ? stream_->error : EIO;
    file_ = nullptr;
    std::string action = "write";
    if (!error && ::rename(temp_.c_str(), target_.c_str()) != 0) {
        error = errno;
        action = "replace";
    }
    if (error) {
        ::unlink(temp_.c_str());
        temp_.clear();
        return FileFailure(action, target_, error);
    }
    temp_.clear();
    if (durable_) {
        if (const int synced = SyncFolder(FolderOf(target_))) return FileFailure("sync the folder of", target_, synced);
    }
    return Ok();
}

void AtomicFileWriter::Abort() {
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!temp_.empty()) {
        ::unlink(temp_.c_str());
        temp_.clear();
    }
}

}  // namespace tamber::platform
