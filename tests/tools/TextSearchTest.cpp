// Text search over a copy of the demo game folder: every copy of every text tag,
// letter case, hits past NUL bytes and across read chunks, files cut short under
// the search, the report, and the menu command's prompt, progress and log.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "demo/DemoGame.h"
#include "base/MessageLog.h"
#include "tags/Archive.h"
#include "tags/Codex.h"
#include "tags/TextSearch.h"
#include "tests/ui/support/UiTestDriver.h"
#include "tools/TextSearchCommand.h"
#include "ui/Window.h"

using namespace tamber::demo;
using namespace tamber::base;
using namespace tamber::tags;
using namespace tamber::tools;
using namespace tamber::ui;

namespace fs = std::filesystem;

namespace {

class TextSearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tamber-textsearch-XXXXXX";
        root_ = ::mkdtemp(pattern);
        ASSERT_TRUE(GenerateDemoGame(root_ + "/game", DemoOptions{}));
        codex_.Init(root_ + "/game");
    }
    void TearDown() override { fs::remove_all(root_); }

    // Writes a loose copy (same group and tagid) of a tag of legacy.dng holding `text`.
    std::string AddLooseCopy(const std::string& tagName, const std::string& text) {
        for (const TagEntry& entry : codex_.FindArchiveByName("legacy.dng")->entries) {
            if (entry.header.Name() != tagName) continue;
            TagHeader header = MakeLooseHeader(entry.header, entry.header.group, entry.header.tagid);
            header.size = uint32_t(text.size());
            const std::string path = codex_.LocalTagPath(entry.header.group, tagName);
            std::FILE* file = std::fopen(path.c_str(), "wb");
            EXPECT_TRUE(file && WriteTagHeader(header, file));
            std::fwrite(text.data(), 1, text.size(), file);
            std::fclose(file);
            codex_.RefreshLocalFolder(true);
            return path;
        }
        return {};
    }

    std::string root_;
    Codex codex_;
};

}  // namespace

TEST_F(TextSearchTest, FindsEveryCopyByCaseAndReportsSortedLocations) {
    // One tag in two archives: two hits, two locations; letter case as asked.
    TextSearchResults results = SearchTextInTags(codex_, "RIVER song", false);
    ASSERT_EQ(results.hits.size(), 2u);
    EXPECT_EQ(results.locations, (std::vector<std::string>{codex_.FindArchiveByName("bravo.dng")->path,
                                                           codex_.FindArchiveByName("charlie.dng")->path}));
    EXPECT_EQ(results.hits[0].name, "river song");
    EXPECT_TRUE(SearchTextInTags(codex_, "RIVER song", true).hits.empty());
    EXPECT_EQ(SearchTextInTags(codex_, "river song", true).hits.size(), 2u);
    EXPECT_TRUE(SearchTextInTags(codex_, "", false).hits.empty());

    // An archived tag with a copy in the local folder: two lines, two locations.
    const std::string loose = AddLooseCopy("old notes", "A LOCAL COPY OF THE OLD NOTES");
    results = SearchTextInTags(codex_, "old notes", false);
    ASSERT_EQ(results.hits.size(), 2u);
    EXPECT_EQ(results.hits[0].tagid, results.hits[1].tagid);
    EXPECT_EQ(results.locations, (std::vector<std::string>{loose, codex_.FindArchiveByName("legacy.dng")->path}));
    const std::vector<std::string> report = TextSearchReport(results);
    ASSERT_EQ(report.size(), 5u);
    EXPECT_EQ(report[0], "text | " + FourCCText(results.hits[0].tagid) + " | old notes | " +
                             results.hits[0].location + "\n");
    EXPECT_EQ(report[2], "List of unique match locations ------------------\n");
    EXPECT_EQ(report[3], loose + "\n");

    // String lists end each string in a NUL: text after the first one is still found.
    bool stringList = false;
    for (const TextSearchHit& hit : SearchTextInTags(codex_, "line 2", true).hits)
        stringList = stringList || hit.group == FourCC("stli");
    EXPECT_TRUE(stringList);

    // A loose file cut short after it was indexed is skipped, not overrun.
    fs::resize_file(loose, 20);
    size_t lastDone = 0, lastTotal = 0;
    results = SearchTextInTags(codex_, "old notes", false, [&](const std::string&, size_t done, size_t total) {
        lastDone = done, lastTotal = total;
    });
    EXPECT_EQ(results.hits.size(), 1u);
    EXPECT_EQ(results.copiesSearched + 1, lastTotal);
    EXPECT_EQ(lastDone, lastTotal);

    // A copy larger than a read chunk: a match across the seam of two chunks.
    std::string big(size_t(1) << 21, 'x');
    big.replace((size_t(1) << 20) - 4, 10, "SeamNeedle");
    AddLooseCopy("old notes", big);
    EXPECT_EQ(SearchTextInTags(codex_, "seamneedle", false).hits.size(), 1u);
    EXPECT_EQ(SearchTextInTags(codex_, "SeamNeedleX", true).hits.size(), 0u);
}

TEST_F(TextSearchTest, MenuCommandPromptsShowsProgressAndLogs) {
    Codex::Instance().Init(root_ + "/game");
    MessageLog::Instance().Clear();
    UiTestDriver ui;
    ASSERT_TRUE(ui.Ready()) << ui.Error();
    ui.Run([](UiTestDriver& ui) {
        struct Opener : Window {
            Opener() : Window(kStyleVisible | kStyleEnabled, nullptr) { SetFrameXYWH(0, 0, 40, 40); }
            void OnMouseButton(Event& event) override {
                if (event.ButtonPressed()) running = true, SearchTextTags(), running = false;
            }
            bool running = false;
        };
        auto* opener = new Opener;
        ui.click(UiTestDriver::center(opener));
        ui.type("RIVER SONG");
        ui.screenshot("text-search-prompt.ppm");
        ui.click("Input text string to search/Search");
        // The prompt's run ends with the next frame; the script's turn then comes
        // back while the progress window is up.
        ui.step();
        EXPECT_NE(ui.find("Searching Text Tags"), nullptr);
        ui.screenshot("text-search-progress.ppm");
        for (int i = 0; i < 600 && opener->running; ++i) ui.step();
        ASSERT_NE(MessageLog::Instance().Find(kTextSearchChannel), nullptr);
        const std::string& log = MessageLog::Instance().Find(kTextSearchChannel)->text;
        EXPECT_EQ(log.rfind("text | ", 0), 0u);
        EXPECT_NE(log.find(" | river song | "), std::string::npos);
        EXPECT_NE(log.find("\nList of unique match locations ------------------\n"), std::string::npos);

        // Cancel searches nothing.
        MessageLog::Instance().Clear();
        ui.click(UiTestDriver::center(opener));
        ui.click("Input text string to search/Cancel");
        ui.step(2);
        EXPECT_FALSE(opener->running);
        EXPECT_EQ(MessageLog::Instance().Find(kTextSearchChannel), nullptr);
    });
}
