#include "platform/fs/InputFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/fs/FileErrors.h"

namespace tamber::platform {

Result<InputFile> OpenInputFile(const std::string& path, uint64_t maxBytes) {
    // Non-blocking, so that opening a FIFO returns at once instead of waiting for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return Fail(SystemReason(errno));
    UniqueFile file(::fdopen(fd, "rb"));
    if (!file) {
        const int error = errno;
        ::close(fd);
        return Fail(SystemReason(error));
    }
    struct stat st;
    if (::fstat(fd, &st) != 0) return Fail(SystemReason(errno));
    if (S_ISDIR(st.st_mode)) return Fail("it is a folder, not a file");
    if (!S_ISREG(st.st_mode)) return Fail("it is not a regular file");
    if (static_cast<uint64_t>(st.st_size) > maxBytes)
        return Fail("it is too large (" + std::to_string(st.st_size) + " bytes; at most " + std::to_string(maxBytes) +
                    " are read)");
    // Reads of a regular file do not block; the flag is cleared all the same.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return InputFile{std::move(file), static_cast<uint64_t>(st.st_size)};
}

}  // namespace tamber::platform
