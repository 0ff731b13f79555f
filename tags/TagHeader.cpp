#include "tags/TagHeader.h"

#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace tamber::tags {

const uint16_t kTagHeaderDescriptor[] = {64, 1, 1, 2, 0, 31, 0, 1, 4, 5, 2, 1, 1, 2, 0, 1, 2};
const uint16_t kOldTagHeaderDescriptor[] = {64, 31, 0, 1, 4, 3, 2, 2, 1, 4, 2};

namespace {

uint32_t RawSignature(const uint8_t* raw64) {
    return (uint32_t(raw64[60]) << 24) | (uint32_t(raw64[61]) << 16) | (uint32_t(raw64[62]) << 8) | raw64[63];
}

bool IsSeparator(char c) {
    return std::strchr(" \t\n()[]{}?!:;-", c) != nullptr && c != 0;
}

}  // namespace

std::string TagHeader::Name() const { return std::string(name, strnlen(name, kTagNameSize)); }

TagHeader ConvertOldTagHeader(const OldTagHeader& old) {
    TagHeader h{};
    std::memcpy(h.name, old.name, kTagNameSize);
    h.name[kTagNameSize - 1] = 0;
    h.group = old.group;
    h.tagid = old.tagid;
    h.version = static_cast<uint16_t>(old.version & 0xffff);
    h.offset = old.offset;
    h.size = old.size;
    h.signature = old.signature;
    return h;
}

bool UnpackAnyTagHeader(TagHeader& dest, const uint8_t* raw64) {
    const uint32_t signature = RawSignature(raw64);
    if (signature == kTagSignature) {
        UnpackRecords(&dest, raw64, 1, kTagHeaderDescriptor);
        return true;
    }
    if (signature == kOldTagSignature) {
        OldTagHeader old;
        UnpackRecords(&old, raw64, 1, kOldTagHeaderDescriptor);
        dest = ConvertOldTagHeader(old);
        return true;
    }
    return false;
}

bool IsTagHeader(const TagHeader& header) {
    return header.signature == kTagSignature || header.signature == kOldTagSignature;
}

size_t ReadTagHeaders(TagHeader* buffer, FILE* file, size_t count) {
    if (!file || count == 0) return 0;
    std::vector<uint8_t> raw;
    try {
        raw.resize(count * kTagHeaderSize);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    if (std::fread(raw.data(), 1, raw.size(), file) != raw.size()) return 0;
    const uint32_t signature = RawSignature(raw.data());
    if (signature == kTagSignature) {
        UnpackRecords(buffer, raw.data(), count, kTagHeaderDescriptor);
    } else if (signature == kOldTagSignature) {
        for (size_t i = 0; i < count; ++i) {
            OldTagHeader old;
            UnpackRecords(&old, raw.data() + i * kTagHeaderSize, 1, kOldTagHeaderDescriptor);
            buffer[i] = ConvertOldTagHeader(old);
        }
    } else {
        return 0;
    }
    return raw.size();
}

size_t ReadOldTagHeaders(TagHeader* buffer, FILE* file, size_t count) {
    size_t total = 0;
    for (size_t i = 0; i < count; ++i) {
        OldTagHeader old;
        if (!ReadRecords(&old, 1, kOldTagHeaderDescriptor, file)) return 0;
        buffer[i] = ConvertOldTagHeader(old);
        total += kTagHeaderSize;
    }
    return total;
}

bool WriteTagHeader(const TagHeader& header, FILE* file) {
    return WriteRecords(&header, 1, kTagHeaderDescriptor, file) == kTagHeaderSize;
}

bool ValidateTagHeader(TagHeader& dest, const uint8_t* raw64, uint64_t fileSize) {
    if (!raw64 || fileSize < kTagHeaderSize) return false;
    TagHeader header;
    if (!UnpackAnyTagHeader(header, raw64)) return false;
    if (header.size != fileSize - kTagHeaderSize) return false;
    dest = header;
    return true;
}

std::string CleanTagName(const std::string& text) {
    std::string name(text.c_str(), strnlen(text.c_str(), kTagNameSize - 1));
    for (char& c : name) {
        if (std::strchr("\\/|\"<>*?:", c)) c = '_';
    }
    while (name.size() > 1 && (name.back() == '.' || name.back() == ' ' || name.back() == '\t')) name.pop_back();
    if (name == ".") name = "_";
    return name;
}

void SetTagName(TagHeader& header, const std::string& text) {
    const std::string name = CleanTagName(text);
    std::memset(header.name, 0, kTagNameSize);
    std::memcpy(header.name, name.data(), name.size());
}

std::string TagFileName(const std::string& name) {
    std::string clean = CleanTagName(name);
    return clean.empty() ? "_" : clean;
}

uint32_t TagIdFromName(const std::string& name) {
    char id[4] = {' ', ' ', ' ', ' '};
    static constexpr size_t kStart[3] = {0, 2, 3};
    static constexpr size_t kLimit[3] = {4, 2, 1};
    size_t word = 0;
    size_t pos = 0;
    while (word < 3) {
        while (pos < name.size() && IsSeparator(name[pos])) ++pos;
        if (pos >= name.size() || name[pos] == 0) break;
        size_t written = 0;
        while (pos < name.size() && name[pos] != 0 && !IsSeparator(name[pos])) {
            if (written < kLimit[word]) id[kStart[word] + written++] = name[pos];
            ++pos;
        }
        ++word;
    }
    return FourCCFromText(std::string(id, 4));
}

TagHeader MakeLooseHeader(const TagHeader& from, uint32_t group, uint32_t tagid) {
    TagHeader h{};
    h.identifier = kLooseIdentifier;
    h.flags = from.flags;
    h.type = 0;
    std::memcpy(h.name, from.name, kTagNameSize);
    h.name[kTagNameSize - 1] = 0;
    h.group = group;
    h.tagid = tagid;
    h.offset = kTagHeaderSize;
    h.size = 0;
    h.user = from.user;
    h.version = from.version;
    h.foundationIndex = 255;
    h.ownerIndex = 255;
    h.signature = kTagSignature;
    return h;
}

}  // namespace tamber::tags
