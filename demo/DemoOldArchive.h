#pragma once
// Old-version archives (48-byte header, data, then an entry table of old tag
// headers at the end). The program only reads them; the demo folder needs one.
#include <string>
#include <vector>

#include "tags/ArchiveWriter.h"

namespace tamber::demo {
using namespace tamber::tags;

Status WriteOldArchive(const std::string& path, const std::string& name, const std::vector<ArchiveItem>& items);

}  // namespace tamber::demo
