#include "TagTestSupport.h"

#include "tags/LooseTagFile.h"

using namespace tamber::tags;

namespace {

std::vector<uint8_t> PackCurrent(const TagHeader& h) {
    std::vector<uint8_t> raw(64);
    PackRecords(raw.data(), &h, 1, kTagHeaderDescriptor);
    return raw;
}

std::vector<uint8_t> PackOld(const OldTagHeader& h) {
    std::vector<uint8_t> raw(64);
    PackRecords(raw.data(), &h, 1, kOldTagHeaderDescriptor);
    return raw;
}

OldTagHeader OldHeader(const char* name, uint32_t size) {
    OldTagHeader old{};
    std::strcpy(old.name, name);
    old.group = FourCC("text");
    old.tagid = FourCC("oldt");
    old.version = 0x00050003;
    old.dropped1 = 0x1111;
    old.dropped2 = 0x2222;
    old.offset = 64;
    old.size = size;
    old.dropped3 = 0x33333333;
    old.signature = kOldTagSignature;
    return old;
}

}  // namespace

TEST(TagHeader, CurrentLayoutOnDiskAndThirtyTwoByteNames) {
    TagHeader h = TestHeader(FourCC(".256"), FourCC("grbi"), "grisk big");
    h.identifier = 0x0102;
    h.offset = 64;
    h.size = 0x0A0B0C0D;
    h.user = 0xCAFEF00D;
    h.version = 0x0304;
    const std::vector<uint8_t> raw = PackCurrent(h);
    EXPECT_EQ(0x01, raw[0]);
    EXPECT_EQ(0x02, raw[1]);
    EXPECT_EQ(0, std::memcmp(raw.data() + 4, "grisk big", 9));
    EXPECT_EQ(0, std::memcmp(raw.data() + 36, ".256grbi", 8));
    EXPECT_EQ(0x0A, raw[48]);
    EXPECT_EQ(0x03, raw[56]);
    EXPECT_EQ(0, std::memcmp(raw.data() + 60, "vsk2", 4));

    std::vector<uint8_t> full = raw;
    std::memset(full.data() + 4, 'n', 32);
    TagHeader read;
    ASSERT_TRUE(UnpackAnyTagHeader(read, full.data()));
    EXPECT_EQ(std::string(31, 'n'), read.Name());
    EXPECT_EQ(0x0A0B0C0Du, read.size);
    EXPECT_EQ(0xCAFEF00Du, read.user);

    std::vector<uint8_t> bad = raw;
    bad[63] = 'x';
    EXPECT_FALSE(UnpackAnyTagHeader(read, bad.data()));
}

TEST(TagHeader, OldVersionConvertsAndValidatesItsOwnSizeField) {
    const std::vector<uint8_t> raw = PackOld(OldHeader("ancient", 100));
    TagHeader h;
    ASSERT_TRUE(ValidateTagHeader(h, raw.data(), 164));
    EXPECT_EQ("ancient", h.Name());
    EXPECT_EQ(FourCC("text"), h.group);
    EXPECT_EQ(FourCC("oldt"), h.tagid);
    EXPECT_EQ(3, h.version);
    EXPECT_EQ(64u, h.offset);
    EXPECT_EQ(100u, h.size);
    EXPECT_EQ(0u, h.user);
    EXPECT_EQ(0, h.identifier);
    EXPECT_EQ(0, h.foundationIndex);
    EXPECT_EQ(kOldTagSignature, h.signature);
    EXPECT_TRUE(IsTagHeader(h));
    // The old size sits at offset 52; a file one byte off is rejected.
    EXPECT_FALSE(ValidateTagHeader(h, raw.data(), 165));
    EXPECT_FALSE(ValidateTagHeader(h, raw.data(), 32));

    const std::vector<uint8_t> current = PackCurrent(TestHeader(FourCC("text"), FourCC("abcd"), "x"));
    TagHeader c;
    EXPECT_TRUE(ValidateTagHeader(c, current.data(), 64));
    EXPECT_FALSE(ValidateTagHeader(c, current.data(), 65));

    // Reading several headers from a stream: the first signature picks the version.
    const UniqueFile stream(std::tmpfile());
    FILE* f = stream.get();
    std::fwrite(raw.data(), 1, 64, f);
    std::fwrite(raw.data(), 1, 64, f);
    std::rewind(f);
    TagHeader two[2];
    EXPECT_EQ(128u, ReadTagHeaders(two, f, 2));
    EXPECT_EQ(FourCC("oldt"), two[1].tagid);
    std::rewind(f);
    EXPECT_EQ(128u, ReadOldTagHeaders(two, f, 2));
    EXPECT_EQ(0u, ReadTagHeaders(two, f, 1));  // at the end: short read
}

