#pragma once
// What the archive browser's tag tree shows for a tag: whether it is listed,
// whether it can be opened, and the text of each column.
#include <cstdint>
#include <optional>
#include <string>

#include "tags/TagHeader.h"
#include "ui/widgets/ListModel.h"

namespace tamber::tags { class Codex; }
namespace tamber::tags { class TagRecord; }

namespace tamber::tools {
using namespace tamber::tags;
using namespace tamber::ui;
using namespace tamber::ui::widgets;

enum TagColumn : int {
    kColumnIdentifier,
    kColumnFlags,
    kColumnType,
    kColumnName,
    kColumnGroup,
    kColumnTag,
    kColumnOffset,
    kColumnSize,
    kColumnUser,
    kColumnVersion,
    kColumnFoundationIndex,
    kColumnOwnerIndex,
    kColumnGame,
    kColumnLocation,
    kTagColumnCount
};

struct TagColumnInfo {
    const char* title;
    int width;
    CellType type;
};
const TagColumnInfo& TagColumnAt(int column);

// Collections carry this bit in their user value when no editor can read them.
constexpr uint32_t kUnreadableCollectionBit = 256;
// Collections this large or larger keep the flag word in their data when the
// header's user value is 0.
constexpr uint32_t kLargeCollectionSize = 0x120000;

bool GroupHasEditor(uint32_t group);
// Tags of groups without an editor are listed only with hidden groups shown;
// detail maps always are.
bool IsTagListed(uint32_t group, bool showHiddenGroups);
// `user` is the row's user value (the header's, or the one read from the data).
bool CanOpenTag(const TagHeader& header, uint32_t user);
// Whether the row's user value must be read from the tag's data.
bool NeedsUserProbe(const TagHeader& header);
// The big-endian word at byte 4 of the tag's current data; none when unreadable.
std::optional<uint32_t> ProbeTagUser(Codex& codex, TagRecord* record);
CellValue TagColumnCell(const Codex& codex, const TagRecord* record, const TagHeader& header, uint32_t user, int column);

}  // namespace tamber::tools
