#include "tags/LooseTagFile.h"

#include "platform/fs/FileSystem.h"
#include "tags/Archive.h"

namespace tamber::tags {
using namespace tamber::platform;

bool ParseLooseTagHeader(const uint8_t* raw64, uint64_t fileSize, const std::string& fileName, TagHeader& header) {
    if (fileSize < kTagHeaderSize) return false;
    TagHeader read;
    if (!UnpackAnyTagHeader(read, raw64)) return false;
    if (read.Name().find("ixo made this") != std::string::npos) SetTagName(read, fileName);
    read.size = static_cast<uint32_t>(fileSize - kTagHeaderSize);
    header = read;
    return true;
}

bool ReadLooseTagHeader(FILE* file, uint64_t fileSize, const std::string& fileName, TagHeader& header) {
    uint8_t raw[kTagHeaderSize];
    if (!file || fileSize < kTagHeaderSize || std::fseek(file, 0, SEEK_SET) != 0 ||
        std::fread(raw, 1, sizeof raw, file) != sizeof raw) {
        return false;
    }
    return ParseLooseTagHeader(raw, fileSize, fileName, header);
}

bool ReadLooseTagHeader(const std::string& path, TagHeader& header) {
    uint8_t raw[kTagHeaderSize];
    uint64_t size = 0;
    return ReadFileStart(path, raw, sizeof raw, size) && ParseLooseTagHeader(raw, size, PathFileName(path), header);
}

}  // namespace tamber::tags
