#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/fs/FolderWatcher.h"

using namespace tamber::platform;

TEST(FolderWatcher, ReportsEachChangedFolderOnceWithoutBlocking) {
    char pattern[] = "/tmp/tamber-watch-XXXXXX";
    const std::string root = ::mkdtemp(pattern);
    std::filesystem::create_directories(root + "/a/sub");
    std::filesystem::create_directories(root + "/b");
    FolderWatcher watcher;
    ASSERT_TRUE(watcher.IsAvailable());
    const int a = watcher.Add(root + "/a");
    const int b = watcher.Add(root + "/b");
    ASSERT_GE(a, 0);
    ASSERT_GE(b, 0);
    EXPECT_EQ(-1, watcher.Add(root + "/missing"));

    bool overflowed = true;
    EXPECT_TRUE(watcher.Poll(overflowed).empty());
    EXPECT_FALSE(overflowed);

    std::ofstream(root + "/a/one") << "1";
    std::ofstream(root + "/a/two") << "2";
    EXPECT_EQ(std::vector<int>{a}, watcher.Poll(overflowed));
    EXPECT_TRUE(watcher.Poll(overflowed).empty());

    // Changes inside a sub-folder are not reported; attribute changes are.
    std::ofstream(root + "/a/sub/deep") << "x";
    EXPECT_TRUE(watcher.Poll(overflowed).empty());
    std::filesystem::permissions(root + "/b", std::filesystem::perms::owner_all);
    EXPECT_EQ(std::vector<int>{b}, watcher.Poll(overflowed));

    watcher.Remove(b);
    std::ofstream(root + "/b/ignored") << "x";
    EXPECT_TRUE(watcher.Poll(overflowed).empty());

    // A watched folder that disappears is reported.
    std::filesystem::remove_all(root + "/a");
    const std::vector<int> gone = watcher.Poll(overflowed);
    EXPECT_NE(gone.end(), std::find(gone.begin(), gone.end(), a));
    std::filesystem::remove_all(root);
}
