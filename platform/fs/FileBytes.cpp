#include "platform/fs/FileBytes.h"

#include <cerrno>
#include <sys/stat.h>

#include "platform/fs/AtomicFileWriter.h"
#include "platform/fs/FileErrors.h"
#include "platform/fs/InputFile.h"

namespace tamber::platform {

namespace {

// Reads what is left of the stream, never more than the bytes the file said it had.
Result<std::vector<uint8_t>> ReadUpTo(std::FILE* stream, size_t count, const std::string& what) {
    std::vector<uint8_t> bytes(count);
    const size_t got = count ? std::fread(bytes.data(), 1, count, stream) : 0;
    if (std::ferror(stream)) return FileFailure("read", what, errno);
    bytes.resize(got);  // a file that shrank meanwhile reads short
    return bytes;
}

}  // namespace

Result<std::vector<uint8_t>> ReadFileBytes(const std::string& path, size_t maxBytes) {
    Result<InputFile> input = OpenInputFile(path, maxBytes);
    if (!input) return Fail("couldn't read '" + path + "': " + input.error());
    return ReadUpTo(input->file.get(), static_cast<size_t>(input->size), path);
}

Result<std::vector<uint8_t>> ReadRest(std::FILE* stream, size_t maxBytes) {
    struct stat st;
    const int fd = stream ? ::fileno(stream) : -1;
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return Fail("the input is not a regular file");
    const long start = std::ftell(stream);
    if (start < 0 || start > st.st_size) return Fail("the input cannot be read from its current position");
    const uint64_t rest = static_cast<uint64_t>(st.st_size - start);
    if (rest > maxBytes)
        return Fail("the input is too large (" + std::to_string(rest) + " bytes; at most " + std::to_string(maxBytes) +
                    " are read)");
    return ReadUpTo(stream, static_cast<size_t>(rest), "the input");
}

Status WriteFileAtomically(const std::string& path, const uint8_t* data, size_t size) {
    AtomicFileWriter writer;
    if (Status opened = writer.Open(path); !opened) return opened;
    if (Status written = writer.Write(data, size); !written) return written;
    return writer.Commit();
}

}  // namespace tamber::platform
