#include "tags/LooseTagFile.h"

#include <sys/types.h>

#include <cstdio>
#include <string>

#include "platform/fs/FileSystem.h"
#include "tags/Archive.h"

namespace tamber::tags {
using namespace tamber::platform;

Status ParseLooseTagHeader(const uint8_t* raw64, uint64_t fileSize, const std::string& fileName, TagHeader& header) {
    if (fileSize < kTagHeaderSize) return Fail("the file is too short to be a tag");
    if (fileSize - kTagHeaderSize > UINT32_MAX) return Fail("the file is too large to be a tag");
    TagHeader read;
    if (!UnpackAnyTagHeader(read, raw64)) return Fail("the file is not a tag");
    if (read.Name().find("ixo made this") != std::string::npos) SetTagName(read, fileName);
    read.size = static_cast<uint32_t>(fileSize - kTagHeaderSize);
    header = read;
    return Ok();
}

Status ReadLooseTagHeader(FILE* file, uint64_t fileSize, const std::string& fileName, TagHeader& header) {
    uint8_t raw[kTagHeaderSize];
    if (fileSize < kTagHeaderSize) return Fail("the file is too short to be a tag");
    if (!file || std::fseek(file, 0, SEEK_SET) != 0 || std::fread(raw, 1, sizeof raw, file) != sizeof raw)
        return Fail("the header cannot be read");
    return ParseLooseTagHeader(raw, fileSize, fileName, header);
}

Result<TagHeader> ReadLooseTagHeader(const std::string& path) {
    uint8_t raw[kTagHeaderSize];
    Result<uint64_t> size = ReadFileStart(path, raw, sizeof raw);
    if (!size) return std::move(size).TakeError();
    TagHeader header;
    if (Status parsed = ParseLooseTagHeader(raw, *size, PathFileName(path), header); !parsed)
        return Fail("'" + path + "': " + parsed.error());
    return header;
}

Result<std::vector<uint8_t>> ReadTagPayloadBytes(FILE* stream, const TagHeader& header) {
    const Result<uint64_t> fileSize = FileSizeOf(stream);
    if (!fileSize || uint64_t(header.offset) + header.size > *fileSize ||
        ::fseeko(stream, off_t(header.offset), SEEK_SET) != 0)
        return Fail("the payload is cut short");
    if (header.size > kMaxTagFileSize)
        return Fail("the payload is larger than " + std::to_string(kMaxTagFileSize >> 20) + " MB");
    std::vector<uint8_t> payload(header.size);
    if (std::fread(payload.data(), 1, payload.size(), stream) != payload.size()) return Fail("the payload is cut short");
    return payload;
}

}  // namespace tamber::tags
