#include "tags/Archive.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/fs/FileSystem.h"

std::string Archive::Name() const { return std::string(header.name, strnlen(header.name, sizeof header.name)); }

std::string PathFileName(const std::string& path) {
    size_t pos = path.find_last_of("/\\");
    return pos == std::string::npos ? path : path.substr(pos + 1);
}

std::unique_ptr<Archive> ReadArchive(const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return nullptr;
    int64_t size = FileSizeOf(file);
    std::unique_ptr<Archive> archive = size >= 0 ? ReadArchiveFrom(file, static_cast<uint64_t>(size), path) : nullptr;
    std::fclose(file);
    return archive;
}

std::unique_ptr<Archive> ReadArchiveFrom(FILE* file, uint64_t fileSize, const std::string& path) {
    if (!file) return nullptr;
    uint8_t raw[kArchiveHeaderSize];
    const size_t rawSize = static_cast<size_t>(std::min<uint64_t>(fileSize, kArchiveHeaderSize));
    if (std::fseek(file, 0, SEEK_SET) != 0 || std::fread(raw, 1, rawSize, file) != rawSize) return nullptr;

    auto archive = std::make_unique<Archive>();
    if (!ValidateArchiveHeader(archive->header, raw, rawSize, fileSize)) return nullptr;
    archive->rank = ArchiveRank(archive->header.type);
    const ArchiveHeader& header = archive->header;
    try {
        if (header.signature == kArchiveSignature && header.meshCount > 0) {
            archive->meshRecords.resize(header.meshCount);
            if (std::fseek(file, kArchiveHeaderSize, SEEK_SET) != 0 ||
                !ReadMeshRecords(archive->meshRecords.data(), file, header.meshCount)) {
                return nullptr;
            }
        }
        // The header check guarantees the table lies inside the file.
        const uint64_t tableOffset = ArchiveEntryTableOffset(header);
        std::vector<uint8_t> table(size_t{header.tagCount} * kTagHeaderSize);
        if (::fseeko(file, static_cast<off_t>(tableOffset), SEEK_SET) != 0 ||
            std::fread(table.data(), 1, table.size(), file) != table.size()) {
            return nullptr;
        }
        archive->entries.reserve(header.tagCount);
        for (size_t i = 0; i < header.tagCount; ++i) {
            TagEntry& entry = archive->entries.emplace_back();
            if (!UnpackAnyTagHeader(entry.header, table.data() + i * kTagHeaderSize)) return nullptr;
            if (uint64_t{entry.header.offset} + entry.header.size > fileSize) return nullptr;
            entry.archive = archive.get();
            entry.rank = static_cast<uint8_t>(archive->rank);
        }
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    archive->path = path;
    archive->fileName = PathFileName(path);
    return archive;
}

FILE* OpenEntryData(const TagEntry& entry) {
    if (!entry.archive) return nullptr;
    FILE* file = std::fopen(entry.archive->path.c_str(), "rb");
    if (file && ::fseeko(file, static_cast<off_t>(entry.header.offset), SEEK_SET) != 0) {
        std::fclose(file);
        return nullptr;
    }
    return file;
}
