#include "TagTestSupport.h"

#include "base/Preferences.h"
#include "tags/WorkingSet.h"

using namespace tamber::base;
using namespace tamber::tags;

TEST(DemoGame, GeneratesEveryStorageCaseDeterministically) {
    ScratchFolder dir;
    const std::string game = dir / "game";
    DemoOptions options;
    options.extraArchives = 3;
    options.extraTags = 200;
    options.extraLoose = 60;
    ASSERT_TRUE(GenerateDemoGame(game, options));
    const std::string first = ReadFileText(game + "/tags/foundation.dng");
    const std::string scale = ReadFileText(game + "/plugins/scale-0002.dng");
    ASSERT_TRUE(GenerateDemoGame(game, options));  // replaces it
    EXPECT_EQ(first, ReadFileText(game + "/tags/foundation.dng"));
    EXPECT_EQ(scale, ReadFileText(game + "/plugins/scale-0002.dng"));
    EXPECT_FALSE(std::filesystem::exists(game + ".building"));

    MessageLog::Instance().Clear();
    Codex codex;
    codex.Init(game);
    EXPECT_EQ(11u, codex.ArchiveCount());
    for (int i = 0; i < kTagGroupCount; ++i) EXPECT_FALSE(codex.TagsOfGroup(TagGroupAt(i).code).empty()) << i;
    EXPECT_LE(2u, codex.FindArchiveByName("foundation.dng")->meshRecords.size());
    EXPECT_EQ(kOldTagSignature, codex.FindArchiveByName("legacy.dng")->header.signature);
    // river song: two type-6 add-ons of equal priority; the later name wins.
    EXPECT_EQ("charlie.dng", codex.TagLocationName(codex.FindTag(FourCC("text"), TagIdFromName("river song"))));
    EXPECT_EQ("local folder", codex.TagLocationName(codex.FindTag(FourCC("text"), TagIdFromName("shared banner"))));
    EXPECT_NE(std::string::npos, CodexLog().find("'stray mesh', a 'Mesh' file, was found in the 'collections' folder."));
    EXPECT_NE(std::string::npos, CodexLog().find("duplicate tagids detected"));
    EXPECT_EQ("header name", codex.CurrentEntry(codex.FindTag(FourCC("unit"), TagIdFromName("header name")))->header.Name());
    EXPECT_NE("<none>", ReadTagData(codex, codex.FindTag(FourCC("unit"), TagIdFromName("header name"))));
    EXPECT_NE("<none>", ReadTagData(codex, codex.FindTag(FourCC("scri"), TagIdFromName("old loose script"))));
    EXPECT_LE(7u + 60u - 2u, codex.LocalTags().size());  // less the misplaced and the duplicate

    // Folders the generator did not make are never replaced or removed: the target,
    // and the siblings it builds in and retires to.
    for (const std::string name : {"mine", "game.building", "game.retired"}) {
        ASSERT_TRUE(MakeFolders(dir / name));
        ASSERT_TRUE(OpenFile(dir / (name + "/precious"), "w"));
        const std::string target = name == "mine" ? "mine" : "game";
        const Status made = GenerateDemoGame(dir / target, options);
        EXPECT_EQ("'" + (dir / name) + "' exists and was not made by tamber-demo", made.error());
        EXPECT_TRUE(std::filesystem::exists(dir / (name + "/precious")));
        std::filesystem::remove_all(dir / name);
    }
    // Its own leftovers (the marker inside) are cleared.
    ASSERT_TRUE(MakeFolders(dir / "game.building"));
    ASSERT_TRUE(OpenFile(dir / "game.building/.tamber-demo", "w"));
    EXPECT_TRUE(GenerateDemoGame(dir / "game", options));
    EXPECT_FALSE(std::filesystem::exists(dir / "game.building"));
}

TEST(DemoGame, ProcessCodexFollowsTheGameFolderPreference) {
    ScratchFolder dir;
    ASSERT_TRUE(GenerateDemoGame(dir / "game", DemoOptions{}));
    std::string previous;
    const bool hadPrevious = GetPrefString("VeskPath", previous);
    SetPrefString("VeskPath", dir / "game");
    InitCodex();
    EXPECT_EQ(NormaliseFolderPath(dir / "game"), Codex::Instance().GameFolder());
    EXPECT_EQ(Codex::Instance().LocalFolder(), NormaliseFolderPath(dir / "game/local"));
    EXPECT_LE(8u, Codex::Instance().ArchiveCount());
    EXPECT_TRUE(CloseCodex());
    EXPECT_EQ(0u, Codex::Instance().ArchiveCount());
    EXPECT_EQ(0u, Codex::Instance().RecordCount());
    if (hadPrevious) SetPrefString("VeskPath", previous);
    else Preferences::Instance().Remove("VeskPath");
}
