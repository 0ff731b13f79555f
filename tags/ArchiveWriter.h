#pragma once
// Writes a current-version archive: header space, mesh records (one per mesh
// tag), then each entry and its data in table order, and the header last once
// the counts, file size and data start are known. The file appears only when
// complete.
#include <cstdint>
#include <string>
#include <vector>

#include "base/Result.h"
#include "tags/ArchiveHeader.h"
#include "tags/TagHeader.h"

namespace tamber::tags {
using namespace tamber::base;

struct ArchiveItem {
    TagHeader header;  // name, group, tagid, flags, type, user, version and indexes; offset and size are set
    const uint8_t* data;
    size_t size;
};

// `header` gives type, priority, name and url; the rest is computed.
Status WriteArchive(const std::string& path, const ArchiveHeader& header, const std::vector<ArchiveItem>& items,
                  bool durable = true);

}  // namespace tamber::tags
