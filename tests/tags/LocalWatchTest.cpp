#include "TagTestSupport.h"

#include <thread>

namespace {

const uint32_t kText = FourCC("text");
const uint32_t kMesh = FourCC("mesh");

class LocalWatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        MessageLog::Instance().Clear();
        ASSERT_TRUE(WriteTestArchive(dir / "tags/base.dng", 3, 0, {{kText, FourCC("arch"), "archived", "archive copy"}}));
        ASSERT_TRUE(MakeFolders(dir / "local/text"));
        codex.Init(dir.Path());
        codex.AddListener(EventRecorder::Callback, &recorder);
    }
    void TearDown() override { codex.RemoveListener(EventRecorder::Callback, &recorder); }
    std::string Text(const std::string& name) const { return dir / ("local/text/" + name); }
    // Lets the clock move past the file system's time resolution.
    static void Tick() { std::this_thread::sleep_for(std::chrono::milliseconds(15)); }

    ScratchFolder dir;
    Codex codex;
    EventRecorder recorder;
};

}  // namespace

TEST_F(LocalWatchTest, AddChangeAndRemoveFollowTheFolder) {
    // Added: the change notification alone triggers the scan.
    WriteLooseTag(Text("fresh"), TestHeader(kText, FourCC("fres"), "fresh"), "one");
    codex.RefreshLocalFolder(false);
    TagRecord* fresh = codex.FindTag(kText, FourCC("fres"));
    ASSERT_TRUE(fresh);
    EXPECT_EQ(std::vector<int>{kCodexTagAdded}, recorder.Codes());
    EXPECT_EQ(fresh, recorder.events[0].record);
    EXPECT_EQ("one", ReadTagData(codex, fresh));

    // Nothing changed: no events.
    recorder.events.clear();
    codex.RefreshLocalFolder(false);
    codex.RefreshLocalFolder(true);
    EXPECT_TRUE(recorder.events.empty());

    // Changed, same tagid: the header copy follows, event 2.
    Tick();
    WriteLooseTag(Text("fresh"), TestHeader(kText, FourCC("fres"), "fresh"), "longer data");
    codex.RefreshLocalFolder(false);
    EXPECT_EQ(std::vector<int>{kCodexTagChanged}, recorder.Codes());
    EXPECT_EQ(11u, codex.CurrentEntry(fresh)->header.size);
    EXPECT_EQ("longer data", ReadTagData(codex, fresh));

    // Changed to a new tagid: removed under the old one, added under the new one.
    recorder.events.clear();
    Tick();
    WriteLooseTag(Text("fresh"), TestHeader(kText, FourCC("newt"), "fresh"), "renumbered");
    codex.RefreshLocalFolder(false);
    EXPECT_EQ((std::vector<int>{kCodexTagRemoved, kCodexTagAdded}), recorder.Codes());
    EXPECT_EQ(nullptr, codex.FindTag(kText, FourCC("fres")));
    EXPECT_EQ("renumbered", ReadTagData(codex, codex.FindTag(kText, FourCC("newt"))));

    // A loose copy of an archived tag: added and removed as changes (event 2).
    recorder.events.clear();
    WriteLooseTag(Text("override"), TestHeader(kText, FourCC("arch"), "override"), "loose copy");
    codex.RefreshLocalFolder(false);
    TagRecord* arch = codex.FindTag(kText, FourCC("arch"));
    EXPECT_EQ("loose copy", ReadTagData(codex, arch));
    std::remove(Text("override").c_str());
    codex.RefreshLocalFolder(false);
    EXPECT_EQ((std::vector<int>{kCodexTagChanged, kCodexTagChanged}), recorder.Codes());
    EXPECT_EQ("archive copy", ReadTagData(codex, arch));

    // An open tag keeps its loose entry when the file goes.
    TagRecord* renumbered = codex.FindTag(kText, FourCC("newt"));
    int editor = 0;
    codex.AttachToTag(renumbered, kAttachTagResource, &editor);
    const std::string kept = ReadFileText(Text("fresh"));
    std::remove(Text("fresh").c_str());
    codex.RefreshLocalFolder(false);
    EXPECT_EQ(renumbered, codex.FindTag(kText, FourCC("newt")));
    EXPECT_EQ("<none>", ReadTagData(codex, renumbered));
    codex.DetachFromTag(renumbered, kAttachTagResource, &editor);
    std::ofstream(Text("fresh"), std::ios::binary) << kept;
    codex.RefreshLocalFolder(false);
    EXPECT_EQ("renumbered", ReadTagData(codex, renumbered));

    // Removing the only copy: event 4, then the tag is gone.
    recorder.events.clear();
    std::remove(Text("fresh").c_str());
    codex.RefreshLocalFolder(false);
    EXPECT_EQ(std::vector<int>{kCodexTagRemoved}, recorder.Codes());
    EXPECT_EQ(nullptr, codex.FindTag(kText, FourCC("newt")));
    EXPECT_EQ(nullptr, codex.FindTagRecord(kText, FourCC("newt")));
}

