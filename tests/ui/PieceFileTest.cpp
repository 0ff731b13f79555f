#include <gtest/gtest.h>

#include "ui/PieceFile.h"

using namespace tamber::ui;

TEST(PieceFile, RoundTripsAndRefusesShortOrInflatedData) {
    std::vector<PieceImage> pieces(3);
    pieces[0].id = 12;
    pieces[0].width = 2;
    pieces[0].height = 1;
    pieces[0].rgba = {1, 2, 3, 4, 5, 6, 7, 8};
    pieces[1].id = 40;  // zero-sized piece keeps its place
    pieces[2].id = 101;
    pieces[2].width = 1;
    pieces[2].height = 1;
    pieces[2].hotX = 9;
    pieces[2].hotY = 3;
    pieces[2].rgba = {9, 9, 9, 255};
    std::vector<uint8_t> bytes = EncodePieceFile(pieces);
    ASSERT_EQ(bytes.size(), 4u + 3 * 28 + 8 + 4);

    auto read = ParsePieceFile(bytes.data(), bytes.size());
    ASSERT_TRUE(read);
    ASSERT_EQ(read->size(), 3u);
    EXPECT_EQ((*read)[0].rgba, pieces[0].rgba);
    EXPECT_EQ((*read)[1].id, 40u);
    EXPECT_EQ((*read)[1].width, 0);
    EXPECT_EQ((*read)[2].hotX, 9);
    EXPECT_EQ((*read)[2].hotY, 3);

    for (size_t cut = 0; cut < bytes.size(); ++cut)
        EXPECT_FALSE(ParsePieceFile(bytes.data(), cut)) << cut;

    // A count far beyond the data and a piece claiming 65535 x 65535 pixels.
    std::vector<uint8_t> inflated = bytes;
    inflated[0] = inflated[1] = inflated[2] = inflated[3] = 0xFF;
    EXPECT_FALSE(ParsePieceFile(inflated.data(), inflated.size()));
    inflated = bytes;
    inflated[4 + 12] = inflated[4 + 13] = inflated[4 + 14] = inflated[4 + 15] = 0xFF;
    EXPECT_FALSE(ParsePieceFile(inflated.data(), inflated.size()));
}
