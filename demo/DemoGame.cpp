#include "demo/DemoGame.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "demo/DemoOldArchive.h"
#include "platform/fs/AtomicFileWriter.h"
#include "platform/fs/FileErrors.h"
#include "platform/fs/FileSystem.h"
#include "platform/fs/UniqueFile.h"
#include "tags/ArchiveWriter.h"
#include "tags/TagHeader.h"
#ifdef TAMBER_DEMO_WITH_DemoCollections
#include "demo/DemoCollections.h"
#endif
#ifdef TAMBER_DEMO_WITH_DemoTerrain
#include "demo/DemoTerrain.h"
#endif
#ifdef TAMBER_DEMO_WITH_DemoDialogs
#include "demo/DemoDialogs.h"
#endif
#ifdef TAMBER_DEMO_WITH_DemoSounds
#include "demo/DemoSounds.h"
#endif
#ifdef TAMBER_DEMO_WITH_DemoModels
#include "demo/DemoModels.h"
#endif

namespace tamber::demo {
using namespace tamber::platform;
using namespace tamber::tags;

namespace fs = std::filesystem;

namespace {

constexpr const char* kMarker = ".tamber-demo";

TagHeader HeaderOf(const DemoTag& tag) {
    TagHeader h{};
    SetTagName(h, tag.name);
    h.flags = tag.flags;
    h.group = tag.group;
    h.tagid = tag.tagid;
    h.user = tag.user;
    h.version = tag.version;
    h.foundationIndex = 255;
    h.ownerIndex = 255;
    h.signature = kTagSignature;
    return h;
}

Status WriteLooseFile(const std::string& path, const DemoLooseTag& loose) {
    AtomicFileWriter writer;
    writer.SetDurable(false);
    if (Status opened = writer.Open(path); !opened) return opened;
    TagHeader h = MakeLooseHeader(HeaderOf(loose.tag), loose.tag.group, loose.tag.tagid);
    h.size = static_cast<uint32_t>(loose.tag.data.size());
    bool ok;
    if (loose.oldVersion) {
        OldTagHeader old{};
        std::memcpy(old.name, h.name, sizeof old.name);
        old.group = h.group;
        old.tagid = h.tagid;
        old.version = h.version;
        old.offset = kTagHeaderSize;
        old.size = h.size;
        old.signature = kOldTagSignature;
        ok = WriteRecords(&old, 1, kOldTagHeaderDescriptor, writer.File()) == kTagHeaderSize;
    } else {
        ok = WriteTagHeader(h, writer.File());
    }
    if (!ok) return writer.WriteFailure();
    if (Status written = writer.Write(loose.tag.data.data(), loose.tag.data.size()); !written) return written;
    return writer.Commit();
}

// Only what this generator can prove it made is replaced or removed: a folder
// (not a link to one) that holds the marker file, or an empty one.
bool MadeByDemo(const fs::path& folder) {
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(folder, ec);
    if (status.type() == fs::file_type::not_found) return true;
    if (status.type() != fs::file_type::directory) return false;
    return fs::is_empty(folder, ec) || fs::symlink_status(folder / kMarker, ec).type() == fs::file_type::regular;
}

Status RemoveMadeByDemo(const fs::path& folder) {
    if (!MadeByDemo(folder)) return Fail("'" + folder.string() + "' exists and was not made by tamber-demo");
    std::error_code ec;
    fs::remove_all(folder, ec);
    if (ec) return Fail("cannot remove '" + folder.string() + "': " + ec.message());
    return Ok();
}

}  // namespace

std::vector<uint8_t> DemoBytes(const std::string& seed, size_t size) {
    uint32_t state = 2166136261u;
    for (char c : seed) state = (state ^ uint8_t(c)) * 16777619u;
    std::vector<uint8_t> bytes(size);
    for (uint8_t& b : bytes) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        b = static_cast<uint8_t>(state);
    }
    return bytes;
}

DemoTag MakeDemoTag(uint32_t group, const std::string& name, size_t size) {
    DemoTag tag;
    tag.group = group;
    tag.name = name;
    tag.tagid = TagIdFromName(name);
    tag.data = DemoBytes(name, size);
    return tag;
}

DemoArchive& DemoGame::AddArchive(const std::string& folder, const std::string& fileName, uint16_t type,
                                  uint16_t priority, const std::string& name, bool oldVersion) {
    DemoArchive& archive = archives_.emplace_back();
    archive.folder = folder;
    archive.fileName = fileName;
    archive.type = type;
    archive.priority = priority;
    archive.name = name;
    archive.oldVersion = oldVersion;
    return archive;
}

