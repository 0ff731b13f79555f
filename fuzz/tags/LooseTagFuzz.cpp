// Loose tag files: the header and the file name made from the name inside it.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/fs/UniqueFile.h"
#include "tags/LooseTagFile.h"
#include "tags/TagGroups.h"

using namespace tamber::platform;
using namespace tamber::tags;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const UniqueFile file(fmemopen(const_cast<uint8_t*>(data), size, "rb"));
    if (!file) return 0;
    TagHeader header;
    if (!ReadLooseTagHeader(file.get(), size, "ixo made this", header)) return 0;
    if (header.size != size - kTagHeaderSize) std::abort();
    // Folder names of known groups come from the table; others from the file.
    const std::string folder = FindTagGroup(header.group) ? std::string("_") : TagGroupFolderName(header.group);
    for (const std::string& name : {TagFileName(header.Name()), folder}) {
        if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos ||
            name.find('\\') != std::string::npos) {
            std::abort();
        }
    }
    return 0;
}
