// Files from strangers and folders that lead elsewhere: special files are refused
// at once, sizes are capped before reading, links out of a chosen folder are
// named, and temporaries of killed writes are swept.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/fs/AtomicFileWriter.h"
#include "tests/support/ScratchFolder.h"
#include "platform/fs/FileBytes.h"
#include "platform/fs/FolderBounds.h"
#include "platform/fs/InputFile.h"
#include "platform/fs/TemporaryFiles.h"

using namespace tamber::platform;
namespace fs = std::filesystem;

TEST(InputFile, SpecialFilesAndHugeFilesAreRefusedWithoutReading) {
    Scratch dir;
    std::ofstream(dir / "small") << "twelve bytes";
    const Result<std::vector<uint8_t>> small = ReadFileBytes(dir / "small", 12);
    ASSERT_TRUE(small);
    EXPECT_EQ(12u, small->size());
    EXPECT_EQ("couldn't read '" + (dir / "small") + "': it is too large (12 bytes; at most 11 are read)",
              ReadFileBytes(dir / "small", 11).error());

    // A FIFO with no writer would block a plain open forever.
    ASSERT_EQ(0, ::mkfifo((dir / "fifo").c_str(), 0600));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ("it is not a regular file", OpenInputFile(dir / "fifo", 1 << 20).error());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ("it is a folder, not a file", OpenInputFile(dir.Path(), 1 << 20).error());
    EXPECT_EQ("No such file or directory", OpenInputFile(dir / "missing", 1 << 20).error());

    // A sparse file of 1 GB is measured, not read.
    {
        const int fd = ::open((dir / "sparse").c_str(), O_CREAT | O_WRONLY, 0600);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(0, ::ftruncate(fd, off_t(1) << 30));
        ::close(fd);
    }
    EXPECT_FALSE(ReadFileBytes(dir / "sparse", 256u << 20));
    Result<InputFile> sparse = OpenInputFile(dir / "sparse", uint64_t(1) << 31);
    ASSERT_TRUE(sparse);
    EXPECT_EQ(uint64_t(1) << 30, sparse->size);
    const Result<std::vector<uint8_t>> rest = ReadRest(sparse->file.get(), 1024);
    EXPECT_FALSE(rest);
}

TEST(FolderBounds, LinksLeadingOutOfTheChosenFolderAreNamed) {
    Scratch dir;
    fs::create_directories(dir / "root/inner");
    fs::create_directories(dir / "outside");
    fs::create_directory_symlink(dir / "outside", dir / "root/away");
    fs::create_directory_symlink(dir / "root/inner", dir / "root/alias");
    const std::string root = dir / "root";

    EXPECT_TRUE(CheckInsideFolder(root, root + "/inner/new/deeper"));
    EXPECT_TRUE(CheckInsideFolder(root, root + "/alias/x"));  // a link that stays inside is fine
    EXPECT_EQ("'" + root + "/away' leads out of '" + root + "' through a symbolic link; nothing is written through it",
              CheckInsideFolder(root, root + "/away/x").error());
    EXPECT_FALSE(MakeFoldersInside(root, root + "/away/made"));
    EXPECT_FALSE(fs::exists(dir / "outside/made"));
    EXPECT_TRUE(MakeFoldersInside(root + "/", root + "/inner/made/"));
    EXPECT_TRUE(fs::is_directory(root + "/inner/made"));
    // The chosen folder may itself be a link: it is what the user chose.
    EXPECT_TRUE(CheckInsideFolder(root + "/away", root + "/away/sub"));
}

TEST(TemporaryFiles, WritesSweepOnlyTheTemporariesNobodyHolds) {
    Scratch dir;
    EXPECT_TRUE(IsTemporaryFileName(".tag name.tmpAb12Cd"));
    EXPECT_FALSE(IsTemporaryFileName(".tmpAb12Cd"));
    EXPECT_FALSE(IsTemporaryFileName("tag name.tmpAb12Cd"));
    EXPECT_FALSE(IsTemporaryFileName(".tag name.tmpAb12"));

    // One left by a killed write, and one a live writer holds.
    std::ofstream(dir / ".old.tmpAAAAAA") << "stale";
    AtomicFileWriter live;
    ASSERT_TRUE(live.Open(dir / "held"));
    std::fputs("in progress", live.File());
    ASSERT_TRUE(fs::exists(live.TempPath()));

    // The first write into a folder sweeps it.
    Scratch other;
    std::ofstream(other / ".gone.tmpBBBBBB") << "stale";
    ASSERT_TRUE(WriteFileAtomically(other / "file", std::vector<uint8_t>{1, 2, 3}));
    EXPECT_FALSE(fs::exists(other / ".gone.tmpBBBBBB"));

    RemoveStaleTemporaries(dir.Path());
    EXPECT_FALSE(fs::exists(dir / ".old.tmpAAAAAA"));
    EXPECT_TRUE(fs::exists(live.TempPath()));
    ASSERT_TRUE(live.Commit());
    EXPECT_TRUE(fs::exists(dir / "held"));
}
