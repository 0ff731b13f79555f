#pragma once
// One copy of a tag: an archive entry or a loose file. Archive entries live in
// their archive's entry vector; loose entries are owned by their record.
#include <cstdint>
#include <memory>
#include <string>

#include "tags/TagHeader.h"

namespace tamber::tags {

class Archive;
class TagRecord;

constexpr int kLooseRank = 3;

struct TagEntry {
    TagHeader header{};
    Archive* archive = nullptr;            // none for a loose file
    TagRecord* record = nullptr;           // set once indexed
    TagEntry* next = nullptr;              // the next entry of the same record
    std::unique_ptr<std::string> path;     // the loose file's path
    uint8_t rank = 0;                      // 0 to 2 from the archive type, 3 for a loose file

    bool IsLoose() const { return archive == nullptr; }
};

}  // namespace tamber::tags
