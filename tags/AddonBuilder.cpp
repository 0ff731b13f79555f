#include "tags/AddonBuilder.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "base/MessageLog.h"
#include "platform/fs/FolderBounds.h"
#include "tags/ArchiveWriter.h"
#include "tags/Codex.h"
#include "tags/FourCC.h"
#include "tags/WorkingSet.h"

namespace tamber::tags {
using namespace tamber::platform;

namespace {
Status BuildAddonFile(Codex& codex, const std::vector<TagRecord*>& tags, uint16_t type, const std::string& name,
                      const std::string& url, uint16_t priority, const AddonProgress& progress);
}  // namespace

namespace {

constexpr uint32_t kAllowedGroups[] = {FourCC("soli"), FourCC("ditl"), FourCC("form"), FourCC("obpc"),
                                       FourCC("reco"), FourCC("save"), FourCC("soun"), FourCC("stli"),
                                       FourCC("temp"), FourCC("text")};

// A whole decimal number (an optional leading minus, then digits) in range.
bool ParsePriority(const std::string& text, uint16_t& priority) {
    const size_t digits = text.size() - (!text.empty() && text[0] == '-');
    if (digits == 0 || digits > 10 ||
        !std::all_of(text.end() - long(digits), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return false;
    }
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    if (value < kMinAddonPriority || value > kMaxAddonPriority) return false;
    priority = uint16_t(value);
    return true;
}

bool TagOrderLess(const TagHeader& a, const TagHeader& b) {
    if (a.group != b.group) return a.group < b.group;
    const int names = a.Name().compare(b.Name());  // byte order
    if (names != 0) return names < 0;
    return a.tagid < b.tagid;
}

// An archive's tags can be replaced only while none of them is open.
bool ArchiveInUse(const Archive& archive) {
    return std::any_of(archive.entries.begin(), archive.entries.end(),
                       [](const TagEntry& entry) { return entry.record && entry.record->IsOpen(); });
}

void CopyField(char* field, size_t capacity, const std::string& text) {
    std::memset(field, 0, capacity);
    std::memcpy(field, text.data(), std::min(text.size(), capacity - 1));
}

}  // namespace

bool IsAddonAllowedGroup(uint32_t group) {
    return std::find(std::begin(kAllowedGroups), std::end(kAllowedGroups), group) != std::end(kAllowedGroups);
}

std::optional<AddonMessage> UnreadableLooseFileMessage(const Codex& codex, bool (*inGroup)(uint32_t group)) {
    for (const UnreadableLooseFile& file : codex.UnreadableLooseFiles()) {
        if (inGroup(file.group))
            return AddonMessage{"Error", "The local file '" + file.path + "' could not be read (" + file.reason +
                                             "). Aborting.", "OK"};
    }
    return std::nullopt;
}

AddonTags GatherRegularAddonTags(const Codex& codex) {
    AddonTags result;
    if ((result.message = UnreadableLooseFileMessage(codex, IsAddonAllowedGroup))) return result;
    for (TagRecord* record : codex.LocalTags()) {
        const TagEntry* entry = codex.CurrentEntry(record);
        if (entry && IsAddonAllowedGroup(entry->header.group)) result.tags.push_back(record);
    }
    if (result.tags.empty()) {
        result.message = AddonMessage{"Message", "No addon-allowed files were found in the local folder - Nothing to do!",
                                      "OK"};
    }
    return result;
}

std::string InvalidAddonFields(const AddonFields& fields) {
    std::string invalid;
    if (fields.name.empty() || fields.name.size() > kAddonNameLength) invalid += " name";
    if (fields.url.empty() || fields.url.size() > kAddonUrlLength) invalid += " url";
    uint16_t priority = 0;
    if (!ParsePriority(fields.priority, priority)) invalid += " version";
    return invalid;
}

std::optional<AddonMessage> CheckAddonFields(const AddonFields& fields, uint16_t& priority) {
    const std::string invalid = InvalidAddonFields(fields);
    if (!invalid.empty()) return AddonMessage{"Error", "The following fields are invalid: " + invalid, "OK"};
    ParsePriority(fields.priority, priority);
    return std::nullopt;
}

std::string AddonPath(const Codex& codex, const std::string& name) {
    // The same folder spelling the Codex uses when it loads plugins, so that a
    // loaded add-on is found by its path.
    return NormaliseFolderPath(codex.GameFolder() + "plugins") + TagFileName(name);
}

Status BuildAddon(Codex& codex, const std::vector<TagRecord*>& tags, uint16_t type, const std::string& name,
                const std::string& url, uint16_t priority, const AddonProgress& progress) {
    Status built = BuildAddonFile(codex, tags, type, name, url, priority, progress);
    if (!built) LogMessage(1, "Codex", "couldn't build the add-on '%s': %s\n", name.c_str(), built.error().c_str());
    return built;
}

namespace {

Status BuildAddonFile(Codex& codex, const std::vector<TagRecord*>& tags, uint16_t type, const std::string& name,
                      const std::string& url, uint16_t priority, const AddonProgress& progress) {
    if (codex.GameFolder().empty()) return Fail("no game folder is open");
    const std::string path = AddonPath(codex, name);
    Archive* existing = codex.FindArchiveByPath(path);
    if (existing && ArchiveInUse(*existing)) return Fail("tags of '" + path + "' are open");
    if (Status folder = MakeFoldersInside(codex.GameFolder(), NormaliseFolderPath(codex.GameFolder() + "plugins")); !folder)
        return folder;

    struct Packed {
        TagHeader header;
        std::vector<uint8_t> data;
    };
    std::vector<Packed> packed;
    packed.reserve(tags.size());
    for (TagRecord* record : tags) {
        const TagEntry* entry = codex.CurrentEntry(record);
        if (!entry) return Fail("a tag to pack has no current copy");
        packed.push_back({entry->header, {}});
    }
    std::vector<size_t> order(tags.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return TagOrderLess(packed[a].header, packed[b].header); });

