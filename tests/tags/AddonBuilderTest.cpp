// The add-on builder on copies of the demo game folder: gathering, field checks,
// the archive layout on disk, and replacing an add-on only once the new one is whole.
#include <algorithm>
#include <filesystem>

#include "platform/fs/AtomicFileWriter.h"
#include "tags/AddonBuilder.h"
#include "tags/WorkingSet.h"
#include "terrain/DtexAddon.h"
#include "tests/tags/TagTestSupport.h"

using namespace tamber::platform;
using namespace tamber::tags;
using namespace tamber::terrain;

namespace fs = std::filesystem;

namespace {

uint32_t U32(const std::string& bytes, size_t at) {
    return uint32_t(uint8_t(bytes[at])) << 24 | uint32_t(uint8_t(bytes[at + 1])) << 16 |
           uint32_t(uint8_t(bytes[at + 2])) << 8 | uint32_t(uint8_t(bytes[at + 3]));
}
uint16_t U16(const std::string& bytes, size_t at) { return uint16_t(U32(bytes, at) >> 16); }

class AddonBuilderTest : public ::testing::Test {
protected:
    void SetUp() override {
        game_ = scratch_ / "game/";
        ASSERT_TRUE(GenerateDemoGame(game_, DemoOptions{}));
        codex_.Init(game_);
    }
    TagRecord* Tag(uint32_t group, const std::string& name) {
        for (TagRecord* record : codex_.TagsOfGroup(group)) {
            if (codex_.CurrentEntry(record)->header.Name() == name) return record;
        }
        return nullptr;
    }
    Status Build(const std::vector<TagRecord*>& tags, const std::string& name, uint16_t priority = 100) {
        return BuildAddon(codex_, tags, kAddonArchiveType, name, "http://example.org", priority);
    }

