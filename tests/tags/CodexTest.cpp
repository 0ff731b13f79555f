#include "TagTestSupport.h"

#include "tags/WorkingSet.h"

using namespace tamber::tags;

namespace {

const uint32_t kText = FourCC("text");
const uint32_t kUnit = FourCC("unit");

class CodexTest : public ::testing::Test {
protected:
    void SetUp() override { MessageLog::Instance().Clear(); }
    std::string Game(const std::string& sub) const { return dir / sub; }
    ScratchFolder dir;
    Codex codex;
};

}  // namespace

TEST_F(CodexTest, CurrentEntryAcrossRanksPrioritiesAndNames) {
    const TestTag banner{kText, FourCC("bann"), "banner", "foundation"};
    ASSERT_TRUE(WriteTestArchive(Game("tags/base.dng"), 3, 900, {banner, {kUnit, FourCC("swor"), "sword", "s"}}));
    ASSERT_TRUE(WriteTestArchive(Game("tags/patch.dng"), 2, 0, {{kText, FourCC("bann"), "banner", "patch"}}));
    ASSERT_TRUE(WriteTestArchive(Game("plugins/b.dng"), 6, 10, {{kText, FourCC("bann"), "banner", "b"},
                                                                {kText, FourCC("rivr"), "river", "b"}}));
    ASSERT_TRUE(WriteTestArchive(Game("plugins/c.dng"), 6, 10, {{kText, FourCC("rivr"), "river", "c"}}));
    ASSERT_TRUE(WriteTestArchive(Game("plugins/a.dng"), 6, 11, {{kText, FourCC("solo"), "solo", "a"}}));
    ASSERT_TRUE(WriteTestArchive(Game("plugins/skip.dng"), 5, 50, {{kText, FourCC("bann"), "banner", "skip"}}));

    EventRecorder recorder;
    codex.AddListener(EventRecorder::Callback, &recorder);
    codex.AddListener(EventRecorder::Callback, &recorder);  // added once
    codex.Init(dir.Path());
    EXPECT_EQ(6u, codex.ArchiveCount());
    const std::vector<int> codes = recorder.Codes();
    EXPECT_EQ(6, std::count(codes.begin(), codes.end(), kCodexArchiveAdded));
    EXPECT_EQ(kCodexActiveSetChanged, codes.back());

    TagRecord* bannerRecord = codex.FindTag(kText, FourCC("bann"));
    ASSERT_TRUE(bannerRecord);
    // Type 5 is inactive by default; among the active copies the add-on's rank 2 wins.
    EXPECT_EQ("b", ReadTagData(codex, bannerRecord));
    EXPECT_EQ("b.dng", codex.TagLocationName(bannerRecord));
    // Equal rank and priority: the file name that sorts last.
    EXPECT_EQ("c", ReadTagData(codex, codex.FindTag(kText, FourCC("rivr"))));
    EXPECT_EQ(codex.FindArchiveByName("base.dng"), codex.EntryOfRank(bannerRecord, 0)->archive);
    EXPECT_EQ(codex.FindArchiveByName("patch.dng"), codex.EntryOfRank(bannerRecord, 1)->archive);
    EXPECT_EQ(codex.FindArchiveByName("skip.dng"), codex.EntryOfRank(bannerRecord, 2)->archive);  // priority 50
    EXPECT_EQ(nullptr, codex.EntryOfRank(bannerRecord, kLooseRank));

    // Deactivating the add-ons brings the lower ranks back, with event 5.
    recorder.events.clear();
    SetActiveArchives(codex, {codex.FindArchiveByName("base.dng"), codex.FindArchiveByName("patch.dng")});
    EXPECT_EQ(std::vector<int>{kCodexActiveSetChanged}, recorder.Codes());
    EXPECT_EQ("patch", ReadTagData(codex, bannerRecord));
    SetActiveArchives(codex, {codex.FindArchiveByName("base.dng")});
    EXPECT_EQ("foundation", ReadTagData(codex, bannerRecord));
    EXPECT_EQ(nullptr, codex.FindTag(kText, FourCC("rivr")));
    EXPECT_EQ("unknown", codex.TagLocationName(codex.FindTagRecord(kText, FourCC("rivr"))));
    EXPECT_EQ(2u, codex.FoundationTags().size());
    EXPECT_EQ(2u, codex.AllCurrentTags().size());

    // A loose copy overrides every archive, active or not.
    WriteLooseTag(Game("local/text/banner"), TestHeader(kText, FourCC("bann"), "banner"), "loose");
    WriteLooseTag(Game("local/text/river"), TestHeader(kText, FourCC("rivr"), "river"), "loose river");
    recorder.events.clear();
    codex.RefreshLocalFolder(true);
    EXPECT_EQ("loose", ReadTagData(codex, bannerRecord));
    EXPECT_EQ("local folder", codex.TagLocationName(bannerRecord));
    EXPECT_EQ("loose river", ReadTagData(codex, codex.FindTag(kText, FourCC("rivr"))));
    // river: an inactive archive has it, so it counts as added; banner changed.
    ASSERT_EQ(2u, recorder.events.size());
    EXPECT_EQ(kCodexTagChanged, recorder.events[0].code);
    EXPECT_EQ(kCodexTagAdded, recorder.events[1].code);
    EXPECT_EQ(2u, codex.LocalTags().size());
    EXPECT_EQ(2u, codex.TagsOfGroup(kText).size());

    // Loading the same path again returns the loaded archive.
    const size_t before = codex.ArchiveCount();
    EXPECT_EQ(codex.FindArchiveByName("a.dng"), codex.LoadArchive(Game("plugins/a.dng")));
    EXPECT_EQ(before, codex.ArchiveCount());
    codex.RemoveListener(EventRecorder::Callback, &recorder);
}

