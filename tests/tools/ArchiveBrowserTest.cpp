// The archive browser on a copy of the demo game folder: browsing the fixed rows
// and archives, activation and the stored working set, the context menus and tag
// operations with their boxes, hidden groups and dimmed rows, placement.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <set>

#include "demo/DemoGame.h"
#include "base/Preferences.h"
#include "tags/Codex.h"
#include "tags/FourCC.h"
#include "tags/TagGroups.h"
#include "tags/TagOperations.h"
#include "tests/ui/support/UiTestDriver.h"
#include "tools/ArchiveBrowser.h"
#include "tools/TagRowRules.h"
#include "ui/WindowSystem.h"
#include "ui/widgets/MessageBoxWindow.h"
#include "ui/widgets/TextBox.h"

using namespace tamber::demo;
using namespace tamber::base;
using namespace tamber::tags;
using namespace tamber::tools;
using namespace tamber::ui;
using namespace tamber::ui::widgets;

namespace fs = std::filesystem;
using ListItem = ListWindow::ListItem;

namespace {

constexpr uint32_t kText = FourCC("text");
constexpr uint32_t kUnit = FourCC("unit");
constexpr uint32_t kMesh = FourCC("mesh");
constexpr uint32_t kCollection = FourCC(".256");
constexpr uint32_t kDetailMap = FourCC("dmap");
// A group left without an editor, so its tags count as hidden.
constexpr uint32_t kHidden = FourCC("scen");

std::vector<TagRecord*> gOpened;
void RecordOpen(TagRecord* record) { gOpened.push_back(record); }

// Stands in for the information window: a window kept in the record's `info` attachment.
std::vector<TagRecord*> gInfoShown;
Window* ShowFakeInfo(TagRecord* record) {
    gInfoShown.push_back(record);
    auto* window = new Window(kStyleDocument, nullptr);
    window->SetFrameXYWH(0, 660, 120, 80);  // clear of the browser
    Codex::Instance().AttachToTag(record, kAttachTagInfo, window);
    return window;
}

std::string gChosenFolder;
bool ChooseFolder(const char* title, std::string& folder) {
    EXPECT_STREQ(title, "Choose Destination Folder");
    folder = gChosenFolder;
    return true;
}

class ArchiveBrowserTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        char pattern[] = "/tmp/tamber-browser-XXXXXX";
        root_ = ::mkdtemp(pattern);
        ASSERT_TRUE(GenerateDemoGame(root_ + "/demo", DemoOptions{}));
    }
    static void TearDownTestSuite() {
        std::error_code ec;
        fs::remove_all(root_, ec);
    }
    void SetUp() override {
        game_ = root_ + "/game-" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(game_);
        fs::copy(root_ + "/demo", game_, fs::copy_options::recursive);
        Preferences::Instance().Clear();
        Preferences::Instance().SetPath(root_ + "/prefs.txt");
        for (int i = 0; i < kTagGroupCount; ++i) {
            const uint32_t code = TagGroupAt(i).code;
            SetTagGroupEditor(code, code == kHidden || code == kDetailMap ? nullptr : &RecordOpen);
        }
        gOpened.clear();
        ArchiveBrowser::InstallCodexHooks();
    }
    void TearDown() override { fs::remove_all(game_); }

    // Rebuilds the Codex from the game copy; the hooks recreate the browser.
    ArchiveBrowser* Start() {
        Codex::Instance().Init(game_);
        return ArchiveBrowser::Get();
    }

    // Runs a script with the browser of a fresh Codex on the game copy.
    void Drive(bool pixels, const std::function<void(UiTestDriver&, ArchiveBrowser*)>& script) {
        UiTestDriver ui({.pixels = pixels});
        ASSERT_TRUE(ui.Ready()) << ui.Error();
        ui.Run([&](UiTestDriver& ui) {
            ArchiveBrowser* browser = Start();
            ASSERT_NE(browser, nullptr);
            ui.step();
            script(ui, browser);
        });
    }

    static std::string root_;
    std::string game_;
};
std::string ArchiveBrowserTest::root_;

std::vector<std::string> Labels(const ListWindow* list) {
    std::vector<std::string> labels;
    for (ListItem* item = list->FirstItem(); item; item = item->next) labels.push_back(item->label);
    return labels;
}

