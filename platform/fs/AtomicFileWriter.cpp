#include "platform/fs/AtomicFileWriter.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tamber::platform {

namespace {

int64_t gFailAfterBytes = -1;
bool gFailNextCommit = false;
bool gFailNextOpen = false;

// A stream over a file descriptor whose writes fail once a byte budget is spent.
struct LimitedFile {
    int fd;
    int64_t budget;
};

ssize_t LimitedRead(void* cookie, char* buffer, size_t size) {
    return ::read(static_cast<LimitedFile*>(cookie)->fd, buffer, size);
}

ssize_t LimitedWrite(void* cookie, const char* buffer, size_t size) {
    auto* f = static_cast<LimitedFile*>(cookie);
    if (static_cast<int64_t>(size) > f->budget) {
        errno = ENOSPC;
        return -1;
    }
    ssize_t written = ::write(f->fd, buffer, size);
    if (written > 0) f->budget -= written;
    return written;
}

int LimitedSeek(void* cookie, off64_t* position, int whence) {
    off64_t result = ::lseek64(static_cast<LimitedFile*>(cookie)->fd, *position, whence);
    if (result < 0) return -1;
    *position = result;
    return 0;
}

int LimitedClose(void* cookie) {
    auto* f = static_cast<LimitedFile*>(cookie);
    int rc = ::close(f->fd);
    delete f;
    return rc;
}

mode_t NewFileMode() {
    mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

void AtomicFileWriter::FailNextWriterAfter(int64_t bytes) { gFailAfterBytes = bytes; }
void AtomicFileWriter::FailNextCommit() { gFailNextCommit = true; }
void AtomicFileWriter::FailNextOpen() { gFailNextOpen = true; }

AtomicFileWriter::~AtomicFileWriter() { Abort(); }

bool AtomicFileWriter::Open(const std::string& target) {
    Abort();
    if (gFailNextOpen) {
        gFailNextOpen = false;
        errno = EACCES;
        return false;
    }
    if (target.empty() || target.back() == '/') return false;
    size_t slash = target.rfind('/');
    std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    std::string pattern = folder + "." + base + ".tmpXXXXXX";
    int fd = ::mkstemp(pattern.data());
    if (fd < 0) return false;

    struct stat existing;
    mode_t mode = ::stat(target.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : NewFileMode();
    ::fchmod(fd, mode);

    FILE* file = nullptr;
    if (gFailAfterBytes >= 0) {
        auto* cookie = new LimitedFile{fd, gFailAfterBytes};
        gFailAfterBytes = -1;
        file = ::fopencookie(cookie, "w+", {LimitedRead, LimitedWrite, LimitedSeek, LimitedClose});
        if (!file) delete cookie;
    } else {
        file = ::fdopen(fd, "w+");
    }
    if (!file) {
        ::close(fd);
        ::unlink(pattern.c_str());
        return false;
    }
    file_ = file;
    target_ = target;
    temp_ = pattern;
    return true;
}

bool AtomicFileWriter::Commit() {
    if (!file_) return false;
    bool ok = std::fflush(file_) == 0 && !std::ferror(file_);
    int fd = ::fileno(file_);  // -1 for the test hook's stream
    if (ok && durable_ && fd >= 0) ok = ::fsync(fd) == 0 || errno == EINVAL;
    if (gFailNextCommit) {
        gFailNextCommit = false;
        ok = false;
    }
    ok = (std::fclose(file_) == 0) && ok;
    file_ = nullptr;
    if (ok) ok = ::rename(temp_.c_str(), target_.c_str()) == 0;
    if (!ok) ::unlink(temp_.c_str());
    temp_.clear();
    return ok;
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
