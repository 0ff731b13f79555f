#include "tags/Archive.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/fs/FileErrors.h"
#include "platform/fs/FileSystem.h"

namespace tamber::tags {
using namespace tamber::platform;

std::string Archive::Name() const { return std::string(header.name, strnlen(header.name, sizeof header.name)); }

std::string PathFileName(const std::string& path) {
    size_t pos = path.find_last_of("/\\");
    return pos == std::string::npos ? path : path.substr(pos + 1);
}

namespace {

Error NotAnArchive(const std::string& path, const std::string& why) {
    return Fail("'" + path + "' is not a readable archive: " + why);
}

// Reads an archive through `readAt(offset, buffer, count)`, which is true only when
// all `count` bytes were read. The header, then the mesh records and entry table
// (adjacent in the current layout) in one read: two reads in all.
template <typename ReadAt>
Result<std::unique_ptr<Archive>> ReadArchiveWith(ReadAt readAt, uint64_t fileSize, const std::string& path) {
    uint8_t raw[kArchiveHeaderSize];
    const size_t rawSize = static_cast<size_t>(std::min<uint64_t>(fileSize, kArchiveHeaderSize));
    if (!readAt(0, raw, rawSize)) return NotAnArchive(path, "its header cannot be read");

    auto archive = std::make_unique<Archive>();
    if (!ValidateArchiveHeader(archive->header, raw, rawSize, fileSize)) return NotAnArchive(path, "its header is not valid");
    archive->rank = ArchiveRank(archive->header.type);
    const ArchiveHeader& header = archive->header;
    const bool current = header.signature == kArchiveSignature;
    try {
        // The header check guarantees the mesh records and the table lie inside the
        // file, so what is read here is bounded by the file size.
        const uint64_t tableOffset = ArchiveEntryTableOffset(header);
        const uint64_t start = current ? kArchiveHeaderSize : tableOffset;
        std::vector<uint8_t> bytes(static_cast<size_t>(tableOffset - start) + size_t{header.tagCount} * kTagHeaderSize);
        if (!bytes.empty() && !readAt(start, bytes.data(), bytes.size()))
            return NotAnArchive(path, "its entry table cannot be read");
        if (current && header.meshCount > 0) {
            archive->meshRecords.resize(header.meshCount);
            UnpackRecords(archive->meshRecords.data(), bytes.data(), header.meshCount, kMeshRecordDescriptor);
        }
        const uint8_t* table = bytes.data() + (tableOffset - start);
        archive->entries.reserve(header.tagCount);
        for (size_t i = 0; i < header.tagCount; ++i) {
            TagEntry& entry = archive->entries.emplace_back();
            if (!UnpackAnyTagHeader(entry.header, table + i * kTagHeaderSize))
                return NotAnArchive(path, "entry " + std::to_string(i) + " is not a tag header");
            if (uint64_t{entry.header.offset} + entry.header.size > fileSize)
                return NotAnArchive(path, "entry " + std::to_string(i) + " lies beyond the end of the file");
            entry.archive = archive.get();
            entry.rank = static_cast<uint8_t>(archive->rank);
        }
    } catch (const std::bad_alloc&) {
        return NotAnArchive(path, "out of memory");
    }
    archive->path = path;
    archive->fileName = PathFileName(path);
    return archive;
}

}  // namespace

Result<std::unique_ptr<Archive>> ReadArchive(const std::string& path) {
    // Non-blocking, so that a pipe under an archive's name is refused, not waited on.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return FileFailure("open", path, errno);
    struct stat st;
    Result<std::unique_ptr<Archive>> archive = NotAnArchive(path, "it is not a regular file");
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        auto readAt = [fd](uint64_t offset, void* buffer, size_t count) {
            return static_cast<bool>(ReadFileAt(fd, offset, buffer, count));
        };
        archive = ReadArchiveWith(readAt, static_cast<uint64_t>(st.st_size), path);
    }
    ::close(fd);
    return archive;
}

Result<std::unique_ptr<Archive>> ReadArchiveFrom(FILE* file, uint64_t fileSize, const std::string& path) {
    if (!file) return NotAnArchive(path, "it is not open");
    auto readAt = [file](uint64_t offset, void* buffer, size_t count) {
        return ::fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0 &&
               std::fread(buffer, 1, count, file) == count;
    };
    return ReadArchiveWith(readAt, fileSize, path);
}

Result<UniqueFile> OpenEntryData(const TagEntry& entry) {
    if (!entry.archive) return Fail("the tag is not in an archive");
    const std::string& path = entry.archive->path;
    UniqueFile file = OpenFile(path, "rb");
    if (!file) return FileFailure("open", path, errno);
    if (::fseeko(file.get(), static_cast<off_t>(entry.header.offset), SEEK_SET) != 0) return FileFailure("read", path, errno);
    return file;
}

}  // namespace tamber::tags
