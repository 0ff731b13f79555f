#pragma once
// The cells of the archive browser's tag tree: one row per tag (its current copy)
// and one per tag group. Row ids name the tag or the group, so rows keep their
// selection and expansion however often the tree is filled again.
#include <cstdint>
#include <unordered_map>

#include "ui/widgets/ListModel.h"

namespace tamber::tags { class Codex; }
namespace tamber::tags { class TagRecord; }

namespace tamber::tools {
using namespace tamber::tags;
using namespace tamber::ui;
using namespace tamber::ui::widgets;

class TagRowModel : public ListModel {
public:
    explicit TagRowModel(Codex& codex) : codex_(codex) {}

    static RowId TagRow(uint32_t group, uint32_t tagid) { return RowId(group) << 32 | tagid; }
    // Group rows carry the top bit, which no tag row does (group codes fit 32 bits).
    static RowId GroupRow(uint32_t group) { return kGroupBit | group; }
    static bool IsGroupRow(RowId row) { return (row & kGroupBit) != 0; }

    void Add(TagRecord* record);
    void Remove(const TagRecord* record);
    void Clear();
    // The record of a tag row, or null.
    TagRecord* RecordOf(RowId row) const;
    const std::unordered_map<RowId, TagRecord*>& Records() const { return records_; }
    // The row's user value: the header's, or the one read once from a large collection.
    uint32_t User(TagRecord* record) const;
    // Forgets the user value read for the tag (its data changed).
    void ForgetUser(const TagRecord* record) { probedUser_.erase(record); }
    bool CanOpen(TagRecord* record) const;

    // Group rows have no cells: their label spans the row.
    CellValue Cell(RowId row, int column) const override;

private:
    static constexpr RowId kGroupBit = RowId(1) << 63;

    Codex& codex_;
    std::unordered_map<RowId, TagRecord*> records_;
    // Cells are asked for while drawing and sorting, so the probe's answer is kept.
    mutable std::unordered_map<const TagRecord*, uint32_t> probedUser_;
};

}  // namespace tamber::tools
