#include "TagTestSupport.h"

#include "base/Preferences.h"
#include "tags/WorkingSet.h"

using namespace tamber::base;
using namespace tamber::tags;

namespace {

const uint32_t kText = FourCC("text");

std::vector<std::string> Names(const std::vector<Archive*>& archives) {
    std::vector<std::string> names;
    for (Archive* a : archives) names.push_back(a->fileName);
    return names;
}

class WorkingSetTest : public ::testing::Test {
protected:
    void SetUp() override {
        Preferences::Instance().Remove("CodexWorkingSet");
        const TestTag shared{kText, FourCC("shar"), "shared", ""};
        auto tag = [&](const std::string& data) { return TestTag{shared.group, shared.tagid, shared.name, data}; };
        ASSERT_TRUE(WriteTestArchive(dir / "tags/base.dng", 3, 5, {tag("base")}));
        ASSERT_TRUE(WriteTestOldArchive(dir / "tags/old.dng", {tag("old")}));
        ASSERT_TRUE(WriteTestArchive(dir / "tags/patch.dng", 2, 9, {tag("patch")}));
        ASSERT_TRUE(WriteTestArchive(dir / "plugins/p5.dng", 5, 40, {tag("p5")}));
        ASSERT_TRUE(WriteTestArchive(dir / "plugins/p6.dng", 6, 7, {tag("p6")}));
        ASSERT_TRUE(WriteTestArchive(dir / "plugins/z7.dng", 7, 3, {tag("z7")}));
        ASSERT_TRUE(WriteTestArchive(dir / "plugins/a7.dng", 7, 60000, {tag("a7")}));
        codex.Init(dir.Path());
    }
    void TearDown() override { Preferences::Instance().Remove("CodexWorkingSet"); }
    Archive* A(const std::string& name) { return codex.FindArchiveByName(name); }
    std::string Current() { return ReadTagData(codex, codex.FindTag(kText, FourCC("shar"))); }

    ScratchFolder dir;
    Codex codex;
};

}  // namespace

TEST_F(WorkingSetTest, DefaultSetAndArchiveOrdering) {
    EXPECT_EQ((std::vector<std::string>{"base.dng", "p6.dng", "patch.dng"}), Names(ActiveArchives(codex)));
    EXPECT_EQ("p6", Current());
    // Inactive archives sort after the typed ones by name; the list follows the ordering.
    std::vector<std::string> order;
    for (size_t i = 0; i < codex.ArchiveCount(); ++i) order.push_back(codex.ArchiveAt(i)->fileName);
    EXPECT_EQ((std::vector<std::string>{"base.dng", "p6.dng", "patch.dng", "a7.dng", "old.dng", "p5.dng", "z7.dng"}),
              order);
    EXPECT_EQ(-3, ArchiveSortKey(*A("base.dng")));
    EXPECT_EQ(-1, ArchiveSortKey(*A("z7.dng")));
}

TEST_F(WorkingSetTest, RenumberedPrioritiesFollowLoadOrder) {
    // Load order is a7 then z7 (plugins listed by name): they get 0... but a7's
    // priority is 60000, above 32767, so it keeps it and z7 gets 0.
    SetActiveArchives(codex, {A("z7.dng"), A("a7.dng"), A("z7.dng"), A("p6.dng"), A("old.dng"), nullptr});
    EXPECT_EQ(60000, A("a7.dng")->header.priority);
    EXPECT_EQ(7, A("p6.dng")->header.priority);  // type 6 keeps its own
    EXPECT_EQ(0, A("old.dng")->header.priority);
    EXPECT_EQ(1, A("z7.dng")->header.priority);
    EXPECT_EQ("a7", Current());
    EXPECT_EQ((std::vector<std::string>{"p6.dng", "old.dng", "z7.dng", "a7.dng"}), Names(ActiveArchives(codex)));

    // Two renumbered add-ons: the later one in load order wins.
    SetActiveArchives(codex, {A("p5.dng"), A("z7.dng")});
    EXPECT_EQ(0, A("p5.dng")->header.priority);
    EXPECT_EQ(1, A("z7.dng")->header.priority);
    EXPECT_EQ("z7", Current());

    AddToWorkingSet(codex, {A("base.dng"), A("p5.dng")});
    EXPECT_EQ((std::vector<std::string>{"base.dng", "p5.dng", "z7.dng"}), Names(ActiveArchives(codex)));
}

TEST_F(WorkingSetTest, StoredNamesAreAppliedAndWritten) {
    LoadWorkingSet(codex);  // nothing stored: the default set, then stored
    std::vector<std::string> stored;
    ASSERT_TRUE(GetPrefStringList("CodexWorkingSet", stored));
    EXPECT_EQ((std::vector<std::string>{"base.dng", "p6.dng", "patch.dng"}), stored);

    SetPrefStringList("CodexWorkingSet", {"z7.dng", "gone.dng", "base.dng"});
    LoadWorkingSet(codex);
    EXPECT_EQ((std::vector<std::string>{"base.dng", "z7.dng"}), Names(ActiveArchives(codex)));
    ASSERT_TRUE(GetPrefStringList("CodexWorkingSet", stored));
    EXPECT_EQ((std::vector<std::string>{"base.dng", "z7.dng"}), stored);

    // Only names of archives that no longer exist: nothing is active.
    SetPrefStringList("CodexWorkingSet", {"gone.dng"});
    LoadWorkingSet(codex);
    EXPECT_TRUE(ActiveArchives(codex).empty());
    EXPECT_EQ(nullptr, codex.FindTag(kText, FourCC("shar")));
}
