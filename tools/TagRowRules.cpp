#include "tools/TagRowRules.h"

#include <cstdio>

#include "tags/Codex.h"
#include "tags/FourCC.h"
#include "tags/TagGroups.h"

namespace tamber::tools {
using namespace tamber::tags;

namespace {

const TagColumnInfo kColumns[kTagColumnCount] = {
    {"Identifier", 96}, {"Flags", 96},  {"Type", 96}, {"Name", 256},    {"Group", 64},
    {"Tag", 64},        {"Offset", 96}, {"Size", 96}, {"User", 64},     {"Vers.", 48},
    {"Foundation Index", 96}, {"Owner Index", 96},   {"Game", 64},     {"Location", 256},
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
    FILE* file = codex.OpenTagData(record);
    if (!file) return std::nullopt;
    uint8_t bytes[4];
    const bool read = std::fseek(file, 4, SEEK_CUR) == 0 && std::fread(bytes, 1, 4, file) == 4;
    codex.CloseTagData(record);
    if (!read) return std::nullopt;
    return uint32_t(bytes[0]) << 24 | uint32_t(bytes[1]) << 16 | uint32_t(bytes[2]) << 8 | bytes[3];
}

std::string TagColumnText(const Codex& codex, const TagRecord* record, const TagHeader& header, uint32_t user,
                          int column) {
    switch (column) {
    case kColumnIdentifier: return std::to_string(header.identifier);
    case kColumnFlags: return std::to_string(header.flags);
    case kColumnType: return std::to_string(header.type);
    case kColumnName: return header.Name();
    case kColumnGroup: return FourCCText(header.group);
    case kColumnTag: return FourCCText(header.tagid);
    case kColumnOffset: return std::to_string(header.offset);
    case kColumnSize: return std::to_string(header.size);
    case kColumnUser: {
        char text[16];
        std::snprintf(text, sizeof text, "0x%x", user);
        return text;
    }
    case kColumnVersion: return std::to_string(header.version);
    case kColumnFoundationIndex: return std::to_string(header.foundationIndex);
    case kColumnOwnerIndex: return std::to_string(header.ownerIndex);
    case kColumnGame: return FourCCText(header.signature);
    case kColumnLocation: return codex.TagLocationName(record);
    default: return {};
    }
}

}  // namespace tamber::tools
