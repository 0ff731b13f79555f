// Files dropped on the main window: archives join the Codex, other files beep.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "demo/DemoGame.h"
#include "shell/FileDrop.h"
#include "tags/Codex.h"
#include "tests/ui/support/UiTestDriver.h"
#include "tools/ArchiveBrowser.h"
#include "ui/WindowSystem.h"

using namespace tamber::demo;
using namespace tamber::shell;
using namespace tamber::tags;
using namespace tamber::tools;
using namespace tamber::ui;

namespace {
// A window that takes dropped files, with a child that declines them.
class DropTarget : public Window {
public:
    explicit DropTarget(Window* parent) : Window(kStyleVisible | kStyleEnabled, parent) {}
    std::vector<std::string> taken;
    bool OnFilesDropped(const std::vector<std::string>& paths) override {
        taken = paths;
        return true;
    }
};
}  // namespace

namespace fs = std::filesystem;

TEST(FileDrop, ArchivesAreAddedAndOtherFilesRefused) {
    fs::path root = fs::temp_directory_path() / ("tamber-drop-" + std::to_string(getpid()));
    fs::remove_all(root);
    fs::create_directories(root);
    ASSERT_TRUE(GenerateDemoGame((root / "game").string(), DemoOptions{}));
    // An add-on downloaded somewhere outside the game folder.
    fs::copy_file(root / "game/plugins/alpha.dng", root / "downloaded.dng");
    fs::remove(root / "game/plugins/alpha.dng");
    std::ofstream(root / "notes.txt") << "not an archive";

    UiTestDriver ui({.pixels = false});
    ASSERT_TRUE(ui.Ready());
    ui.Run([&](UiTestDriver& ui) {
        Codex& codex = Codex::Instance();
        codex.Init((root / "game").string());
        size_t before = codex.ArchiveCount();
        int beeps = ui.platform().beeps;
        OsSetDropCallback(HandleDroppedFiles);  // as the shell registers it
        OsCurrentCallbacks().drop({(root / "downloaded.dng").string(), (root / "notes.txt").string()});
        ui.step(2);
        EXPECT_EQ(codex.ArchiveCount(), before + 1);
        EXPECT_TRUE(codex.FindArchiveByName("downloaded.dng"));
        EXPECT_EQ(ui.platform().beeps, beeps + 1);
        EXPECT_TRUE(ArchiveBrowser::Get());

        // A window under the mouse that takes files gets them first, through a child
        // that declines; the Codex is left alone.
        auto* target = new DropTarget(WS().Layer0());
        target->SetFrameXYWH(300, 300, 200, 200);
        auto* child = new Window(kStyleVisible | kStyleEnabled, target);
        child->SetFrameXYWH(10, 10, 50, 50);
        ui.step();
        ui.moveTo({320, 320});
        ui.step();
        size_t archives = codex.ArchiveCount();
        OsCurrentCallbacks().drop({(root / "notes.txt").string()});
        ui.step(2);
        EXPECT_EQ(target->taken, std::vector<std::string>{(root / "notes.txt").string()});
        EXPECT_EQ(codex.ArchiveCount(), archives);
        EXPECT_EQ(ui.platform().beeps, beeps + 1);
        target->Close();
        codex.Close();
    });
    fs::remove_all(root);
}