ListItem* Row(const ListWindow* list, const std::string& label) {
    for (ListItem* item = list->FirstItem(); item; item = item->next) {
        if (item->label == label) return item;
    }
    return nullptr;
}

TagRecord* Tag(uint32_t group, const char* name) {
    for (TagRecord* record : Codex::Instance().TagsOfGroup(group)) {
        if (Codex::Instance().CurrentEntry(record)->header.Name() == name) return record;
    }
    return nullptr;
}

int TagRowCount(const ListWindow* tree) {
    int count = 0;
    for (ListItem* group = tree->FirstItem(); group; group = group->next) count += group->childCount;
    return count;
}

std::vector<std::string> StoredWorkingSet() {
    std::vector<std::string> names;
    GetPrefStringList("CodexWorkingSet", names);
    return names;
}

// The centre of a list row that is scrolled into view.
Point RowPoint(ListWindow* list, ListItem* item) {
    list->ScrollToItem(item);
    const Rect client = list->Client();
    const int y = client.top + list->HeaderHeight() + (list->RowOf(item) - list->Position(ScrollableWindow::kVertical)) *
                                                        list->RowHeight();
    return {client.left + 40, y + list->RowHeight() / 2};
}

void SelectTags(ArchiveBrowser* browser, const std::vector<TagRecord*>& records) {
    ListWindow* tree = browser->TagTree();
    tree->DeselectAll();
    for (TagRecord* record : records) {
        ListItem* row = browser->RowOf(record);
        ASSERT_NE(row, nullptr);
        tree->SelectListItem(row, true);
    }
    WS().SetFocus(tree, 0);
}

}  // namespace

TEST(TagRowRules, CollectionFlagsAndLargeCollections) {
    SetTagGroupEditor(kCollection, &RecordOpen);
    TagHeader header{};
    header.group = kCollection;
    EXPECT_FALSE(CanOpenTag(header, kUnreadableCollectionBit));
    EXPECT_TRUE(CanOpenTag(header, 0x200));
    header.size = kLargeCollectionSize - 1;
    EXPECT_FALSE(NeedsUserProbe(header));
    header.size = kLargeCollectionSize;
    EXPECT_TRUE(NeedsUserProbe(header));
    header.user = 1;  // only a zero user value is looked up in the data
    EXPECT_FALSE(NeedsUserProbe(header));
}

