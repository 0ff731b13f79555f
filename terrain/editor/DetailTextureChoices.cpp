#include "terrain/editor/DetailTextureChoices.h"

#include <strings.h>

#include <algorithm>

#include "tags/Codex.h"
#include "tags/FourCC.h"
#include "terrain/DetailMap.h"
#include "terrain/editor/DmapEdit.h"

namespace tamber::terrain::editor {
using namespace tamber::tags;

std::string DetailTextureLabel(uint32_t tagid) {
    if (tagid == kNoDetailTexture)
        return "<no tag>";
    if (std::optional<std::string> name = DetailTextureName(tagid))
        return *name;
    return "'" + FourCCText(tagid) + "' <not found>";
}

std::vector<TextureChoice> DetailTextureChoices(uint32_t current) {
    Codex& codex = Codex::Instance();
    std::vector<TextureChoice> tags;
    for (TagRecord* record : codex.TagsOfGroup(FourCC("dtex"))) {
        if (const TagEntry* entry = codex.CurrentEntry(record))
            tags.push_back({record->tagid, entry->header.Name()});
    }
    std::sort(tags.begin(), tags.end(), [](const TextureChoice& a, const TextureChoice& b) {
        const int order = strcasecmp(a.label.c_str(), b.label.c_str());
        return order != 0 ? order < 0 : a.tagid < b.tagid;
    });
    std::vector<TextureChoice> choices{{kNoDetailTexture, DetailTextureLabel(kNoDetailTexture)}};
    if (current != kNoDetailTexture && !DetailTextureName(current))
        choices.push_back({current, DetailTextureLabel(current)});
    choices.insert(choices.end(), tags.begin(), tags.end());
    return choices;
}

}  // namespace tamber::terrain::editor
