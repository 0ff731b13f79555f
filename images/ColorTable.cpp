#include "images/ColorTable.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "images/ByteOrder.h"
#include "platform/fs/FileBytes.h"
#include "platform/fs/InputFile.h"

namespace tamber::images {
using namespace tamber::base;
using namespace tamber::platform;

namespace {
constexpr size_t kTableBytes = 768;
}

Result<ColorTable> ParseColorTable(const uint8_t* data, size_t size) {
    if (!data || size < kTableBytes)
        return Fail("a colour table needs 768 bytes, the file holds " + std::to_string(size));
    ColorTable table;
    table.count = 256;
    if (size >= kTableBytes + 2) {
        table.count = GetBE16(data + kTableBytes);
        // A count that cannot be right (none, or more than the table holds) is read as a full table.
        if (table.count == 0 || table.count > 256)
            table.count = 256;
    }
    std::memcpy(table.entries.data(), data, table.count * 3);
    return table;
}

Result<ColorTable> ReadColorTable(const std::string& path) {
    Result<InputFile> input = OpenInputFile(path, UINT64_MAX);
    if (!input)
        return Fail("couldn't read '" + path + "': " + input.error());
    uint8_t bytes[kTableBytes + 2];
    const size_t size = std::fread(bytes, 1, sizeof bytes, input->file.get());
    if (size < sizeof bytes && std::ferror(input->file.get()))
        return Fail("couldn't read '" + path + "': " + std::strerror(errno));
    Result<ColorTable> table = ParseColorTable(bytes, size);
    if (!table)
        return Fail("'" + path + "' is not a colour table: " + table.error());
    return table;
}

Status WriteColorTable(const std::string& path, const uint8_t* table, uint32_t count) {
    if (!table || count == 0 || count > 256)
        return Fail("a colour table holds 1 to 256 colours, not " + std::to_string(count));
    std::vector<uint8_t> bytes(table, table + count * 3);
    if (count != 256) {
        bytes.resize(kTableBytes, 0);
        PutBE16(bytes, uint16_t(count));
        PutBE16(bytes, 0xFFFF);
    }
    return WriteFileAtomically(path, bytes.data(), bytes.size());
}

}  // namespace tamber::images
