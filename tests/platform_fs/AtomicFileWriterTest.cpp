#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>

#include "platform/fs/AtomicFileWriter.h"
#include "tests/support/ScratchFolder.h"
#include "platform/fs/FileSystem.h"

using namespace tamber::platform;

namespace {

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void Write(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

}  // namespace

TEST(AtomicFileWriter, ReplacesOnlyOnCommit) {
    Scratch dir;
    const std::string target = dir / "file";
    Write(target, "old");
    ::chmod(target.c_str(), 0640);
    {
        AtomicFileWriter w;
        ASSERT_TRUE(w.Open(target));
        EXPECT_EQ(0u, w.TempPath().rfind(dir / ".file.tmp", 0));
        std::fputs("new content", w.File());
        std::fflush(w.File());
        EXPECT_EQ("old", Read(target));
        // The stream reads back what was written.
        std::rewind(w.File());
        char back[4] = {};
        ASSERT_EQ(3u, std::fread(back, 1, 3, w.File()));
        EXPECT_STREQ("new", back);
        EXPECT_TRUE(w.Commit());
    }
    EXPECT_EQ("new content", Read(target));
    // The replacement keeps the permissions of the file it replaces.
    EXPECT_EQ(std::filesystem::perms(0640), std::filesystem::status(target).permissions() & std::filesystem::perms::all);
    EXPECT_EQ(1u, dir.Count());

    {
        AtomicFileWriter w;  // abandoned: destroyed without a commit
        ASSERT_TRUE(w.Open(target));
        std::fputs("lost", w.File());
    }
    EXPECT_EQ("new content", Read(target));
    EXPECT_EQ(1u, dir.Count());
    AtomicFileWriter missingFolder;
    EXPECT_FALSE(missingFolder.Open(dir / "no/such/file"));
}

TEST(AtomicFileWriter, InjectedFailuresLeaveTheTargetAndNoTemporary) {
    Scratch dir;
    const std::string target = dir / "file";
    Write(target, "keep me");

    AtomicFileWriter::FailNextWriterAfter(10);
    AtomicFileWriter w;
    ASSERT_TRUE(w.Open(target));
    const std::string big(50000, 'x');
    EXPECT_NE(big.size(), std::fwrite(big.data(), 1, big.size(), w.File()));
    // The failure names the system's reason, however late it is noticed.
    EXPECT_EQ("couldn't write '" + target + "': No space left on device", w.Commit().error());
    EXPECT_EQ("keep me", Read(target));
    EXPECT_EQ(1u, dir.Count());

    // A failure that only shows when the buffer is flushed at commit time.
    AtomicFileWriter::FailNextWriterAfter(3);
    ASSERT_TRUE(w.Open(target));
    std::fputs("small", w.File());
    EXPECT_FALSE(w.Commit());
    EXPECT_EQ("keep me", Read(target));

    AtomicFileWriter::FailNextCommit();
    ASSERT_TRUE(w.Open(target));
    std::fputs("fine data", w.File());
    EXPECT_FALSE(w.Commit());
    EXPECT_EQ("keep me", Read(target));

    AtomicFileWriter::FailNextOpen();
    EXPECT_FALSE(w.Open(target));
    EXPECT_EQ(1u, dir.Count());

    // The hooks are one-shot.
    ASSERT_TRUE(w.Open(dir / "fresh"));
    std::fputs("ok", w.File());
    EXPECT_TRUE(w.Commit());
    EXPECT_EQ("ok", Read(dir / "fresh"));
}

TEST(FileSystem, ListsMakesAndRenames) {
    Scratch dir;
    EXPECT_TRUE(MakeFolders(dir / "a/b/c"));
    EXPECT_TRUE(MakeFolders(dir / "a/b/c/"));
    Write(dir / "a/zeta", "1");
    Write(dir / "a/Alpha", "22");
    const Result<std::vector<FolderItem>> items = ListFolder(dir / "a");
    ASSERT_TRUE(items);
    ASSERT_EQ(3u, items->size());
    EXPECT_EQ("Alpha", (*items)[0].name);
    EXPECT_EQ(2u, (*items)[0].status.size);
    EXPECT_TRUE((*items)[1].status.isFolder);
    EXPECT_EQ("couldn't list the folder '" + (dir / "missing") + "': No such file or directory",
              ListFolder(dir / "missing").error());
    EXPECT_EQ("couldn't create the folder '" + (dir / "a/zeta/x") + "': Not a directory",
              MakeFolders(dir / "a/zeta/x").error());

    EXPECT_FALSE(RenameNoReplace(dir / "a/zeta", dir / "a/Alpha"));
    EXPECT_EQ("22", Read(dir / "a/Alpha"));
    EXPECT_TRUE(RenameNoReplace(dir / "a/zeta", dir / "a/eta"));
    EXPECT_TRUE(RemoveFileIfPresent(dir / "a/eta"));
    EXPECT_TRUE(RemoveFileIfPresent(dir / "a/eta"));
    EXPECT_FALSE(GetFileStatus(dir / "a/eta").exists);
}
