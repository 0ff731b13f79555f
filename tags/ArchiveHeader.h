#pragma once
// Archive file headers: the current 128-byte layout (signature dng2) and the old
// 48-byte one, which is converted to the current layout on reading.
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "tags/FourCC.h"

namespace tamber::tags {

constexpr uint32_t kArchiveSignature = FourCC("dng2");
constexpr size_t kArchiveHeaderSize = 128;
constexpr size_t kOldArchiveHeaderSize = 48;
constexpr size_t kMeshRecordSize = 112;

struct ArchiveHeader {
    uint16_t type;
    uint16_t priority;
    char name[32];
    char url[64];
    uint16_t meshCount;
    uint16_t tagCount;
    uint32_t reserved1;
    uint32_t reserved2;
    uint32_t fileSize;
    uint32_t reserved3;
    // Where the tags' data begins. For a converted old header: the entry table offset.
    uint32_t dataStart;
    uint32_t signature;  // dng2, or vesk for a converted old header
};
static_assert(sizeof(ArchiveHeader) == 128 && offsetof(ArchiveHeader, meshCount) == 100 &&
              offsetof(ArchiveHeader, fileSize) == 112 && offsetof(ArchiveHeader, signature) == 124);

struct OldArchiveHeader {
    uint16_t one1;
    uint16_t one2;
    char name[32];
    uint32_t unused1;
    uint32_t tableOffset;
    uint16_t tagCount;
    uint16_t unused2;
};
static_assert(sizeof(OldArchiveHeader) == 48);

struct MeshRecord {
    uint32_t tagid;
    uint32_t unused[3];
    char name[32];
    char description[64];
};
static_assert(sizeof(MeshRecord) == 112);

extern const uint16_t kArchiveHeaderDescriptor[];
extern const uint16_t kOldArchiveHeaderDescriptor[];
extern const uint16_t kMeshRecordDescriptor[];

// The rank of an archive type (0 foundation, 1, 2), or -1 for a type that makes the
// file unreadable as an archive.
int ArchiveRank(uint16_t type);
// Offset of the entry table for a validated header of either version.
uint64_t ArchiveEntryTableOffset(const ArchiveHeader& header);

// A valid archive header of either version converted to the current layout. The
// header must be of a known type, and its counts must fit in the file: the mesh
// records and entry table lie inside `fileSize`. `raw` holds the first `rawSize`
// bytes of the file.
bool ValidateArchiveHeader(ArchiveHeader& dest, const uint8_t* raw, size_t rawSize, uint64_t fileSize);

bool WriteArchiveHeader(const ArchiveHeader& header, FILE* file);
bool ReadMeshRecords(MeshRecord* buffer, FILE* file, size_t count);
bool WriteMeshRecords(const MeshRecord* buffer, FILE* file, size_t count);

}  // namespace tamber::tags
