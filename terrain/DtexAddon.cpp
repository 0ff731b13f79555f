#include "terrain/DtexAddon.h"

#include <algorithm>
#include <array>
#include <set>

#include "tags/Codex.h"
#include "tags/FourCC.h"
#include "terrain/DetailMap.h"

namespace tamber::terrain {
using namespace tamber::base;
using namespace tamber::tags;

namespace {

constexpr uint32_t kDetailMapGroup = FourCC("dmap");
constexpr uint32_t kDetailTextureGroup = FourCC("dtex");

AddonMessage ErrorBox(std::string text) { return {"Error", std::move(text), "Ok"}; }

// The materials any grid point names, through its vertex byte or either triangle byte.
std::array<bool, kDetailMaterialCount> UsedMaterials(const DetailMap& map) {
    std::array<bool, kDetailMaterialCount> used{};
    for (const std::vector<uint8_t>* cells : {&map.vertex, &map.triangle}) {
        for (uint8_t index : *cells) {
            if (index < kDetailMaterialCount) used[index] = true;
        }
    }
    return used;
}

}  // namespace

AddonTags GatherDtexAddonTags(Codex& codex) {
    // A detail map or texture that cannot be read is never left out in silence.
    if (std::optional<AddonMessage> unreadable = UnreadableLooseFileMessage(
            codex, [](uint32_t group) { return group == kDetailMapGroup || group == kDetailTextureGroup; }))
        return AddonTags{{}, unreadable};
    std::vector<TagRecord*> maps;
    for (TagRecord* record : codex.TagsOfGroup(kDetailMapGroup)) {
        if (record->localEntry) maps.push_back(record);
    }
    // A fixed order, so the same folder always stops at the same map.
    std::sort(maps.begin(), maps.end(), [](const TagRecord* a, const TagRecord* b) { return a->tagid < b->tagid; });

    AddonTags result;
    std::set<uint32_t> textures;
    for (TagRecord* record : maps) {
        const TagHeader header = codex.CurrentEntry(record)->header;
        const std::string name = header.Name(), tagid = FourCCText(record->tagid);
        Result<std::vector<uint8_t>> data = ReadCurrentTagData(codex, record);
        const Result<DetailMap> map = data ? LoadDetailMap(*data, header.version) : std::move(data).TakeError();
        if (!map) {
            result.message = ErrorBox("The detail map '" + name + "' ('" + tagid + "') could not be read. Aborting.");
            return result;
        }
        const std::array<bool, kDetailMaterialCount> used = UsedMaterials(*map);
        for (int i = 0; i < kDetailMaterialCount; ++i) {
            const uint32_t texture = map->materials[size_t(i)].tagid;
            if (!used[size_t(i)] || texture == kNoDetailTexture) continue;
            if (!codex.FindTag(kDetailTextureGroup, texture)) {
                result.message = ErrorBox("The detail map '" + name + "' (" + tagid + ") referenced a detail texture ('" +
                                          FourCCText(texture) + "') which could not be found. Aborting.");
                return result;
            }
            textures.insert(texture);
        }
        result.tags.push_back(record);
    }
    if (result.tags.empty()) {
        result.message = AddonMessage{"Message", "No dmaps detected in the local folder - nothing to do!", "OK"};
        return result;
    }
    for (uint32_t texture : textures) result.tags.push_back(codex.FindTag(kDetailTextureGroup, texture));
    return result;
}

}  // namespace tamber::terrain