    ScratchFolder scratch_;
    std::string game_;
    Codex codex_;
};

TEST(AddonFields, ChecksInOrder) {
    for (const char* bad : {"1", "40000", "-5", "", "12x", "99999999999999999999"})
        EXPECT_EQ(InvalidAddonFields({"n", "u", bad}), " version") << bad;
    EXPECT_EQ(InvalidAddonFields({"", "", "1"}), " name url version");
    EXPECT_EQ(InvalidAddonFields({std::string(32, 'n'), std::string(64, 'u'), "2"}), " name url");
    uint16_t priority = 0;
    EXPECT_FALSE(CheckAddonFields({std::string(31, 'n'), std::string(63, 'u'), "32767"}, priority));
    EXPECT_EQ(priority, 32767);
    EXPECT_EQ(CheckAddonFields({"n", "", "0"}, priority)->text, "The following fields are invalid:  url version");
}

TEST_F(AddonBuilderTest, LayoutOfRegularAndMeshAddons) {
    const AddonTags regular = GatherRegularAddonTags(codex_);
    ASSERT_FALSE(regular.message);
    size_t allowed = 0;  // the demo's loose units, scripts, meshes and collections stay out
    for (TagRecord* record : codex_.LocalTags()) allowed += IsAddonAllowedGroup(record->localEntry->header.group);
    EXPECT_EQ(regular.tags.size(), allowed);
    ASSERT_TRUE(Build(regular.tags, "my addon", 321));
    EXPECT_FALSE(codex_.FindArchiveByPath(game_ + "plugins/my addon")->active);

    // Two meshes and three sounds, under a name that must not leave the plugins folder.
    std::vector<TagRecord*> tags = codex_.TagsOfGroup(FourCC("soun"));
    tags.resize(3);
    tags.insert(tags.begin(), {Tag(FourCC("mesh"), "demo valley"), Tag(FourCC("mesh"), "demo old valley")});
    ASSERT_TRUE(Build(tags, "../meshes"));
    EXPECT_FALSE(fs::exists(game_ + "meshes"));

    for (const auto& [file, meshes] : {std::pair{"my addon", 0u}, std::pair{".._meshes", 2u}}) {
        const std::string bytes = ReadFileText(game_ + "plugins/" + file);
        ASSERT_GT(bytes.size(), 128u);
        const size_t count = U16(bytes, 102), table = 128 + 112 * meshes;
        EXPECT_EQ(U16(bytes, 0), 6);
        EXPECT_EQ(U16(bytes, 100), meshes);
        EXPECT_EQ(count, meshes ? 5 : regular.tags.size());
        EXPECT_EQ(U32(bytes, 112), bytes.size());
        EXPECT_EQ(U32(bytes, 120), table + 64 * count);
        EXPECT_EQ(U32(bytes, 124), FourCC("dng2"));
        // Entries sorted by group then name; data after the table in table order, no gaps.
        uint32_t next = uint32_t(table + 64 * count);
        TagHeader previous{};
        for (size_t i = 0; i < count; ++i) {
            TagHeader entry;
            ASSERT_TRUE(UnpackAnyTagHeader(entry, reinterpret_cast<const uint8_t*>(bytes.data()) + table + 64 * i));
            EXPECT_EQ(entry.offset, next);
            EXPECT_TRUE(i == 0 || previous.group < entry.group ||
                        (previous.group == entry.group && previous.Name() <= entry.Name()));
            EXPECT_EQ(bytes.substr(entry.offset, entry.size),
                      ReadTagData(codex_, codex_.FindTagRecord(entry.group, entry.tagid)));
            previous = entry;
            next += entry.size;
        }
        EXPECT_EQ(next, bytes.size());
        EXPECT_EQ(codex_.FindArchiveByName(file)->entries.size(), count);
    }
    const std::string meshes = ReadFileText(game_ + "plugins/.._meshes");
    EXPECT_EQ(U32(meshes, 128), FourCC("told"));  // mesh records: "demo old valley" sorts first
    EXPECT_EQ(std::string(meshes.c_str() + 128 + 48), "demo old valley");
}

TEST_F(AddonBuilderTest, ReplacingAnAddon) {
    TagRecord* notes = Tag(FourCC("text"), "local notes");
    TagRecord* banner = Tag(FourCC("text"), "shared banner");
    const std::string path = game_ + "plugins/notes";
    ASSERT_TRUE(Build({notes}, "notes"));
    AddToWorkingSet(codex_, {codex_.FindArchiveByPath(path)});
    WriteLooseTag(*notes->localEntry->path, notes->localEntry->header, "rewritten");
    codex_.RefreshLocalFolder(true);
    ASSERT_TRUE(Build({notes}, "notes", 500));
    Archive* loaded = codex_.FindArchiveByPath(path);
    EXPECT_EQ(std::count_if(codex_.ArchiveList().begin(), codex_.ArchiveList().end(),
                            [&](const auto& a) { return a->path == path; }), 1);
    EXPECT_TRUE(loaded->active);  // an active add-on stays active
    EXPECT_EQ(loaded->header.priority, 500);
    const std::string before = ReadFileText(path);
    EXPECT_EQ(before.substr(loaded->entries.at(0).header.offset), "rewritten");

    // Failures leave the old file, the loaded archive and no temporary behind.
    const size_t files = std::distance(fs::directory_iterator(game_ + "plugins"), fs::directory_iterator());
    int editor = 0;
    codex_.AttachToTag(notes, kAttachTagResource, &editor);  // its tags are open
    EXPECT_FALSE(Build({banner}, "notes"));
    codex_.DetachFromTag(notes, kAttachTagResource, &editor);
    AtomicFileWriter::FailNextWriterAfter(200);
    EXPECT_FALSE(Build({notes, banner}, "notes"));
    AtomicFileWriter::FailNextCommit();
    EXPECT_FALSE(Build({notes, banner}, "notes"));
    fs::remove(*banner->localEntry->path);  // unreadable source
    EXPECT_FALSE(Build({notes, banner}, "notes"));
    EXPECT_EQ(ReadFileText(path), before);
    EXPECT_EQ(codex_.FindArchiveByPath(path), loaded);
    EXPECT_EQ(size_t(std::distance(fs::directory_iterator(game_ + "plugins"), fs::directory_iterator())), files);
}

TEST_F(AddonBuilderTest, DtexAddonAndNothingToDo) {
    AddonTags gathered = GatherDtexAddonTags(codex_);
    ASSERT_TRUE(gathered.message);
    EXPECT_EQ(gathered.message->title + gathered.message->button, "ErrorOk");
    EXPECT_EQ(gathered.message->text, "The detail map 'demo old valley details' (told) referenced a detail texture "
                                      "('lava') which could not be found. Aborting.");
    fs::remove(*codex_.FindTagRecord(FourCC("dmap"), FourCC("told"))->localEntry->path);
    codex_.RefreshLocalFolder(true);
    gathered = GatherDtexAddonTags(codex_);
    std::string ids;
    for (TagRecord* record : gathered.tags) ids += FourCCText(record->tagid) + " ";
    EXPECT_EQ(ids, "tval gras sand ston wate ");  // the map, then its textures by tagid
    EXPECT_TRUE(Build(gathered.tags, "valley"));
    WriteLooseTag(game_ + "local/detail maps/broken", TestHeader(FourCC("dmap"), FourCC("brok"), "broken"), "junk");
    codex_.RefreshLocalFolder(true);
    EXPECT_EQ(GatherDtexAddonTags(codex_).message->text, "The detail map 'broken' ('brok') could not be read. Aborting.");

    // A local folder of units and collections only.
    fs::remove_all(game_ + "local");
    WriteLooseTag(game_ + "local/units/guard", TestHeader(FourCC("unit"), FourCC("guar"), "guard"), "unit");
    WriteLooseTag(game_ + "local/collections/flag", TestHeader(FourCC(".256"), FourCC("flag"), "flag"), "pixels");
    codex_.RefreshLocalFolder(true);
    const AddonTags regular = GatherRegularAddonTags(codex_);
    EXPECT_TRUE(regular.tags.empty());
    EXPECT_EQ(regular.message->title, "Message");
    EXPECT_EQ(regular.message->text, "No addon-allowed files were found in the local folder - Nothing to do!");
    EXPECT_EQ(GatherDtexAddonTags(codex_).message->text, "No dmaps detected in the local folder - nothing to do!");
}

}  // namespace
