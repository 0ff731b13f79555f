#include "platform/fs/FileBytes.h"

#include <new>

#include "platform/fs/AtomicFileWriter.h"

namespace tamber::platform {

std::optional<std::vector<uint8_t>> ReadFileBytes(const std::string& path, size_t maxBytes) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return std::nullopt;
    std::vector<uint8_t> bytes;
    uint8_t chunk[65536];
    size_t got;
    bool tooLarge = false;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        if (bytes.size() + got > maxBytes) {
            tooLarge = true;
            break;
        }
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed || tooLarge)
        return std::nullopt;
    return bytes;
}

bool ReadRest(std::FILE* stream, std::vector<uint8_t>& bytes) {
    bytes.clear();
    if (!stream)
        return false;
    long start = std::ftell(stream);
    if (start < 0 || std::fseek(stream, 0, SEEK_END) != 0)
        return false;
    long end = std::ftell(stream);
    if (end < start || std::fseek(stream, start, SEEK_SET) != 0)
        return false;
    try {
        bytes.resize(size_t(end - start));
    } catch (const std::bad_alloc&) {
        return false;
    }
    return std::fread(bytes.data(), 1, bytes.size(), stream) == bytes.size();
}

bool WriteFileAtomically(const std::string& path, const uint8_t* data, size_t size) {
    AtomicFileWriter writer;
    if (!writer.Open(path))
        return false;
    if (size > 0 && std::fwrite(data, 1, size, writer.File()) != size) {
        writer.Abort();
        return false;
    }
    return writer.Commit();
}

}  // namespace tamber::platform
