// Files dropped on the main window: archives join the Codex, other files beep.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "demo/DemoGame.h"
#include "shell/FileDrop.h"
#include "tags/Codex.h"
#include "tests/ui/support/UiTestDriver.h"
#include "tools/ArchiveBrowser.h"

using namespace tamber::demo;
using namespace tamber::shell;
using namespace tamber::tags;
using namespace tamber::tools;

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
        codex.Close();
    });
    fs::remove_all(root);
}