TEST_F(ArchiveBrowserTest, BrowsingListsAndUnions) {
    Drive(false, [this](UiTestDriver& ui, ArchiveBrowser* browser) {
        EXPECT_TRUE(browser->IsVisible());
        EXPECT_EQ(ui.find("Archive Browser/Tag Tree"), browser->TagTree());
        // The default set: types 2, 3 and 6, listed by file name after the fixed rows.
        EXPECT_EQ(Labels(browser->ActiveList()),
                  (std::vector<std::string>{"local", "foundation", "combined", "bravo.dng", "charlie.dng",
                                            "foundation.dng", "foxtrot.dng"}));
        EXPECT_EQ(Labels(browser->InactiveList()),
                  (std::vector<std::string>{"alpha.dng", "delta.dng", "echo.dng", "legacy.dng"}));
        EXPECT_EQ(StoredWorkingSet().size(), 4u);
        ASSERT_EQ(browser->ActiveList()->Selection().size(), 1u);
        EXPECT_EQ(browser->ActiveList()->Selection()[0]->label, "combined");

        // "combined": every current tag of a listed group, once, under "%s (%d)" group rows.
        Codex& codex = Codex::Instance();
        int listed = 0;
        for (TagRecord* record : codex.AllCurrentTags()) listed += IsTagListed(record->group, false);
        ListWindow* tree = browser->TagTree();
        EXPECT_EQ(TagRowCount(tree), listed);
        EXPECT_EQ(browser->GroupRow(kHidden), nullptr);
        ListItem* texts = browser->GroupRow(kText);
        ASSERT_NE(texts, nullptr);
        EXPECT_EQ(texts->label, TagGroupName(kText) + " (" + std::to_string(texts->childCount) + ")");
        ASSERT_NE(browser->GroupRow(kDetailMap), nullptr);
        EXPECT_TRUE(browser->GroupRow(kDetailMap)->Dimmed());  // no editor: half brightness
        EXPECT_FALSE(browser->GroupRow(kUnit)->Dimmed());

        // Cells show the current entry; loose copies are orange.
        TagRecord* banner = Tag(kText, "shared banner");
        ASSERT_NE(banner, nullptr);
        ListItem* bannerRow = browser->RowOf(banner);
        ASSERT_NE(bannerRow, nullptr);
        EXPECT_EQ(tree->CellText(bannerRow, kColumnLocation), "local folder");
        EXPECT_EQ(tree->CellText(bannerRow, kColumnGroup), "text");
        EXPECT_EQ(tree->CellText(bannerRow, kColumnIdentifier), "65535");
        EXPECT_EQ((std::vector<int>{bannerRow->color[0], bannerRow->color[1], bannerRow->color[2]}),
                  (std::vector<int>{255, 144, 0}));
        TagRecord* bravo = Tag(kUnit, "bravo unit");
        ASSERT_NE(bravo, nullptr);
        EXPECT_EQ(tree->CellText(browser->RowOf(bravo), kColumnLocation), "bravo.dng");
        EXPECT_EQ(browser->RowOf(bravo)->color[1], 255);

        // "local" alone, then "local" with an archive: the union, each tag once.
        browser->SelectArchiveRows({"local"});
        std::set<TagRecord*> expected;
        for (TagRecord* record : codex.LocalTags()) {
            if (IsTagListed(record->group, false)) expected.insert(record);
        }
        EXPECT_EQ(TagRowCount(tree), int(expected.size()));
        EXPECT_EQ(browser->RowOf(bravo), nullptr);
        EXPECT_NE(browser->RowOf(banner), nullptr);
        browser->SelectArchiveRows({"local", "bravo.dng"});
        for (TagRecord* record : codex.TagsOfArchive(codex.FindArchiveByName("bravo.dng"))) expected.insert(record);
        EXPECT_EQ(TagRowCount(tree), int(expected.size()));  // the banner is in both, listed once
        EXPECT_NE(browser->RowOf(bravo), nullptr);
        EXPECT_NE(browser->RowOf(banner), nullptr);

        // "foundation": tags with a rank-0 entry; an archive row through a real click.
        browser->SelectArchiveRows({"foundation"});
        EXPECT_EQ(browser->RowOf(bravo), nullptr);
        EXPECT_NE(browser->RowOf(Tag(kUnit, "sword")), nullptr);
        browser->SelectArchiveRows({"combined"});
        std::vector<uint32_t> groups;
        for (ListItem* group = tree->FirstItem(); group; group = group->next) {
            groups.push_back(uint32_t(group->id));
            if (groups.size() % 2) tree->ExpandItem(group);
        }
        ui.click(RowPoint(browser->ActiveList(), Row(browser->ActiveList(), "charlie.dng")));
        EXPECT_EQ(TagRowCount(tree), 2);
        EXPECT_NE(browser->RowOf(Tag(kUnit, "charlie unit")), nullptr);
        // Group rows that went with the archive selection come back as they were left.
        int gone = 0;
        for (uint32_t group : groups) gone += browser->GroupRow(group) == nullptr;
        EXPECT_GT(gone, 0);
        browser->SelectArchiveRows({"combined"});
        for (size_t i = 0; i < groups.size(); ++i) {
            ASSERT_NE(browser->GroupRow(groups[i]), nullptr);
            EXPECT_EQ(browser->GroupRow(groups[i])->Expanded(), i % 2 == 0) << i;
        }
    });
}

