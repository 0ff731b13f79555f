// Character map files from strangers (a "charmap" beside the program): read through
// the same path reader the program uses, then every character both ways.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "ui/CharSet.h"

using namespace tamber::ui;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An in-memory file, so the reader opens a real path without touching the disk.
    const int fd = ::memfd_create("charmap", MFD_CLOEXEC);
    if (fd < 0) return 0;
    const bool written = size == 0 || ::write(fd, data, size) == ssize_t(size);
    const bool loaded = written && LoadCharMap("/proc/self/fd/" + std::to_string(fd));
    ::close(fd);
    if (loaded != (written && size >= 448)) std::abort();
    for (int c = 0; c < 256; ++c) {
        const char16_t unicode = CharToUnicode(uint8_t(c));
        if (c >= 32 && unicode == 0) std::abort();  // a 0 entry reads as a space
        UnicodeToChar(unicode);
    }
    FromUnicode(ToUnicode(std::string(reinterpret_cast<const char*>(data), size > 64 ? 64 : size)));
    ResetCharMap();
    return 0;
}
