#include <sys/stat.h>

#include "TagTestSupport.h"

namespace {

std::vector<uint8_t> FileBytes(const std::string& path) {
    const std::string text = ReadFileText(path);
    return std::vector<uint8_t>(text.begin(), text.end());
}

void PutFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    const UniqueFile f = OpenFile(path, "wb");
    ASSERT_TRUE(f);
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f.get());
}

void PutBE32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (24 - 8 * i));
}

}  // namespace

TEST(Archive, CurrentArchiveWithMeshRecords) {
    ScratchFolder dir;
    const std::string path = dir / "meshes.dng";
    ASSERT_TRUE(WriteTestArchive(path, 6, 42,
                                 {{FourCC("mesh"), FourCC("plai"), "plains", "PLAINS"},
                                  {FourCC("text"), FourCC("note"), "note", "hello"},
                                  {FourCC("mesh"), FourCC("cany"), "canyon", "CANYON!"}}));
    auto read = ReadArchive(path);
    ASSERT_TRUE(read) << read.error();
    const std::unique_ptr<Archive>& archive = *read;
    EXPECT_EQ(6, archive->header.type);
    EXPECT_EQ(42, archive->header.priority);
    EXPECT_EQ(2, archive->rank);
    EXPECT_EQ("test archive", archive->Name());
    EXPECT_EQ("meshes.dng", archive->fileName);
    ASSERT_EQ(2u, archive->meshRecords.size());
    EXPECT_EQ(FourCC("cany"), archive->meshRecords[1].tagid);
    EXPECT_STREQ("canyon", archive->meshRecords[1].description);
    EXPECT_EQ(352u, ArchiveEntryTableOffset(archive->header));
    ASSERT_EQ(3u, archive->entries.size());
    EXPECT_EQ(352u + 3 * 64, archive->header.dataStart);
    const TagEntry& note = archive->entries[1];
    EXPECT_EQ("note", note.header.Name());
    EXPECT_EQ(1, note.header.identifier);
    EXPECT_EQ(archive.get(), note.archive);
    Result<UniqueFile> f = OpenEntryData(note);
    ASSERT_TRUE(f);
    char data[6] = {};
    ASSERT_EQ(5u, std::fread(data, 1, note.header.size, f->get()));
    EXPECT_STREQ("hello", data);

    // The header as the images library validates it.
    const std::vector<uint8_t> bytes = FileBytes(path);
    ArchiveHeader header;
    EXPECT_TRUE(ValidateArchiveHeader(header, bytes.data(), 128, bytes.size()));
    EXPECT_FALSE(ValidateArchiveHeader(header, bytes.data(), 100, bytes.size()));
}

TEST(Archive, OldArchiveConvertsToRankTwoTypeOne) {
    ScratchFolder dir;
    const std::string path = dir / "old.dng";
    ASSERT_TRUE(WriteTestOldArchive(path, {{FourCC("scri"), FourCC("olds"), "old script", "abc"},
                                           {FourCC("text"), FourCC("oldt"), "old text", "defgh"}}));
    auto read = ReadArchive(path);
    ASSERT_TRUE(read) << read.error();
    const std::unique_ptr<Archive>& archive = *read;
    EXPECT_EQ(1, archive->header.type);
    EXPECT_EQ(0, archive->header.priority);
    EXPECT_EQ(2, archive->rank);
    EXPECT_EQ(kOldTagSignature, archive->header.signature);
    EXPECT_EQ("old archive", archive->Name());
    ASSERT_EQ(2u, archive->entries.size());
    EXPECT_EQ("old text", archive->entries[1].header.Name());
    EXPECT_EQ(5u, archive->entries[1].header.size);
    EXPECT_EQ(51u, archive->entries[1].header.offset);
    EXPECT_EQ(archive->header.fileSize, ReadFileText(path).size());
}

TEST(Archive, RejectsBadTypesSizesAndHostileTables) {
    ScratchFolder dir;
    const std::string path = dir / "a.dng";
    ASSERT_TRUE(WriteTestArchive(path, 3, 0, {{FourCC("text"), FourCC("aaaa"), "a", "0123456789"}}));
    const std::vector<uint8_t> good = FileBytes(path);
    ASSERT_TRUE(ReadArchive(path));

    auto rejected = [&](std::vector<uint8_t> bytes) {
        PutFile(path, bytes);
        return !ReadArchive(path);
    };
    std::vector<uint8_t> bytes = good;
    bytes[1] = 4;  // type 4
    EXPECT_TRUE(rejected(bytes));
    bytes[1] = 0;
    EXPECT_TRUE(rejected(bytes));
    bytes[1] = 8;
    EXPECT_TRUE(rejected(bytes));

    bytes = good;
    bytes.push_back(0);  // stored file size one byte off
    EXPECT_TRUE(rejected(bytes));
    bytes = good;
    bytes.pop_back();
    EXPECT_TRUE(rejected(bytes));

    bytes = good;
    PutBE32(bytes, 128 + 44, 0xFFFFFFF0);  // entry offset past the end
    EXPECT_TRUE(rejected(bytes));
    bytes = good;
    PutBE32(bytes, 128 + 48, 11);  // entry size one past the end
    EXPECT_TRUE(rejected(bytes));
    bytes = good;
    bytes[128 + 63] = 'x';  // entry signature
    EXPECT_TRUE(rejected(bytes));
    bytes = good;
    bytes[103] = 200;  // tag count beyond the file
    EXPECT_TRUE(rejected(bytes));
    bytes = good;
    bytes[101] = 3;  // mesh records beyond the file
    EXPECT_TRUE(rejected(bytes));
    EXPECT_TRUE(rejected({}));
    EXPECT_TRUE(rejected(std::vector<uint8_t>(good.begin(), good.begin() + 100)));
    EXPECT_FALSE(rejected(good));
}

TEST(Archive, OldHeaderChecksAndShortFiles) {
    ScratchFolder dir;
    const std::string path = dir / "old.dng";
    ASSERT_TRUE(WriteTestOldArchive(path, {{FourCC("text"), FourCC("t   "), "t", "x"}}));
    std::vector<uint8_t> good = FileBytes(path);
    ASSERT_EQ(48u + 1 + 64, good.size());  // smaller than a current header, still read
    EXPECT_TRUE(ReadArchive(path));
    std::vector<uint8_t> bytes = good;
    bytes[1] = 2;  // leading word must be 1
    PutFile(path, bytes);
    EXPECT_FALSE(ReadArchive(path));
    bytes = good;
    bytes.push_back(0);  // table no longer ends the file
    PutFile(path, bytes);
    EXPECT_FALSE(ReadArchive(path));
    bytes = good;
    PutBE32(bytes, 49 + 52, 1000);  // entry data running past the end
    PutFile(path, bytes);
    EXPECT_FALSE(ReadArchive(path));

    // A pipe named like an archive is refused at once instead of waiting for a writer.
    const std::string pipe = dir / "pipe.dng";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_FALSE(ReadArchive(pipe));
}
