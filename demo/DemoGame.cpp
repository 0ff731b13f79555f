#include "demo/DemoGame.h"

#include <cstring>
#include <filesystem>
#include <system_error>

#include "demo/DemoOldArchive.h"
#include "platform/fs/AtomicFileWriter.h"
#include "platform/fs/FileSystem.h"
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

bool WriteLooseFile(const std::string& path, const DemoLooseTag& loose) {
    AtomicFileWriter writer;
    writer.SetDurable(false);
    if (!writer.Open(path)) return false;
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
    const auto& data = loose.tag.data;
    ok = ok && (data.empty() || std::fwrite(data.data(), 1, data.size(), writer.File()) == data.size());
    return ok && writer.Commit();
}

bool FolderIsReplaceable(const fs::path& folder) {
    std::error_code ec;
    if (!fs::exists(folder, ec)) return true;
    if (!fs::is_directory(folder, ec)) return false;
    return fs::is_empty(folder, ec) || fs::exists(folder / kMarker, ec);
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

bool DemoGame::WriteContent(const std::string& root) const {
    for (const char* sub : {"tags", "plugins", "local"}) {
        if (!MakeFolders(root + sub)) return false;
    }
    for (const DemoArchive& archive : archives_) {
        std::vector<ArchiveItem> items;
        items.reserve(archive.tags.size());
        for (const DemoTag& tag : archive.tags) items.push_back({HeaderOf(tag), tag.data.data(), tag.data.size()});
        const std::string path = root + archive.folder + "/" + archive.fileName;
        bool ok;
        if (archive.oldVersion) {
            ok = WriteOldArchive(path, archive.name, items);
        } else {
            ArchiveHeader header{};
            header.type = archive.type;
            header.priority = archive.priority;
            std::strncpy(header.name, archive.name.c_str(), sizeof header.name - 1);
            std::strncpy(header.url, "demo.invalid/addons", sizeof header.url - 1);
            ok = WriteArchive(path, header, items, false);
        }
        if (!ok) return false;
    }
    for (const DemoLooseTag& loose : loose_) {
        const std::string folder = root + "local/" + loose.folder;
        if (!MakeFolders(folder) || !WriteLooseFile(folder + "/" + loose.fileName, loose)) return false;
    }
    for (const auto& [subfolder, writer] : files_) {
        const std::string folder = root + subfolder;
        if (!MakeFolders(folder) || !writer(folder)) return false;
    }
    return true;
}

bool DemoGame::Write(const std::string& folder, std::string* error) const {
    auto fail = [&](const std::string& text) {
        if (error) *error = text;
        return false;
    };
    std::string target = folder;
    while (target.size() > 1 && target.back() == '/') target.pop_back();
    if (target.empty()) return fail("no folder given");
    if (!FolderIsReplaceable(target)) return fail("'" + target + "' exists and was not made by tamber-demo");

    // Build beside the target, then swap, so a failure leaves the old folder.
    std::error_code ec;
    const std::string building = target + ".building";
    const std::string retired = target + ".retired";
    fs::remove_all(building, ec);
    fs::remove_all(retired, ec);
    if (!MakeFolders(building)) return fail("cannot create '" + building + "'");
    FILE* marker = std::fopen((building + "/" + kMarker).c_str(), "w");
    if (marker) std::fclose(marker);
    if (!marker || !WriteContent(building + "/")) {
        fs::remove_all(building, ec);
        return fail("cannot write the demo game into '" + building + "'");
    }
    if (fs::exists(target, ec)) fs::rename(target, retired, ec);
    if (ec) {
        fs::remove_all(building, ec);
        return fail("cannot replace '" + target + "'");
    }
    fs::rename(building, target, ec);
    if (ec) return fail("cannot move the demo game into '" + target + "'");
    fs::remove_all(retired, ec);
    return true;
}

bool GenerateDemoGame(const std::string& folder, const DemoOptions& options, std::string* error) {
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
    return game.Write(folder, error);
}

}  // namespace tamber::demo