TEST(TagHeader, NamesAreMadeSafeFileNames) {
    TagHeader h{};
    SetTagName(h, "a.b. ");
    EXPECT_EQ("a.b", h.Name());
    SetTagName(h, "x:y");
    EXPECT_EQ("x_y", h.Name());
    SetTagName(h, "\\/|\"<>*?:");
    EXPECT_EQ("_________", h.Name());
    SetTagName(h, std::string(40, 'q'));
    EXPECT_EQ(std::string(31, 'q'), h.Name());
    SetTagName(h, "..");
    EXPECT_EQ("_", h.Name());
    SetTagName(h, ".");
    EXPECT_EQ("_", h.Name());
    SetTagName(h, ". ");
    EXPECT_EQ("_", h.Name());
    SetTagName(h, "../../etc");
    EXPECT_EQ(".._.._etc", h.Name());
    EXPECT_EQ("_", TagFileName(""));
    EXPECT_EQ("keep", TagFileName("keep"));
}

TEST(TagHeader, TagIdsFromNames) {
    EXPECT_EQ(FourCC("grbi"), TagIdFromName("grisk big"));
    EXPECT_EQ(FourCC("swor"), TagIdFromName("sword"));
    EXPECT_EQ(FourCC("swtw"), TagIdFromName("sword two"));
    EXPECT_EQ(FourCC("abcd"), TagIdFromName("ab(cx)d-y"));
    EXPECT_EQ(FourCC("a   "), TagIdFromName("a"));
    EXPECT_EQ(FourCC("    "), TagIdFromName(" -- "));
    EXPECT_EQ(FourCC("albg"), TagIdFromName("alpha beta gamma delta"));
    EXPECT_EQ(FourCC("big "), TagIdFromName("big  [ ] g"));
}

TEST(TagGroups, TableNamesAndFolders) {
    EXPECT_EQ(FourCC("amso"), TagGroupAt(0).code);
    EXPECT_EQ(FourCC("quik"), TagGroupAt(kTagGroupCount - 1).code);
    for (int i = 0; i < kTagGroupCount; ++i) {
        EXPECT_EQ(&TagGroupAt(i), FindTagGroup(TagGroupAt(i).code));
        EXPECT_EQ(0u, TagGroupAt(i).reserved);
    }
    EXPECT_EQ(nullptr, FindTagGroup(FourCC("zzzz")));
    EXPECT_EQ("Collections", TagGroupName(FourCC(".256")));
    EXPECT_EQ("zzzz", TagGroupName(FourCC("zzzz")));
    EXPECT_STREQ("Formations", FindTagGroup(FourCC("form"))->singular);
    EXPECT_EQ("detail textures", TagGroupFolderName(FourCC("dtex")));
    EXPECT_EQ("collections", TagGroupFolderName(FourCC(".256")));
    EXPECT_EQ("a_b_", TagGroupFolderName(FourCC("a/b\0")));
    EXPECT_EQ("_", TagGroupFolderName(FourCC("....")));

    static TagRecord* opened = nullptr;
    SetTagGroupEditor(FourCC("soun"), [](TagRecord* r) { opened = r; });
    TagRecord record(FourCC("soun"), FourCC("beep"));
    OpenTagGroupEditor(&record);
    EXPECT_EQ(&record, opened);
    TagRecord other(FourCC("text"), FourCC("beep"));
    opened = nullptr;
    OpenTagGroupEditor(&other);
    EXPECT_EQ(nullptr, opened);
    SetTagGroupEditor(FourCC("soun"), nullptr);
}

TEST(LooseTagFile, HeaderReadingCorrectsSizeAndPlaceholderNames) {
    TagHeader h = TestHeader(FourCC("text"), FourCC("note"), "ixo made this");
    h.size = 999;
    std::vector<uint8_t> bytes = PackCurrent(h);
    bytes.resize(74, 'd');
    const UniqueFile whole(fmemopen(bytes.data(), bytes.size(), "rb"));
    TagHeader read;
    ASSERT_TRUE(ReadLooseTagHeader(whole.get(), bytes.size(), "real name", read));
    EXPECT_EQ("real name", read.Name());
    EXPECT_EQ(10u, read.size);
    const UniqueFile cut(fmemopen(bytes.data(), 40, "rb"));
    EXPECT_FALSE(ReadLooseTagHeader(cut.get(), 40, "short", read));
}