TEST_F(ArchiveBrowserTest, ActivationMovesRowsAndStoresTheWorkingSet) {
    Drive(true, [this](UiTestDriver& ui, ArchiveBrowser* browser) {
        Codex& codex = Codex::Instance();
        ListWindow* inactive = browser->InactiveList();
        EXPECT_EQ(Tag(kUnit, "delta unit"), nullptr);  // only in inactive add-ons

        // Activate echo through the inactive list's context menu.
        ui.click(RowPoint(inactive, Row(inactive, "echo.dng")));
        ui.click(RowPoint(inactive, Row(inactive, "echo.dng")), 1);
        ASSERT_NE(ui.find("Popup Menu/Activate Selection"), nullptr);
        ui.click("Popup Menu/Activate Selection");
        ui.step(3);
        EXPECT_NE(Row(browser->ActiveList(), "echo.dng"), nullptr);
        EXPECT_EQ(Row(inactive, "echo.dng"), nullptr);
        TagRecord* unit = Tag(kUnit, "delta unit");
        ASSERT_NE(unit, nullptr);
        EXPECT_EQ(codex.TagLocationName(unit), "echo.dng");
        EXPECT_NE(browser->RowOf(unit), nullptr);  // "combined" shows it now
        std::vector<std::string> stored = StoredWorkingSet();
        EXPECT_NE(std::find(stored.begin(), stored.end(), "echo.dng"), stored.end());

        // Delta too: the two type-7 add-ons are renumbered in load order, echo still wins.
        inactive->SelectListItem(Row(inactive, "delta.dng"), false);
        browser->RunCommand(ArchiveBrowser::kCommandMoveSelection, inactive);
        EXPECT_EQ(codex.TagLocationName(unit), "echo.dng");
        // Deactivating echo makes delta's copy current; the fixed rows never move.
        ListWindow* active = browser->ActiveList();
        active->SelectListItem(Row(active, "echo.dng"), false);
        active->SelectListItem(Row(active, "local"), true);
        EXPECT_TRUE(browser->CommandEnabled(ArchiveBrowser::kCommandMoveSelection, active));
        browser->RunCommand(ArchiveBrowser::kCommandMoveSelection, active);
        EXPECT_EQ(codex.TagLocationName(unit), "delta.dng");
        EXPECT_NE(Row(active, "local"), nullptr);
        EXPECT_NE(Row(inactive, "echo.dng"), nullptr);
        stored = StoredWorkingSet();
        EXPECT_EQ(std::find(stored.begin(), stored.end(), "echo.dng"), stored.end());
        EXPECT_NE(std::find(stored.begin(), stored.end(), "delta.dng"), stored.end());

        // The working set survives a restart of the Codex.
        const std::vector<std::string> before = Labels(active);
        browser = Start();
        ASSERT_NE(browser, nullptr);
        EXPECT_EQ(Labels(browser->ActiveList()), before);
        EXPECT_EQ(StoredWorkingSet(), stored);
        // Without a stored set the default comes back, through the menu item as well.
        browser->RunCommand(ArchiveBrowser::kCommandDefaultSet, browser->ActiveList());
        EXPECT_EQ(Row(browser->ActiveList(), "delta.dng"), nullptr);
        EXPECT_EQ(StoredWorkingSet().size(), 4u);

        // Added archives join the active set and are stored.
        const std::string extra = game_ + "/zulu.dng";
        fs::copy_file(game_ + "/plugins/alpha.dng", extra);
        browser->AddArchives({extra, game_ + "/no such file"});
        EXPECT_NE(Row(browser->ActiveList(), "zulu.dng"), nullptr);
        stored = StoredWorkingSet();
        EXPECT_NE(std::find(stored.begin(), stored.end(), "zulu.dng"), stored.end());
    });
}

