#pragma once
// The 64-byte header of every tag, in loose tag files and in archive entry tables.
// Current version (signature vsk2) in memory; old-version headers (vesk) are
// converted to this layout right after reading.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "tags/ByteSwap.h"
#include "tags/FourCC.h"

namespace tamber::tags {

constexpr uint32_t kTagSignature = FourCC("vsk2");
constexpr uint32_t kOldTagSignature = FourCC("vesk");
constexpr size_t kTagHeaderSize = 64;
constexpr size_t kTagNameSize = 32;
constexpr uint16_t kLooseIdentifier = 65535;

struct TagHeader {
    uint16_t identifier;  // index in the archive; 65535 for a loose tag
    uint8_t flags;
    uint8_t type;
    char name[kTagNameSize];
    uint32_t group;
    uint32_t tagid;
    uint32_t offset;
    uint32_t size;
    uint32_t user;
    uint16_t version;
    uint8_t foundationIndex;
    uint8_t ownerIndex;
    uint32_t signature;

    std::string Name() const;
};
static_assert(sizeof(TagHeader) == 64 && offsetof(TagHeader, group) == 36 && offsetof(TagHeader, size) == 48 &&
              offsetof(TagHeader, version) == 56 && offsetof(TagHeader, signature) == 60);

struct OldTagHeader {
    char name[kTagNameSize];
    uint32_t group;
    uint32_t tagid;
    uint32_t version;
    uint16_t dropped1;
    uint16_t dropped2;
    uint32_t offset;
    uint32_t size;
    uint32_t dropped3;
    uint32_t signature;
};
static_assert(sizeof(OldTagHeader) == 64 && offsetof(OldTagHeader, size) == 52);

extern const uint16_t kTagHeaderDescriptor[];
extern const uint16_t kOldTagHeaderDescriptor[];

TagHeader ConvertOldTagHeader(const OldTagHeader& old);
// Converts 64 raw bytes of either version into the current layout. False when the
// signature is neither vsk2 nor vesk.
bool UnpackAnyTagHeader(TagHeader& dest, const uint8_t* raw64);

bool IsTagHeader(const TagHeader& header);
// Reads `count` headers; the first record's signature decides the version. Returns
// the bytes read, or 0 on a short read or an unknown signature.
size_t ReadTagHeaders(TagHeader* buffer, FILE* file, size_t count);
size_t ReadOldTagHeaders(TagHeader* buffer, FILE* file, size_t count);
bool WriteTagHeader(const TagHeader& header, FILE* file);
// A tag file's header: either version, converted, whose size (as stored in its own
// version) equals the file size minus 64.
bool ValidateTagHeader(TagHeader& dest, const uint8_t* raw64, uint64_t fileSize);

// Name rules shared by every name that becomes a file name: at most 31 bytes, the
// characters \ / | " < > * ? : become _, trailing points and blanks are removed
// (never the first character), and the result is never "." or "..".
std::string CleanTagName(const std::string& text);
void SetTagName(TagHeader& header, const std::string& text);
// The file name of a tag in a group folder: the clean name, "_" when empty.
std::string TagFileName(const std::string& name);
// The tagid a name suggests (blanks, counted up by the Codex when taken).
uint32_t TagIdFromName(const std::string& name);
// The header every loose tag file starts with; name, flags, user and version from `from`.
TagHeader MakeLooseHeader(const TagHeader& from, uint32_t group, uint32_t tagid);

}  // namespace tamber::tags
