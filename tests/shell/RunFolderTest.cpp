// Choosing the folder the program runs in, and the per-user folder of an installed program.
#include <gtest/gtest.h>

#include <filesystem>

#include "shell/RunFolder.h"
#include "tests/support/ScratchFolder.h"

using namespace tamber::shell;
using test_support::Scratch;
namespace fs = std::filesystem;

TEST(RunFolder, BuildTreesRunInPlaceAndInstalledProgramsInTheUserFolder) {
    Scratch scratch;
    fs::create_directories(scratch / "work/res");
    fs::create_directories(scratch / "build/run/res");
    fs::create_directories(scratch / "prefix/bin");
    fs::create_directories(scratch / "prefix/share/tamber/res");
    fs::create_directories(scratch / "nowhere");
    scratch.Write("prefix/share/tamber/res/font", "shipped font");
    scratch.Write("prefix/share/tamber/res/dtex.act", "shipped colours");

    // A working folder with resources, then resources beside the program.
    RunFolderPlaces places{scratch / "work", scratch / "build/run/tamber", "", scratch / "home"};
    ASSERT_TRUE(ChooseRunFolder(places));
    EXPECT_EQ(*ChooseRunFolder(places), "");
    places.workingFolder = scratch / "nowhere";
    EXPECT_EQ(*ChooseRunFolder(places), scratch / "build/run");

    // No resources anywhere: stay, and let the start-up report them missing.
    places.executable = scratch / "nowhere/tamber";
    EXPECT_EQ(*ChooseRunFolder(places), "");

    // Installed: the user folder links the shipped files. A file the program wrote
    // there stays the user's; a link whose shipped file is gone is dropped.
    places.executable = scratch / "prefix/bin/tamber";
    places.configHome = scratch / "config";
    Result<std::string> user = ChooseRunFolder(places);
    ASSERT_TRUE(user) << user.error();
    EXPECT_EQ(*user, scratch / "config/tamber");
    EXPECT_TRUE(fs::is_symlink(scratch / "config/tamber/res/font"));
    fs::remove(scratch / "config/tamber/res/dtex.act");
    scratch.Write("config/tamber/res/dtex.act", "the user's colours");
    fs::create_symlink(scratch / "prefix/share/tamber/res/old", scratch / "config/tamber/res/old");
    ASSERT_TRUE(ChooseRunFolder(places));
    EXPECT_FALSE(fs::is_symlink(scratch / "config/tamber/res/dtex.act"));
    EXPECT_EQ(fs::file_size(scratch / "config/tamber/res/dtex.act"), std::string("the user's colours").size());
    EXPECT_FALSE(fs::exists(fs::symlink_status(scratch / "config/tamber/res/old")));
    EXPECT_TRUE(fs::is_symlink(scratch / "config/tamber/res/font"));

    // Without XDG_CONFIG_HOME (or with a relative one) the folder is under the home folder.
    places.configHome = "relative";
    EXPECT_EQ(*ChooseRunFolder(places), scratch / "home/.config/tamber");
}
