#include "tools/TagRowModel.h"

#include "tags/Codex.h"
#include "tools/TagRowRules.h"

namespace tamber::tools {
using namespace tamber::tags;

void TagRowModel::Add(TagRecord* record) { records_[TagRow(record->group, record->tagid)] = record; }

void TagRowModel::Remove(const TagRecord* record) {
    records_.erase(TagRow(record->group, record->tagid));
    probedUser_.erase(record);
}

void TagRowModel::Clear() {
    records_.clear();
    probedUser_.clear();
}

TagRecord* TagRowModel::RecordOf(RowId row) const {
    auto found = records_.find(row);
    return found == records_.end() ? nullptr : found->second;
}

uint32_t TagRowModel::User(TagRecord* record) const {
    const TagEntry* entry = codex_.CurrentEntry(record);
    if (!entry) return 0;
    if (!NeedsUserProbe(entry->header)) return entry->header.user;
    auto found = probedUser_.find(record);
    if (found != probedUser_.end()) return found->second;
    const uint32_t user = ProbeTagUser(codex_, record).value_or(0);
    probedUser_[record] = user;
    return user;
}

bool TagRowModel::CanOpen(TagRecord* record) const {
    const TagEntry* entry = codex_.CurrentEntry(record);
    return entry && CanOpenTag(entry->header, User(record));
}

CellValue TagRowModel::Cell(RowId row, int column) const {
    TagRecord* record = RecordOf(row);
    const TagEntry* entry = record ? codex_.CurrentEntry(record) : nullptr;
    if (!entry) return {};
    const uint32_t user = column == kColumnUser ? User(record) : entry->header.user;
    return TagColumnCell(codex_, record, entry->header, user, column);
}

}  // namespace tamber::tools
