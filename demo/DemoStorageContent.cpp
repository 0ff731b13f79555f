// The tag storage's part of the demo game: a foundation archive with a tag of every
// group (the groups with a real format get theirs from the other demo parts), text
// tags holding readable text, a collection reference as model import writes it, an
// old-version archive, add-ons of types 2, 5, 6 and 7 (two type-6
// add-ons of equal priority sharing a tag), and loose tags including a misplaced
// file, two files with one tagid, an old-version file and a file whose name
// differs from the name in its header.
#include <algorithm>
#include <cctype>

#include "demo/DemoGame.h"
#include "tags/FourCC.h"
#include "tags/TagGroups.h"
#include "tags/TextTagPayload.h"

namespace tamber::demo {
using namespace tamber::tags;

namespace {

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Groups whose demo tags come with real payloads from the format parts of the demo.
bool HasRealDemoContent(uint32_t group) {
    for (const uint32_t code : {FourCC(".256"), FourCC("bina"), FourCC("dmap"), FourCC("dtex"), FourCC("mesh"),
                                FourCC("soun")}) {
        if (group == code) return true;
    }
    return false;
}

// Readable lines of exactly `size` bytes: carriage-return lines for texts, NUL-ended
// strings for string lists.
std::vector<uint8_t> DemoText(uint32_t group, const std::string& name, size_t size) {
    const bool list = IsStringListGroup(group);
    std::string text;
    for (int line = 1; text.size() < size; ++line) {
        text += name + " line " + std::to_string(line);
        text += list ? '\0' : '\r';
    }
    text.resize(size);
    return {text.begin(), text.end()};
}

void PutWord(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + size_t(i)] = uint8_t(value >> (24 - 8 * i));
}

// A collection reference as model import writes it: the collection's tagid, 1, 320
// bytes of 0xFF, 0xFFFFFFFF at 328, zeros elsewhere; 384 bytes in all.
std::vector<uint8_t> CollectionReference(uint32_t collection) {
    std::vector<uint8_t> bytes(384, 0);
    PutWord(bytes, 0, collection);
    PutWord(bytes, 4, 1);
    std::fill(bytes.begin() + 8, bytes.begin() + 328, uint8_t(0xFF));
    PutWord(bytes, 328, 0xFFFFFFFFu);
    return bytes;
}

DemoTag MakeStorageTag(uint32_t group, const std::string& name, size_t size) {
    DemoTag tag = MakeDemoTag(group, name, size);
    if (IsTextTagGroup(group)) tag.data = DemoText(group, name, size);
    if (group == FourCC("core")) tag.data = CollectionReference(FourCC("spri"));
    return tag;
}

DemoTag Tag(const char (&group)[5], const std::string& name, size_t size = 48) {
    return MakeStorageTag(FourCC(group), name, size);
}

DemoLooseTag Loose(const std::string& folder, const std::string& fileName, const DemoTag& tag, bool old = false) {
    return {folder, fileName, tag, old};
}

}  // namespace

void AddStorageContent(DemoGame& game) {
    DemoArchive& foundation = game.AddArchive("tags", "foundation.dng", 3, 0, "Vesk II Foundation");
    for (int i = 0; i < kTagGroupCount; ++i) {
        const TagGroup& group = TagGroupAt(i);
        if (HasRealDemoContent(group.code)) continue;
        DemoTag tag = MakeStorageTag(group.code, "demo " + Lower(group.singular), 32 + 8 * static_cast<size_t>(i));
        tag.user = 0x1000u + static_cast<uint32_t>(i);
        foundation.tags.push_back(tag);
    }
    foundation.tags.push_back(Tag("text", "shared banner"));
    foundation.tags.push_back(Tag("unit", "sword"));

    DemoArchive& legacy = game.AddArchive("tags", "legacy.dng", 1, 0, "Vesk Legacy", true);
    legacy.tags.push_back(Tag("scri", "old script"));
    legacy.tags.push_back(Tag("text", "old notes"));
    legacy.tags.push_back(Tag("soun", "old chime"));
    legacy.tags.push_back(Tag("text", "shared banner", 20));

    game.AddArchive("plugins", "foxtrot.dng", 2, 0, "Foxtrot Patch").tags.push_back(Tag("scen", "foxtrot scenery"));
    DemoArchive& alpha = game.AddArchive("plugins", "alpha.dng", 5, 3, "Alpha Add-on");
    alpha.tags.push_back(Tag("unit", "alpha unit"));
    alpha.tags.push_back(Tag("text", "shared banner", 24));
    DemoArchive& bravo = game.AddArchive("plugins", "bravo.dng", 6, 10, "Bravo Add-on");
    bravo.tags.push_back(Tag("unit", "bravo unit"));
    bravo.tags.push_back(Tag("text", "river song", 40));
    bravo.tags.push_back(Tag("text", "shared banner", 28));
    DemoArchive& charlie = game.AddArchive("plugins", "charlie.dng", 6, 10, "Charlie Add-on");
    charlie.tags.push_back(Tag("unit", "charlie unit"));
    charlie.tags.push_back(Tag("text", "river song", 44));
    game.AddArchive("plugins", "delta.dng", 7, 0, "Delta Add-on").tags.push_back(Tag("unit", "delta unit", 30));
    game.AddArchive("plugins", "echo.dng", 7, 0, "Echo Add-on").tags.push_back(Tag("unit", "delta unit", 31));

    game.AddLoose(Loose("text", "local notes", Tag("text", "local notes")));
    game.AddLoose(Loose("text", "shared banner", Tag("text", "shared banner", 36)));
    game.AddLoose(Loose("collections", "stray mesh", Tag("mesh", "stray mesh")));
    DemoTag twinA = Tag("text", "twin a");
    DemoTag twinB = Tag("text", "twin b");
    twinA.tagid = twinB.tagid = FourCC("twin");
    game.AddLoose(Loose("text", "twin a", twinA));
    game.AddLoose(Loose("text", "twin b", twinB));
    game.AddLoose(Loose("scripts", "old loose script", Tag("scri", "old loose script"), true));
    game.AddLoose(Loose("units", "renamed on disk", Tag("unit", "header name")));
}

}  // namespace tamber::demo