TEST_F(CodexTest, AttachmentsKeepRecordsAndRefuseUnloads) {
    ASSERT_TRUE(WriteTestArchive(Game("tags/base.dng"), 3, 0, {{kText, FourCC("note"), "note", "n"},
                                                               {kText, FourCC("othr"), "other", "o"}}));
    codex.Init(dir.Path());
    TagRecord* note = codex.FindTag(kText, FourCC("note"));
    ASSERT_TRUE(note);
    int a = 0, b = 0;
    EXPECT_EQ(1, codex.AttachToTag(note, kAttachTagResource, &a));
    EXPECT_EQ(2, codex.AttachToTag(note, kAttachTagResource, &a));
    EXPECT_EQ(1, codex.AttachToTag(note, kAttachTagResource + 1, &b));
    EXPECT_EQ(3, codex.AttachToTag(note, kAttachTagResource, nullptr));  // none matches any object
    EXPECT_EQ(&a, codex.FindAttachment(note, kAttachTagResource));
    EXPECT_EQ(nullptr, codex.FindAttachment(note, kAttachTagInfo));
    EXPECT_EQ(2, codex.CountOpenTags());

    EventRecorder recorder;
    codex.AddListener(EventRecorder::Callback, &recorder);
    Archive* base = codex.FindArchiveByName("base.dng");
    EXPECT_FALSE(codex.UnloadArchive(base));
    EXPECT_EQ(std::vector<int>{kCodexArchiveRemoving}, recorder.Codes());
    EXPECT_FALSE(codex.Close());
    EXPECT_EQ(1u, codex.ArchiveCount());

    EXPECT_EQ(2, codex.DetachFromTag(note, kAttachTagResource, &a));
    EXPECT_EQ(0, codex.DetachFromTag(note, kAttachTagResource + 1, &b));
    EXPECT_EQ(1, codex.DetachFromTag(note, kAttachTagResource, &a));
    EXPECT_EQ(0, codex.DetachFromTag(note, kAttachTagResource, &a));
    EXPECT_EQ(0, codex.CountOpenTags());
    EXPECT_TRUE(codex.UnloadArchive(base));
    EXPECT_EQ(0u, codex.ArchiveCount());
    EXPECT_EQ(0u, codex.RecordCount());

    // A record with no entries lives while it is open and goes with its last detach.
    TagRecord* empty = codex.FindOrCreateTagRecord(kUnit, FourCC("none"));
    codex.AttachToTag(empty, kAttachTagInfo, &a);
    EXPECT_EQ(nullptr, codex.FindTag(kUnit, FourCC("none")));
    EXPECT_EQ(0, codex.CountOpenTags());  // no current entry, not counted
    EXPECT_EQ(1u, codex.RecordCount());
    codex.DetachFromTag(empty, kAttachTagInfo, &a);
    EXPECT_EQ(0u, codex.RecordCount());
    EXPECT_TRUE(codex.Close());
    codex.RemoveListener(EventRecorder::Callback, &recorder);
}

TEST_F(CodexTest, OpenLooseTagsRefuseClosingTheLocalFolder) {
    WriteLooseTag(Game("local/units/knight"), TestHeader(kUnit, FourCC("knig"), "knight"), "k");
    codex.Init(dir.Path());
    TagRecord* knight = codex.FindTag(kUnit, FourCC("knig"));
    ASSERT_TRUE(knight);
    int user = 0;
    codex.AttachToTag(knight, kAttachTagResource, &user);
    EXPECT_FALSE(codex.SetLocalFolder(Game("elsewhere")));
    EXPECT_EQ(Game("local/"), codex.LocalFolder());
    EXPECT_FALSE(codex.Close());
    EXPECT_TRUE(codex.FindTag(kUnit, FourCC("knig")));
    codex.DetachFromTag(knight, kAttachTagResource, &user);
    EXPECT_TRUE(codex.Close());
    EXPECT_EQ(nullptr, codex.FindTag(kUnit, FourCC("knig")));
}

