#pragma once
// A tag's data opened where it lies (a loose tag file or an archive's current
// copy) and read in pieces, for commands whose memory must not grow with the
// tag's size.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/Result.h"
#include "platform/fs/UniqueFile.h"
#include "tags/Codex.h"
#include "tags/TagHeader.h"

namespace tamber::cli {
using namespace tamber::base;
using namespace tamber::tags;

class TagStream {
public:
    // Opens the tag a well-formed TAG-OR-FILE argument names (see CheckTagArgument).
    static Result<std::unique_ptr<TagStream>> Open(const std::vector<std::string>& words);
    ~TagStream();
    TagStream(const TagStream&) = delete;
    TagStream& operator=(const TagStream&) = delete;

    const TagHeader& Header() const { return header_; }
    // Reads `bytes` bytes of the data at `offset`; false when they lie past its
    // end or cannot be read.
    [[nodiscard]] bool ReadAt(uint64_t offset, uint8_t* out, size_t bytes);

private:
    TagStream() = default;

    TagHeader header_{};
    platform::UniqueFile owned_;  // a loose tag file
    Codex* codex_ = nullptr;      // or the codex holding the record's stream
    TagRecord* record_ = nullptr;
    std::FILE* file_ = nullptr;
    int64_t start_ = 0;  // where the data starts in the file
};

}  // namespace tamber::cli
