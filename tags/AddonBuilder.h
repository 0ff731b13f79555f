#pragma once
// The add-on builder without windows: which tags a regular add-on packs, the
// checks of the add-on's name, url and priority, and the build itself, which
// writes the archive into the game's plugins folder and loads it into the Codex.
// Messages for the user come back as values; the caller shows them (message
// boxes in the program, standard error on the command line).
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/Result.h"

namespace tamber::tags {
using namespace tamber::base;

class Codex;
class TagRecord;

constexpr uint16_t kAddonArchiveType = 6;
constexpr int kDefaultAddonPriority = 100;
constexpr int kMinAddonPriority = 2;
constexpr int kMaxAddonPriority = 32767;
constexpr size_t kAddonNameLength = 31;
constexpr size_t kAddonUrlLength = 63;

// One message box: title, text and its single button.
struct AddonMessage {
    std::string title;
    std::string text;
    std::string button;
};

// Called before each step of a build: what is being done, steps done, steps in all.
using AddonProgress = std::function<void(const std::string& what, size_t done, size_t total)>;

// The tags an add-on is made of, or (with no tags) the message that ends the build.
struct AddonTags {
    std::vector<TagRecord*> tags;
    std::optional<AddonMessage> message;
};

// The fields of the add-on dialog as typed.
struct AddonFields {
    std::string name;
    std::string url;
    std::string priority;
};

// Groups whose loose tags a regular add-on carries.
bool IsAddonAllowedGroup(uint32_t group);
// The loose tags of the allowed groups, or the "nothing to do" message, or the
// error that a loose file of those groups could not be read.
AddonTags GatherRegularAddonTags(const Codex& codex);
// The error box for the first file of the given groups' local folders that could
// not be read, or none: an add-on never leaves such a file out in silence.
std::optional<AddonMessage> UnreadableLooseFileMessage(const Codex& codex, bool (*inGroup)(uint32_t group));

// The invalid fields as the words " name", " url" and " version" run together in
// that order; empty when every field is valid.
std::string InvalidAddonFields(const AddonFields& fields);
// The error box for invalid fields, or none; `priority` gets the parsed priority.
std::optional<AddonMessage> CheckAddonFields(const AddonFields& fields, uint16_t& priority);

// Where an add-on of this name is written: the game folder's plugins folder and
// the name made safe as a file name.
std::string AddonPath(const Codex& codex, const std::string& name);

// Packs the tags (sorted by group, name and tagid) into an archive of the given
// type in the plugins folder and loads it into the Codex. An add-on already there
// under that name is replaced only once the new file is complete; it is refused
// while any of its tags is open. A failure, also reported with its reason in the
// "Codex" channel, leaves the old add-on (file and loaded archive) as it was.
Status BuildAddon(Codex& codex, const std::vector<TagRecord*>& tags, uint16_t type, const std::string& name,
                const std::string& url, uint16_t priority, const AddonProgress& progress = {});

// The box that reports how a build went.
AddonMessage AddonResultMessage(bool success, const std::string& name);

}  // namespace tamber::tags