    // Every tag is read before anything is written or unloaded: the sources may
    // lie in the very add-on being replaced.
    std::vector<ArchiveItem> items;
    items.reserve(order.size());
    for (size_t done = 0; done < order.size(); ++done) {
        Packed& tag = packed[order[done]];
        if (progress) progress("Reading '" + tag.header.Name() + "'", done, order.size() + 1);
        Result<std::vector<uint8_t>> data = ReadCurrentTagData(codex, tags[order[done]]);
        if (!data) return std::move(data).TakeError();
        tag.data = std::move(*data);
        tag.header = codex.CurrentEntry(tags[order[done]])->header;
        items.push_back({tag.header, tag.data.data(), tag.data.size()});
    }
    if (progress) progress("Writing '" + PathFileName(path) + "'", order.size(), order.size() + 1);

    ArchiveHeader header{};
    header.type = type;
    header.priority = type == 1 ? 65535 : priority;
    CopyField(header.name, sizeof header.name, name);
    CopyField(header.url, sizeof header.url, url);
    if (Status written = WriteArchive(path, header, items); !written) return written;

    // The file is complete and in place: swap the loaded copy for it, keeping
    // an active add-on active.
    bool wasActive = false;
    if (existing) {
        wasActive = existing->active;
        if (!codex.UnloadArchive(existing)) return Fail("tags of '" + path + "' are open");
    }
    Archive* loaded = codex.LoadArchive(path);
    if (!loaded) return Fail("the add-on written to '" + path + "' does not read back");
    if (wasActive) AddToWorkingSet(codex, {loaded});
    if (progress) progress("Done", order.size() + 1, order.size() + 1);
    return Ok();
}

}  // namespace

AddonMessage AddonResultMessage(bool success, const std::string& name) {
    if (success) return {"Success", "The addon has been written to the plugins folder as '" + name + "'", "OK"};
    // 0xA5 is the bullet of the program's character set.
    return {"Error",
            "The addon could not be created. Possible reasons include:\n"
            "\xA5 Tags from the destination file are open in Tamber.\n"
            "\xA5 The destination file is open in another program.\n"
            "\xA5 Some tags from the local folder were corrupt or unreadable.",
            "OK"};
}

}  // namespace tamber::tags
