#include "tags/ArchiveHeader.h"

#include <cstring>

#include "tags/ByteSwap.h"
#include "tags/TagHeader.h"

namespace tamber::tags {

const uint16_t kArchiveHeaderDescriptor[] = {128, 2, 1, 31, 0, 1, 4, 63, 0, 1, 4, 2, 1, 6, 2};
const uint16_t kOldArchiveHeaderDescriptor[] = {48, 2, 1, 31, 0, 1, 4, 2, 2, 2, 1};
const uint16_t kMeshRecordDescriptor[] = {112, 4, 2, 31, 0, 1, 4, 63, 0, 1, 4};

int ArchiveRank(uint16_t type) {
    switch (type) {
        case 1: return 2;
        case 2: return 1;
        case 3: return 0;
        case 5:
        case 6:
        case 7: return 2;
        default: return -1;
    }
}

uint64_t ArchiveEntryTableOffset(const ArchiveHeader& header) {
    if (header.signature == kArchiveSignature) return kArchiveHeaderSize + uint64_t{kMeshRecordSize} * header.meshCount;
    return header.dataStart;
}

bool ValidateArchiveHeader(ArchiveHeader& dest, const uint8_t* raw, size_t rawSize, uint64_t fileSize) {
    if (!raw) return false;
    ArchiveHeader header{};
    bool valid = false;
    if (rawSize >= kArchiveHeaderSize) {
        UnpackRecords(&header, raw, 1, kArchiveHeaderDescriptor);
        valid = header.fileSize == fileSize && header.signature == kArchiveSignature;
        if (valid) {
            const uint64_t tableEnd = ArchiveEntryTableOffset(header) + uint64_t{kTagHeaderSize} * header.tagCount;
            valid = tableEnd <= fileSize;
        }
    }
    if (!valid && rawSize >= kOldArchiveHeaderSize) {
        OldArchiveHeader old;
        UnpackRecords(&old, raw, 1, kOldArchiveHeaderDescriptor);
        valid = old.one1 == 1 && old.one2 == 1 && old.tableOffset >= kOldArchiveHeaderSize &&
                old.tableOffset <= fileSize && fileSize - old.tableOffset == uint64_t{kTagHeaderSize} * old.tagCount;
        if (valid) {
            header = ArchiveHeader{};
            header.type = 1;
            std::memcpy(header.name, old.name, sizeof header.name);
            header.tagCount = old.tagCount;
            header.dataStart = old.tableOffset;
            header.fileSize = static_cast<uint32_t>(fileSize);
            header.signature = kOldTagSignature;
        }
    }
    if (!valid || ArchiveRank(header.type) < 0) return false;
    dest = header;
    return true;
}

bool WriteArchiveHeader(const ArchiveHeader& header, FILE* file) {
    return WriteRecords(&header, 1, kArchiveHeaderDescriptor, file) == kArchiveHeaderSize;
}

bool ReadMeshRecords(MeshRecord* buffer, FILE* file, size_t count) {
    return count == 0 || ReadRecords(buffer, count, kMeshRecordDescriptor, file) != 0;
}

bool WriteMeshRecords(const MeshRecord* buffer, FILE* file, size_t count) {
    return count == 0 || WriteRecords(buffer, count, kMeshRecordDescriptor, file) != 0;
}

}  // namespace tamber::tags
