#include "images/ColorTable.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "images/ByteOrder.h"
#include "platform/fs/FileBytes.h"

namespace tamber::images {
using namespace tamber::platform;

namespace {
constexpr size_t kTableBytes = 768;
}

bool ParseColorTable(const uint8_t* data, size_t size, uint8_t* table, uint32_t& count) {
    if (!data || size < kTableBytes)
        return false;
    uint32_t used = 256;
    if (size >= kTableBytes + 2) {
        used = GetBE16(data + kTableBytes);
        // A count that cannot be right (none, or more than the table holds) is read as a full table.
        if (used == 0 || used > 256)
            used = 256;
    }
    std::memcpy(table, data, used * 3);
    std::memset(table + used * 3, 0, kTableBytes - used * 3);
    count = used;
    return true;
}

bool ReadColorTable(const std::string& path, uint8_t* table, uint32_t& count) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    uint8_t bytes[kTableBytes + 2];
    size_t size = std::fread(bytes, 1, sizeof bytes, file);
    std::fclose(file);
    return ParseColorTable(bytes, size, table, count);
}

bool WriteColorTable(const std::string& path, const uint8_t* table, uint32_t count) {
    if (!table || count == 0 || count > 256)
        return false;
    std::vector<uint8_t> bytes(table, table + count * 3);
    if (count != 256) {
        bytes.resize(kTableBytes, 0);
        PutBE16(bytes, uint16_t(count));
        PutBE16(bytes, 0xFFFF);
    }
    return WriteFileAtomically(path, bytes.data(), bytes.size());
}

}  // namespace tamber::images