TEST_F(ArchiveBrowserTest, TagOperationsThroughMenusAndKeys) {
    Drive(true, [this](UiTestDriver& ui, ArchiveBrowser* browser) {
        Codex& codex = Codex::Instance();
        ListWindow* tree = browser->TagTree();

        // Copy to local through the tag tree's context menu: the row turns orange.
        TagRecord* sword = Tag(kUnit, "sword");
        ASSERT_NE(sword, nullptr);
        tree->ExpandItem(browser->GroupRow(kUnit));
        ui.click(RowPoint(tree, browser->RowOf(sword)));
        ui.click(RowPoint(tree, browser->RowOf(sword)), 1);
        ASSERT_NE(ui.find("Popup Menu/Copy To Local (cmd-K)"), nullptr);
        ui.click("Popup Menu/Copy To Local (cmd-K)");
        ui.step(3);

        ASSERT_NE(sword->localEntry, nullptr);
        EXPECT_TRUE(fs::exists(*sword->localEntry->path));
        EXPECT_EQ(browser->RowOf(sword)->color[1], 144);
        EXPECT_EQ(tree->CellText(browser->RowOf(sword), kColumnLocation), "local folder");

        // Duplicate one: the name is asked for, "%s copy" proposed.
        SelectTags(browser, {sword});
        ui.key('D', kModCtrl);
        Window* ask = ui.find("Enter Name for Duplicate Tag");
        ASSERT_NE(ask, nullptr);
        ui.click("Enter Name for Duplicate Tag/OK");
        ui.step(3);
        TagRecord* copy = Tag(kUnit, "sword copy");
        ASSERT_NE(copy, nullptr);
        EXPECT_NE(browser->RowOf(copy), nullptr);
        // Duplicate several: no question, default names.
        TagRecord* bravo = Tag(kUnit, "bravo unit");
        SelectTags(browser, {sword, bravo});
        ui.key('D', kModCtrl);
        EXPECT_EQ(ui.find("Enter Name for Duplicate Tag"), nullptr);
        TagRecord* copy1 = Tag(kUnit, "sword copy 1");
        TagRecord* bravoCopy = Tag(kUnit, "bravo unit copy");
        ASSERT_NE(copy1, nullptr);
        ASSERT_NE(bravoCopy, nullptr);
        EXPECT_NE(browser->RowOf(bravoCopy), nullptr);

        // Delete three loose tags, one of them open: two go, one box says why.
        const std::string copyPath = *copy->localEntry->path;
        const std::string copy1Path = *copy1->localEntry->path;
        int editor = 0;
        codex.AttachToTag(bravoCopy, kAttachTagResource, &editor);
        SelectTags(browser, {copy, copy1, bravoCopy, bravo});  // bravo has no loose copy: not counted
        ui.key(kKeyDelete);
        Window* confirm = ui.find("Confirm Deletion");
        ASSERT_NE(confirm, nullptr);
        EXPECT_EQ(static_cast<MessageBoxWindow*>(confirm)->TextField()->Text(), "Are you sure you want to delete 3 tags?");
        ui.click("Confirm Deletion/Delete");
        ui.step(3);
        Window* refused = ui.find("Can't delete tag.");
        ASSERT_NE(refused, nullptr);
        EXPECT_EQ(static_cast<MessageBoxWindow*>(refused)->TextField()->Text(),
                  "'bravo unit copy' is still being used by Tamber.");
        ui.click("Can't delete tag./OK");
        ui.step(3);
        EXPECT_EQ(ui.find("Can't delete tag."), nullptr);
        EXPECT_FALSE(fs::exists(copyPath));
        EXPECT_FALSE(fs::exists(copy1Path));
        EXPECT_EQ(Tag(kUnit, "sword copy"), nullptr);
        EXPECT_EQ(Tag(kUnit, "bravo unit copy"), bravoCopy);
        EXPECT_NE(browser->RowOf(bravoCopy), nullptr);
        EXPECT_EQ(TagRowCount(tree), [&] {
            int n = 0;
            for (TagRecord* r : codex.AllCurrentTags()) n += IsTagListed(r->group, false);
            return n;
        }());
        codex.DetachFromTag(bravoCopy, kAttachTagResource, &editor);
        // "Don't Delete" keeps the file.
        const std::string bravoCopyPath = *bravoCopy->localEntry->path;
        SelectTags(browser, {bravoCopy});
        ui.key(kKeyDelete);
        ui.click("Confirm Deletion/Don't Delete");
        ui.step(3);
        EXPECT_TRUE(fs::exists(bravoCopyPath));

        // Disassembling one archive unpacks it; with two selected the item is disabled.
        gChosenFolder = game_ + "/unpacked";
        ArchiveBrowser::SetFolderChooser(&ChooseFolder);
        ListWindow* active = browser->ActiveList();
        ui.click(RowPoint(active, Row(active, "bravo.dng")));
        ui.click(RowPoint(active, Row(active, "bravo.dng")), 1);
        ui.click("Popup Menu/Disassemble Archive");
        ui.step(3);
        EXPECT_TRUE(fs::exists(gChosenFolder + "/units"));
        active->SelectListItem(Row(active, "charlie.dng"), true);
        EXPECT_FALSE(browser->CommandEnabled(ArchiveBrowser::kCommandDisassemble, active));
        ArchiveBrowser::SetFolderChooser(nullptr);
    });
}

