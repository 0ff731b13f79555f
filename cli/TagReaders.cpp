#include "cli/TagReaders.h"

#include "collections/CollectionFile.h"
#include "dialogs/DialogPayload.h"
#include "sounds/SoundPayload.h"
#include "tags/TextTagPayload.h"
#include "terrain/DetailMap.h"
#include "terrain/DetailTexture.h"
#include "terrain/Mesh.h"

namespace tamber::cli {
using namespace tamber::collections;
using namespace tamber::dialogs;
using namespace tamber::sounds;
using namespace tamber::tags;
using namespace tamber::terrain;

namespace {

constexpr uint32_t kMeshGroup = FourCC("mesh");
constexpr uint32_t kDetailMapGroup = FourCC("dmap");
constexpr uint32_t kDetailTextureGroup = FourCC("dtex");
constexpr uint32_t kSoundGroup = FourCC("soun");
constexpr uint32_t kDialogGroup = FourCC("bina");

// A damaged bitmap alone does not stop a collection from reading: it becomes a
// placeholder, which is a warning.
TagCheck CheckCollection(const TagData& tag) {
    Result<std::unique_ptr<Collection>> read = ReadCollection(tag.payload, tag.header.user, true);
    if (!read) return {"not a valid collection", {}};
    const std::unique_ptr<Collection> collection = std::move(read).value();
    TagCheck check;
    for (int i = 0; i < collection->BitmapCount(); ++i) {
        if (collection->GetBitmap(i)->placeholder)
            check.warnings.push_back("bitmap " + std::to_string(i) + " is damaged and reads as a placeholder");
    }
    return check;
}

TagCheck Failure(bool reads, const std::string& reason) { return {reads ? "" : reason, {}}; }

}  // namespace

bool HasTagReader(uint32_t group) {
    return group == kCollectionGroupCode || group == kMeshGroup || group == kDetailMapGroup ||
           group == kDetailTextureGroup || group == kSoundGroup || group == kDialogGroup || IsTextTagGroup(group);
}

TagCheck CheckTagReads(const TagData& tag) {
    const std::span<const uint8_t> payload(tag.payload);
    const uint16_t version = tag.header.version;
    switch (tag.header.group) {
        case kCollectionGroupCode:
            return CheckCollection(tag);
        case kMeshGroup:
            if (version != kMeshTagVersion) return Failure(false, "mesh version " + std::to_string(version) + " is not supported");
            return Failure(bool(LoadMesh(payload, version)), "not a valid mesh");
        case kDetailMapGroup:
            return Failure(bool(LoadDetailMap(payload, version)), "not a valid detail map");
        case kDetailTextureGroup:
            return Failure(bool(ReadDetailTexture(payload)), "not a valid detail texture");
        case kSoundGroup:
            return Failure(bool(ReadSoundPayload(tag.payload.data(), tag.payload.size())), "not a valid sound");
        case kDialogGroup:
            return Failure(bool(ReadDialogPayload(tag.payload.data(), tag.payload.size())), "not a valid dialog");
        default:
            break;
    }
    // Text tags always read: a text's bytes after a NUL are kept as they are.
    return {};
}

}  // namespace tamber::cli
