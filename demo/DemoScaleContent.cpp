// Bulk content for benchmarks: many add-on archives with tags spread over every
// group, and many loose files.
#include <cctype>
#include <cstdio>

#include "demo/DemoGame.h"
#include "tags/FourCC.h"
#include "tags/TagGroups.h"

namespace tamber::demo {
using namespace tamber::tags;

namespace {

// A tagid unique within its group for index n: a prefix letter and three base-62 digits.
uint32_t ScaleTagId(char prefix, int n) {
    static const char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    std::string text(1, prefix);
    text += kDigits[(n / (62 * 62)) % 62];
    text += kDigits[(n / 62) % 62];
    text += kDigits[n % 62];
    return FourCCFromText(text);
}

std::string GroupFolder(uint32_t code) {
    std::string name = TagGroupName(code);
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

}  // namespace

void AddScaleContent(DemoGame& game, const DemoOptions& options) {
    const size_t payload = static_cast<size_t>(options.payloadBytes > 0 ? options.payloadBytes : 0);
    const int archives = options.extraArchives;
    for (int a = 0; a < archives; ++a) {
        char fileName[32];
        std::snprintf(fileName, sizeof fileName, "scale-%04d.dng", a);
        static const uint16_t kTypes[] = {5, 6, 7};
        DemoArchive& archive = game.AddArchive("plugins", fileName, kTypes[a % 3], static_cast<uint16_t>(a % 100), fileName);
        const int first = static_cast<int>(int64_t{options.extraTags} * a / archives);
        const int last = static_cast<int>(int64_t{options.extraTags} * (a + 1) / archives);
        archive.tags.reserve(static_cast<size_t>(last - first));
        for (int i = first; i < last; ++i) {
            DemoTag tag;
            tag.group = TagGroupAt(i % kTagGroupCount).code;
            tag.tagid = ScaleTagId('z', i / kTagGroupCount);
            tag.name = "scale " + std::to_string(i);
            tag.data = DemoBytes(tag.name, payload);
            archive.tags.push_back(std::move(tag));
        }
    }
    for (int i = 0; i < options.extraLoose; ++i) {
        DemoLooseTag loose;
        loose.tag.group = TagGroupAt(i % kTagGroupCount).code;
        loose.tag.tagid = ScaleTagId('y', i / kTagGroupCount);
        loose.tag.name = "loose " + std::to_string(i);
        loose.tag.data = DemoBytes(loose.tag.name, payload);
        loose.folder = GroupFolder(loose.tag.group);
        loose.fileName = loose.tag.name;
        game.AddLoose(loose);
    }
}

}  // namespace tamber::demo