TEST_F(ArchiveBrowserTest, HiddenGroupsDimmedRowsAndOpening) {
    Drive(false, [this](UiTestDriver& ui, ArchiveBrowser* browser) {
        Codex& codex = Codex::Instance();

        // The version-10 mesh is dimmed and skipped by "Open"; its neighbour opens.
        TagRecord* old = Tag(kMesh, "demo old valley");
        TagRecord* valley = Tag(kMesh, "demo valley");
        ASSERT_NE(old, nullptr);
        ASSERT_NE(valley, nullptr);
        EXPECT_TRUE(browser->RowOf(old)->Dimmed());
        EXPECT_FALSE(browser->RowOf(valley)->Dimmed());
        SelectTags(browser, {old, valley});
        ui.key('O', kModCtrl);
        EXPECT_EQ(gOpened, std::vector<TagRecord*>{valley});
        ui.key(kKeyEnter);
        EXPECT_EQ(gOpened, (std::vector<TagRecord*>{valley, valley}));

        // A large collection keeps its flag word in its data: read once, shown as the user value.
        Result<NewTag> created = CreateTag(codex, kCollection, std::nullopt, "huge sprites", false);
        ASSERT_TRUE(created);
        TagRecord* huge = created->record;
        Result<FILE*> opened = BeginTagWrite(codex, huge, created->header);
        ASSERT_TRUE(opened);
        FILE* file = *opened;
        std::vector<uint8_t> data(kLargeCollectionSize, 0);
        data[6] = 1;  // big-endian 0x100 at byte 4
        ASSERT_EQ(std::fwrite(data.data(), 1, data.size(), file), data.size());
        ASSERT_TRUE(FinishTagWrite(codex, huge, nullptr, true));
        codex.RefreshLocalFolder(true);
        ListItem* hugeRow = browser->RowOf(huge);
        ASSERT_NE(hugeRow, nullptr);  // added by the Codex listener
        EXPECT_EQ(browser->TagTree()->CellText(hugeRow, kColumnUser), "0x100");
        EXPECT_EQ(hugeRow->color[1], 144);  // loose and dimmed
        EXPECT_TRUE(hugeRow->Dimmed());
        ui.step();                         // the deferred resort

        // Hidden groups: off hides the editor-less group, on lists it dimmed.
        TagRecord* scenery = Tag(kHidden, "foxtrot scenery");
        ASSERT_NE(scenery, nullptr);
        EXPECT_EQ(browser->RowOf(scenery), nullptr);
        WS().SetFocus(browser->TagTree(), 0);
        ui.key('T', kModCtrl);
        EXPECT_TRUE(browser->ShowsHiddenGroups());
        ASSERT_NE(browser->RowOf(scenery), nullptr);
        EXPECT_TRUE(browser->RowOf(scenery)->Dimmed());
        EXPECT_TRUE(browser->GroupRow(kHidden)->Dimmed());
        // A tag without an editor: "Open" is offered only beside one that opens, and trying
        // it says why nothing opens; the keys then work the tree again.
        SelectTags(browser, {scenery});
        EXPECT_FALSE(browser->CommandEnabled(ArchiveBrowser::kCommandOpen, nullptr));
        SelectTags(browser, {scenery, valley});
        EXPECT_TRUE(browser->CommandEnabled(ArchiveBrowser::kCommandOpen, nullptr));
        SelectTags(browser, {scenery});
        ui.key(kKeyEnter);
        Window* refusal = ui.find("Can't Open Tag");
        ASSERT_NE(refusal, nullptr);
        const std::string kind = FindTagGroup(kHidden)->singular;
        EXPECT_EQ(static_cast<MessageBoxWindow*>(refusal)->TextField()->Text(),
                  "'foxtrot scenery' is a " + kind + " tag. Tamber has no editor for " + kind + " tags.");
        ui.key(kKeyEnter);  // on its focused OK
        ui.step(3);
        EXPECT_EQ(ui.find("Can't Open Tag"), nullptr);
        EXPECT_EQ(WS().Focus(), browser->TagTree());
        EXPECT_EQ(gOpened.size(), 2u);
        ui.key('T', kModCtrl);
        EXPECT_EQ(browser->RowOf(scenery), nullptr);
        EXPECT_EQ(browser->GroupRow(kHidden), nullptr);
    });
}