DemoArchive& DemoGame::ArchiveNamed(const std::string& fileName) {
    for (DemoArchive& archive : archives_) {
        if (archive.fileName == fileName) return archive;
    }
    return AddArchive("tags", fileName, 3, 0, fileName);
}

Status DemoGame::WriteContent(const std::string& root) const {
    for (const char* sub : {"tags", "plugins", "local"}) {
        if (Status made = MakeFolders(root + sub); !made) return made;
    }
    for (const DemoArchive& archive : archives_) {
        std::vector<ArchiveItem> items;
        items.reserve(archive.tags.size());
        for (const DemoTag& tag : archive.tags) items.push_back({HeaderOf(tag), tag.data.data(), tag.data.size()});
        const std::string path = root + archive.folder + "/" + archive.fileName;
        Status written = Ok();
        if (archive.oldVersion) {
            written = WriteOldArchive(path, archive.name, items);
        } else {
            ArchiveHeader header{};
            header.type = archive.type;
            header.priority = archive.priority;
            std::strncpy(header.name, archive.name.c_str(), sizeof header.name - 1);
            std::strncpy(header.url, "demo.invalid/addons", sizeof header.url - 1);
            written = WriteArchive(path, header, items, false);
        }
        if (!written) return written;
    }
    for (const DemoLooseTag& loose : loose_) {
        const std::string folder = root + "local/" + loose.folder;
        if (Status made = MakeFolders(folder); !made) return made;
        if (Status written = WriteLooseFile(folder + "/" + loose.fileName, loose); !written) return written;
    }
    for (const auto& [subfolder, writer] : files_) {
        const std::string folder = root + subfolder;
        if (Status made = MakeFolders(folder); !made) return made;
        if (Status written = writer(folder); !written) return written;
    }
    return Ok();
}

Status DemoGame::Write(const std::string& folder) const {
    std::string target = folder;
    while (target.size() > 1 && target.back() == '/') target.pop_back();
    if (target.empty()) return Fail("no folder given");
    if (!MadeByDemo(target)) return Fail("'" + target + "' exists and was not made by tamber-demo");

    // Build beside the target, then swap, so a failure leaves the old folder.
    const std::string building = target + ".building";
    const std::string retired = target + ".retired";
    for (const std::string& leftover : {building, retired}) {
        if (Status removed = RemoveMadeByDemo(leftover); !removed) return removed;
    }
    if (Status made = MakeFolders(building); !made) return made;
    std::error_code ec;
    const UniqueFile marker = OpenFile(building + "/" + kMarker, "wx");
    if (!marker) {
        const Error failure = FileFailure("create", building + "/" + kMarker, errno);
        fs::remove_all(building, ec);
        return failure;
    }
    if (Status written = WriteContent(building + "/"); !written) {
        fs::remove_all(building, ec);
        return Fail("cannot write the demo game into '" + building + "': " + written.error());
    }
    const bool exists = fs::symlink_status(target, ec).type() != fs::file_type::not_found;
    ec.clear();
    if (exists) fs::rename(target, retired, ec);
    if (ec) {
        const std::string reason = ec.message();
        fs::remove_all(building, ec);
        return Fail("cannot replace '" + target + "': " + reason);
    }
    fs::rename(building, target, ec);
    if (ec) return Fail("cannot move the demo game into '" + target + "': " + ec.message());
    fs::remove_all(retired, ec);
    return Ok();
}

Status GenerateDemoGame(const std::string& folder, const DemoOptions& options) {
    DemoGame game;
    AddStorageContent(game);
#ifdef TAMBER_DEMO_WITH_DemoCollections
    AddCollectionContent(game);
#endif
#ifdef TAMBER_DEMO_WITH_DemoTerrain
    AddTerrainContent(game);
#endif
#ifdef TAMBER_DEMO_WITH_DemoDialogs
    AddDialogContent(game);
#endif
#ifdef TAMBER_DEMO_WITH_DemoSounds
    AddSoundContent(game);
#endif
#ifdef TAMBER_DEMO_WITH_DemoModels
    game.AddFiles("models", WriteDemoModelFiles);
#endif
    AddScaleContent(game, options);
    return game.Write(folder);
}

}  // namespace tamber::demo
