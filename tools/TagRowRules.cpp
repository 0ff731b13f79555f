#include "tools/TagRowRules.h"

#include <cstdio>

#include "tags/Codex.h"
#include "tags/FourCC.h"
#include "tags/TagGroups.h"

namespace tamber::tools {
using namespace tamber::tags;

namespace {

constexpr CellType kNumber = CellType::kNumber;
constexpr CellType kText = CellType::kText;
const TagColumnInfo kColumns[kTagColumnCount] = {
    {"Identifier", 96, kNumber},       {"Flags", 96, kNumber},       {"Type", 96, kNumber},
    {"Name", 256, kText},              {"Group", 64, kText},         {"Tag", 64, kText},
    {"Offset", 96, kNumber},           {"Size", 96, kNumber},        {"User", 64, kNumber},
    {"Vers.", 48, kNumber},            {"Foundation Index", 96, kNumber}, {"Owner Index", 96, kNumber},
    {"Game", 64, kText},               {"Location", 256, kText},
};

constexpr uint32_t kCollectionGroup = FourCC(".256");
constexpr uint32_t kMeshGroup = FourCC("mesh");
constexpr uint32_t kDetailMapGroup = FourCC("dmap");
constexpr uint16_t kFirstOpenableMeshVersion = 11;

}  // namespace

const TagColumnInfo& TagColumnAt(int column) { return kColumns[column]; }

bool GroupHasEditor(uint32_t group) {
    const TagGroup* entry = FindTagGroup(group);
    return entry && entry->editor;
}

bool IsTagListed(uint32_t group, bool showHiddenGroups) {
    return showHiddenGroups || group == kDetailMapGroup || GroupHasEditor(group);
}

bool CanOpenTag(const TagHeader& header, uint32_t user) {
    if (!GroupHasEditor(header.group)) return false;
    if (header.group == kCollectionGroup && (user & kUnreadableCollectionBit)) return false;
    if (header.group == kMeshGroup && header.version < kFirstOpenableMeshVersion) return false;
    return true;
}

bool NeedsUserProbe(const TagHeader& header) {
    return header.group == kCollectionGroup && header.user == 0 && header.size >= kLargeCollectionSize;
}

std::optional<uint32_t> ProbeTagUser(Codex& codex, TagRecord* record) {
    auto opened = codex.OpenTagData(record);
    if (!opened) return std::nullopt;
    FILE* file = *opened;
    uint8_t bytes[4];
    const bool read = std::fseek(file, 4, SEEK_CUR) == 0 && std::fread(bytes, 1, 4, file) == 4;
    codex.CloseTagData(record);
    if (!read) return std::nullopt;
    return uint32_t(bytes[0]) << 24 | uint32_t(bytes[1]) << 16 | uint32_t(bytes[2]) << 8 | bytes[3];
}

CellValue TagColumnCell(const Codex& codex, const TagRecord* record, const TagHeader& header, uint32_t user, int column) {
    switch (column) {
    case kColumnIdentifier: return CellValue::Integer(header.identifier);
    case kColumnFlags: return CellValue::Integer(header.flags);
    case kColumnType: return CellValue::Integer(header.type);
    case kColumnName: return CellValue::Text(header.Name());
    case kColumnGroup: return CellValue::Text(FourCCText(header.group));
    case kColumnTag: return CellValue::Text(FourCCText(header.tagid));
    case kColumnOffset: return CellValue::Integer(header.offset);
    case kColumnSize: return CellValue::Integer(header.size);
    case kColumnUser: {
        char text[16];
        std::snprintf(text, sizeof text, "0x%x", user);
        return CellValue::Number(user, text);
    }
    case kColumnVersion: return CellValue::Integer(header.version);
    case kColumnFoundationIndex: return CellValue::Integer(header.foundationIndex);
    case kColumnOwnerIndex: return CellValue::Integer(header.ownerIndex);
    case kColumnGame: return CellValue::Text(FourCCText(header.signature));
    case kColumnLocation: return CellValue::Text(codex.TagLocationName(record));
    default: return {};
    }
}

}  // namespace tamber::tools
