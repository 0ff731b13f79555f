#include "tags/ArchiveWriter.h"

#include <cstring>

#include "platform/fs/AtomicFileWriter.h"

namespace tamber::tags {
using namespace tamber::platform;

Status WriteArchive(const std::string& path, const ArchiveHeader& header, const std::vector<ArchiveItem>& items,
                    bool durable) {
    if (items.size() > 65535) return Fail("an archive holds at most 65535 tags");
    std::vector<MeshRecord> meshes;
    for (const ArchiveItem& item : items) {
        if (item.header.group != FourCC("mesh")) continue;
        MeshRecord m{};
        m.tagid = item.header.tagid;
        std::memcpy(m.name, item.header.name, sizeof m.name);
        std::memcpy(m.description, item.header.name, sizeof m.name);
        meshes.push_back(m);
    }
    const Error tooLarge = Fail("an archive holds at most 4 GB");

    AtomicFileWriter writer;
    writer.SetDurable(durable);
    if (Status opened = writer.Open(path); !opened) return opened;
    FILE* file = writer.File();
    const uint64_t tableOffset = kArchiveHeaderSize + kMeshRecordSize * meshes.size();
    uint64_t dataPos = tableOffset + kTagHeaderSize * items.size();
    const uint64_t dataStart = dataPos;
    if (std::fseek(file, kArchiveHeaderSize, SEEK_SET) != 0 || !WriteMeshRecords(meshes.data(), file, meshes.size()))
        return writer.WriteFailure();
    for (size_t i = 0; i < items.size(); ++i) {
        TagHeader entry = items[i].header;
        entry.identifier = static_cast<uint16_t>(i);
        entry.offset = static_cast<uint32_t>(dataPos);
        entry.size = static_cast<uint32_t>(items[i].size);
        if (entry.signature != kTagSignature) entry.signature = kTagSignature;
        if (::fseeko(file, static_cast<off_t>(tableOffset + kTagHeaderSize * i), SEEK_SET) != 0 ||
            !WriteTagHeader(entry, file) || ::fseeko(file, static_cast<off_t>(dataPos), SEEK_SET) != 0 ||
            (items[i].size && std::fwrite(items[i].data, 1, items[i].size, file) != items[i].size)) {
            return writer.WriteFailure();
        }
        dataPos += items[i].size;
        if (dataPos > 0xffffffffu) return tooLarge;
    }
    ArchiveHeader h{};
    h.type = header.type;
    h.priority = header.priority;
    std::memcpy(h.name, header.name, sizeof h.name);
    std::memcpy(h.url, header.url, sizeof h.url);
    h.meshCount = static_cast<uint16_t>(meshes.size());
    h.tagCount = static_cast<uint16_t>(items.size());
    h.fileSize = static_cast<uint32_t>(dataPos);
    h.dataStart = static_cast<uint32_t>(dataStart);
    h.signature = kArchiveSignature;
    if (std::fseek(file, 0, SEEK_SET) != 0 || !WriteArchiveHeader(h, file)) return writer.WriteFailure();
    return writer.Commit();
}

}  // namespace tamber::tags
