#include <gtest/gtest.h>

#include "images/ColorTable.h"
#include "tests/images/ImageTestSupport.h"

using namespace tamber::base;
using namespace tamber::images;

namespace {

TEST(ColorTable, ReadsFullAndCountedTables) {
    ScratchFolder folder;
    std::vector<uint8_t> bytes(768);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = uint8_t(i * 7 + 1);
    ASSERT_TRUE(WriteFileBytes(folder.File("full.act"), bytes));
    Result<ColorTable> table = ReadColorTable(folder.File("full.act"));
    ASSERT_TRUE(table);
    EXPECT_EQ(table->count, 256u);
    EXPECT_EQ(std::vector<uint8_t>(table->entries.begin(), table->entries.end()), bytes);

    std::vector<uint8_t> counted = bytes;
    counted.insert(counted.end(), {0x00, 0x10, 0xFF, 0xFF});
    ASSERT_TRUE(WriteFileBytes(folder.File("counted.act"), counted));
    table = ReadColorTable(folder.File("counted.act"));
    ASSERT_TRUE(table);
    EXPECT_EQ(table->count, 16u);
    EXPECT_TRUE(std::equal(table->entries.begin(), table->entries.begin() + 48, bytes.begin()));
    EXPECT_EQ(std::vector<uint8_t>(table->entries.begin() + 48, table->entries.end()), std::vector<uint8_t>(720, 0));

    // A count larger than the table cannot be meant; the table is read in full.
    counted[768] = 0x01;
    counted[769] = 0x01;
    ASSERT_TRUE(WriteFileBytes(folder.File("bad.act"), counted));
    EXPECT_EQ(ReadColorTable(folder.File("bad.act"))->count, 256u);

    bytes.resize(767);
    ASSERT_TRUE(WriteFileBytes(folder.File("short.act"), bytes));
    EXPECT_FALSE(ReadColorTable(folder.File("short.act")));
    EXPECT_FALSE(ReadColorTable(folder.File("missing.act")));
}

TEST(ColorTable, WritesTrailerOnlyForPartialTables) {
    ScratchFolder folder;
    uint8_t table[768];
    for (int i = 0; i < 768; ++i)
        table[i] = uint8_t(255 - i % 256);
    ASSERT_TRUE(WriteColorTable(folder.File("16.act"), table, 16));
    std::vector<uint8_t> bytes = ReadFileBytes(folder.File("16.act"));
    ASSERT_EQ(bytes.size(), 772u);
    EXPECT_TRUE(std::equal(table, table + 48, bytes.begin()));
    EXPECT_EQ(bytes[48], 0);
    EXPECT_EQ(std::vector<uint8_t>(bytes.end() - 4, bytes.end()), (std::vector<uint8_t>{0x00, 0x10, 0xFF, 0xFF}));

    ASSERT_TRUE(WriteColorTable(folder.File("256.act"), table, 256));
    EXPECT_EQ(ReadFileBytes(folder.File("256.act")), std::vector<uint8_t>(table, table + 768));
    EXPECT_FALSE(WriteColorTable(folder.File("257.act"), table, 257));

    Result<ColorTable> back = ReadColorTable(folder.File("16.act"));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->count, 16u);
    EXPECT_TRUE(std::equal(table, table + 48, back->entries.begin()));
}

}  // namespace