TEST_F(LocalWatchTest, GroupFoldersThatAppearLaterAreWatched) {
    // Even the local folder itself may appear after the Codex started.
    std::filesystem::remove_all(dir / "local");
    codex.RefreshLocalFolder(true);
    recorder.events.clear();
    WriteLooseTag(dir / "local/sounds/chime", TestHeader(FourCC("soun"), FourCC("chim"), "chime"), "ding");
    codex.RefreshLocalFolder(false);
    ASSERT_TRUE(codex.FindTag(FourCC("soun"), FourCC("chim")));
    // The new folder is now watched itself.
    WriteLooseTag(dir / "local/sounds/bell", TestHeader(FourCC("soun"), FourCC("bell"), "bell"), "dong");
    codex.RefreshLocalFolder(false);
    EXPECT_TRUE(codex.FindTag(FourCC("soun"), FourCC("bell")));
    // Sub-folders and unfinished writes are not tags.
    ASSERT_TRUE(MakeFolders(dir / "local/sounds/nested"));
    WriteLooseTag(dir / "local/sounds/.bell.tmpAB12cd", TestHeader(FourCC("soun"), FourCC("tmpx"), "tmp"), "x");
    codex.RefreshLocalFolder(false);
    EXPECT_EQ(nullptr, codex.FindTag(FourCC("soun"), FourCC("tmpx")));
    // The whole folder going away removes its tags.
    std::filesystem::remove_all(dir / "local/sounds");
    codex.RefreshLocalFolder(false);
    EXPECT_EQ(nullptr, codex.FindTag(FourCC("soun"), FourCC("bell")));
    EXPECT_EQ(nullptr, codex.FindTag(FourCC("soun"), FourCC("chim")));
}

TEST_F(LocalWatchTest, DuplicateAndMisplacedFilesAreReported) {
    WriteLooseTag(Text("twin a"), TestHeader(kText, FourCC("twin"), "twin a"), "first");
    WriteLooseTag(Text("twin b"), TestHeader(kText, FourCC("twin"), "twin b"), "second");
    WriteLooseTag(dir / "local/collections/stray", TestHeader(kMesh, FourCC("stra"), "stray"), "mesh data");
    WriteLooseTag(dir / "local/collections/alien", TestHeader(FourCC("zzzz"), FourCC("alie"), "alien"), "?");
    codex.RefreshLocalFolder(false);

    TagRecord* twin = codex.FindTag(kText, FourCC("twin"));
    ASSERT_TRUE(twin);
    EXPECT_EQ("first", ReadTagData(codex, twin));
    EXPECT_EQ(nullptr, codex.FindTag(kMesh, FourCC("stra")));
    EXPECT_EQ(nullptr, codex.FindTag(FourCC("zzzz"), FourCC("alie")));
    const std::string expected = "'stray', a 'Mesh' file, was found in the 'collections' folder.\n"
                                 "duplicate tagids detected: in the '" + dir / "local/text/" + "' folder, '" +
                                 Text("twin a") + "' and '" + Text("twin b") + "' have the same tagids.\n";
    EXPECT_EQ(expected, CodexLog());

    // Removing the ignored duplicate leaves the listed file alone.
    std::remove(Text("twin b").c_str());
    codex.RefreshLocalFolder(false);
    EXPECT_EQ("first", ReadTagData(codex, codex.FindTag(kText, FourCC("twin"))));
    EXPECT_EQ(expected, CodexLog());
}
