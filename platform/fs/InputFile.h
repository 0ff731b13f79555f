#pragma once
// Opening a named file that someone else may have made: only a regular file is
// read (a FIFO would block, a device or a folder never ends), and only up to a
// size the caller can afford.
#include <cstdint>
#include <string>

#include "base/Result.h"
#include "platform/fs/UniqueFile.h"

namespace tamber::platform {
using namespace tamber::base;

struct InputFile {
    UniqueFile file;  // positioned at 0
    uint64_t size = 0;
};

// Fails when the file cannot be opened, is not a regular file, or is larger than
// maxBytes; the message is the reason alone, for the caller to put after what it
// was reading.
Result<InputFile> OpenInputFile(const std::string& path, uint64_t maxBytes);

}  // namespace tamber::platform