TEST_F(ArchiveBrowserTest, PlacementAndLayout) {
    Drive(true, [this](UiTestDriver& ui, ArchiveBrowser* browser) {
        // No stored placement: 512 high, centred, and wide enough for the tag columns
        // as far as the desktop allows.
        Point minimum;
        browser->GetMinimumSize(minimum);
        EXPECT_GT(browser->Frame().Width(), minimum.x);
        EXPECT_TRUE(browser->TagTree()->MissingColumnsWidth() == 0 ||
                    browser->Frame().Width() == WS().Layer0()->Client().Width());
        EXPECT_EQ(browser->Frame().Height(), ArchiveBrowser::kDefaultHeight);
        EXPECT_NEAR(browser->Frame().left + browser->Frame().right, 1024, 1);
        ui.screenshot("archive-browser.ppm");

        browser->SetFrameXYWH(40, 30, 900, 600);
        browser->TagTree()->ExpandItem(browser->GroupRow(kMesh));
        browser->TagTree()->ExpandItem(browser->GroupRow(kUnit));
        ui.step();
        ui.screenshot("archive-browser-wide.ppm");
        const Rect frame = browser->Frame();
        // Closing hides and stores the placement; the rebuilt browser comes back there.
        EXPECT_FALSE(browser->CanClose(1));
        EXPECT_FALSE(browser->IsVisible());
        std::string stored;
        EXPECT_TRUE(GetPrefString("ArchiveBrowserPlacement", stored));
        browser = Start();
        ui.step();
        ASSERT_NE(browser, nullptr);
        EXPECT_TRUE(browser->IsVisible());
        EXPECT_EQ(browser->Frame().left, frame.left);
        EXPECT_EQ(browser->Frame().top, frame.top);
        EXPECT_EQ(browser->Frame().Width(), frame.Width());
        EXPECT_EQ(browser->Frame().Height(), frame.Height());
    });
}

TEST_F(ArchiveBrowserTest, GetInfoOpensOrRaisesInformationWindows) {
    ArchiveBrowser::SetInfoOpener(&ShowFakeInfo);
    gInfoShown.clear();
    Drive(false, [](UiTestDriver& ui, ArchiveBrowser* browser) {
        Codex& codex = Codex::Instance();
        ListWindow* tree = browser->TagTree();
        TagRecord* sword = Tag(kUnit, "sword");
        TagRecord* bravo = Tag(kUnit, "bravo unit");
        ASSERT_TRUE(sword && bravo);
        tree->DeselectAll();
        EXPECT_FALSE(browser->CommandEnabled(ArchiveBrowser::kCommandGetInfo, nullptr));

        // Command+I opens one window per selected tag.
        SelectTags(browser, {sword, bravo});
        ui.key('I', kModCtrl);
        EXPECT_EQ(std::set<TagRecord*>(gInfoShown.begin(), gInfoShown.end()), (std::set<TagRecord*>{sword, bravo}));
        EXPECT_EQ(gInfoShown.size(), 2u);
        auto* swordInfo = static_cast<Window*>(codex.FindAttachment(sword, kAttachTagInfo));
        ASSERT_NE(swordInfo, nullptr);

        // A tag whose window is open brings that window forward; nothing new opens.
        browser->BringToFront();
        tree->ExpandItem(browser->GroupRow(kUnit));
        ui.click(RowPoint(tree, browser->RowOf(sword)));
        ui.click(RowPoint(tree, browser->RowOf(sword)), 1);
        ASSERT_NE(ui.find("Popup Menu/Get Info (cmd-I)"), nullptr);
        ui.click("Popup Menu/Get Info (cmd-I)");
        ui.step();
        EXPECT_EQ(gInfoShown.size(), 2u);
        EXPECT_EQ(swordInfo->Parent()->FirstChild(), swordInfo);

        for (TagRecord* record : gInfoShown) {
            auto* window = static_cast<Window*>(codex.FindAttachment(record, kAttachTagInfo));
            codex.DetachFromTag(record, kAttachTagInfo, window);
            window->Close();
        }
        ui.step();
    });
    ArchiveBrowser::SetInfoOpener(nullptr);
}