TEST_F(CodexTest, ListedLooseTagsAlwaysOpen) {
    // An old-version loose file: its size field sits at offset 52.
    WriteOldLooseTag(Game("local/text/ancient"), kText, FourCC("anci"), "ancient", 7, "old");
    // A file whose name differs from the name in its header.
    WriteLooseTag(Game("local/text/on disk"), TestHeader(kText, FourCC("diff"), "in header"), "differs");
    // A header whose size field is wrong: listed with the real size.
    TagHeader wrong = TestHeader(kText, FourCC("wron"), "wrong");
    WriteLooseTag(Game("local/text/wrong"), wrong, "12345");
    {
        const UniqueFile w = OpenFile(Game("local/text/wrong"), "r+b");
        ASSERT_TRUE(w);
        std::fseek(w.get(), 51, SEEK_SET);
        std::fputc(99, w.get());
    }
    codex.Init(dir.Path());
    TagRecord* ancient = codex.FindTag(kText, FourCC("anci"));
    ASSERT_TRUE(ancient);
    EXPECT_EQ(7, codex.CurrentEntry(ancient)->header.version);
    EXPECT_EQ("old", ReadTagData(codex, ancient));
    EXPECT_EQ("differs", ReadTagData(codex, codex.FindTag(kText, FourCC("diff"))));
    EXPECT_EQ("12345", ReadTagData(codex, codex.FindTag(kText, FourCC("wron"))));
    EXPECT_EQ("", CodexLog());

    // A listed file that disappears behind the Codex's back reports on opening.
    TagRecord* diff = codex.FindTag(kText, FourCC("diff"));
    std::remove(Game("local/text/on disk").c_str());
    EXPECT_FALSE(codex.OpenTagData(diff));
    EXPECT_EQ("couldn't open local file '" + Game("local/text/on disk") + "' for reading: No such file or directory\n", CodexLog());
}

TEST_F(CodexTest, MissingFoldersGiveAnEmptyCodexQuietly) {
    codex.Init(dir.Path());
    EXPECT_EQ(0u, codex.ArchiveCount());
    EXPECT_EQ(0u, codex.RecordCount());
    EXPECT_EQ("", CodexLog());
    // Non-archives and the desktop's files are skipped silently.
    ASSERT_TRUE(MakeFolders(Game("tags")));
    std::ofstream(Game("tags/readme.txt")) << "not an archive";
    ASSERT_TRUE(WriteTestArchive(Game("tags/Thumbs.db"), 3, 0, {{kText, FourCC("note"), "note", "n"}}));
    codex.Init(dir.Path());
    EXPECT_EQ(0u, codex.ArchiveCount());
    EXPECT_EQ("", CodexLog());
    EXPECT_EQ("a/b_c/", NormaliseFolderPath("a\\b*c"));
    EXPECT_EQ("x/", NormaliseFolderPath("x/"));
}

TEST_F(CodexTest, ReloadingArchivesKeepsThoseInUseAndFindsNewOnes) {
    ASSERT_TRUE(WriteTestArchive(Game("tags/base.dng"), 3, 0, {{kText, FourCC("note"), "note", "n"}}));
    ASSERT_TRUE(WriteTestArchive(Game("plugins/old.dng"), 6, 1, {{kText, FourCC("oldt"), "old", "o"}}));
    codex.Init(dir.Path());
    TagRecord* note = codex.FindTag(kText, FourCC("note"));
    ASSERT_TRUE(note);
    int user = 0;
    codex.AttachToTag(note, kAttachTagResource, &user);
    Archive* base = codex.FindArchiveByName("base.dng");

    ASSERT_TRUE(WriteTestArchive(Game("plugins/new.dng"), 6, 2, {{kText, FourCC("newt"), "new", "w"}}));
    codex.ReloadArchives();
    EXPECT_EQ(base, codex.FindArchiveByName("base.dng"));  // in use: kept, not read twice
    EXPECT_EQ(3u, codex.ArchiveCount());
    EXPECT_TRUE(codex.FindTag(kText, FourCC("newt")));
    EXPECT_TRUE(codex.FindTag(kText, FourCC("oldt")));
    codex.DetachFromTag(note, kAttachTagResource, &user);
    EXPECT_TRUE(codex.Close());
}
