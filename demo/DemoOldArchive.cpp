#include "demo/DemoOldArchive.h"

#include <cstring>

#include "platform/fs/AtomicFileWriter.h"

namespace tamber::demo {
using namespace tamber::platform;

Status WriteOldArchive(const std::string& path, const std::string& name, const std::vector<ArchiveItem>& items) {
    if (items.size() > 65535) return Fail("an archive holds at most 65535 tags");
    AtomicFileWriter writer;
    writer.SetDurable(false);
    if (Status opened = writer.Open(path); !opened) return opened;
    FILE* file = writer.File();
    uint64_t position = kOldArchiveHeaderSize;
    std::vector<OldTagHeader> table;
    if (std::fseek(file, kOldArchiveHeaderSize, SEEK_SET) != 0) return writer.WriteFailure();
    for (const ArchiveItem& item : items) {
        OldTagHeader old{};
        std::memcpy(old.name, item.header.name, sizeof old.name);
        old.group = item.header.group;
        old.tagid = item.header.tagid;
        old.version = item.header.version;
        old.offset = static_cast<uint32_t>(position);
        old.size = static_cast<uint32_t>(item.size);
        old.signature = kOldTagSignature;
        table.push_back(old);
        if (item.size && std::fwrite(item.data, 1, item.size, file) != item.size) return writer.WriteFailure();
        position += item.size;
    }
    if (!table.empty() && !WriteRecords(table.data(), table.size(), kOldTagHeaderDescriptor, file)) return writer.WriteFailure();
    OldArchiveHeader header{};
    header.one1 = 1;
    header.one2 = 1;
    std::strncpy(header.name, name.c_str(), sizeof header.name - 1);
    header.tableOffset = static_cast<uint32_t>(position);
    header.tagCount = static_cast<uint16_t>(items.size());
    if (std::fseek(file, 0, SEEK_SET) != 0 ||
        WriteRecords(&header, 1, kOldArchiveHeaderDescriptor, file) != kOldArchiveHeaderSize)
        return writer.WriteFailure();
    return writer.Commit();
}

}  // namespace tamber::demo
