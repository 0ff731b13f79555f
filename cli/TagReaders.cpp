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

std::string CheckCollection(const TagData& tag) {
    const std::unique_ptr<Collection> collection = ReadCollection(tag.payload, tag.header.user, true);
    if (!collection) return "not a valid collection";
    for (int i = 0; i < collection->BitmapCount(); ++i) {
        if (collection->GetBitmap(i)->placeholder) return "bitmap " + std::to_string(i) + " is damaged";
    }
    return "";
}

}  // namespace

bool HasTagReader(uint32_t group) {
    return group == kCollectionGroupCode || group == kMeshGroup || group == kDetailMapGroup ||
           group == kDetailTextureGroup || group == kSoundGroup || group == kDialogGroup || IsTextTagGroup(group);
}

std::string CheckTagReads(const TagData& tag) {
    const std::span<const uint8_t> payload(tag.payload);
    const uint16_t version = tag.header.version;
    switch (tag.header.group) {
        case kCollectionGroupCode:
            return CheckCollection(tag);
        case kMeshGroup:
            if (version != kMeshTagVersion) return "mesh version " + std::to_string(version) + " is not supported";
            return LoadMesh(payload, version) ? "" : "not a valid mesh";
        case kDetailMapGroup:
            return LoadDetailMap(payload, version) ? "" : "not a valid detail map";
        case kDetailTextureGroup:
            return ReadDetailTexture(payload) ? "" : "not a valid detail texture";
        case kSoundGroup:
            return ReadSoundPayload(tag.payload.data(), tag.payload.size()) ? "" : "not a valid sound";
        case kDialogGroup:
            return ReadDialogPayload(tag.payload.data(), tag.payload.size()) ? "" : "not a valid dialog";
        default:
            break;
    }
    if (IsTextTagGroup(tag.header.group)) {
        std::string reason;
        return TextFromPayload(tag.header.group, payload, &reason) ? "" : reason;
    }
    return "";
}

}  // namespace tamber::cli
