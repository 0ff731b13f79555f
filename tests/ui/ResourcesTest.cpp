#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "platform/fs/FileBytes.h"
#include "ui/PieceFile.h"
#include "ui/SkinPieces.h"

using namespace tamber::platform;
using namespace tamber::ui;

// The build's resource pipeline (resgen) wrote the run folder's res/.
TEST(Resources, CursorsSplashAndHighlightTable) {
    auto cursors = ReadPieceFile("res/cursors");
    ASSERT_TRUE(cursors);
    std::set<uint32_t> ids;
    for (const PieceImage& cursor : *cursors) {
        ids.insert(cursor.id);
        EXPECT_EQ(cursor.width, 32);
        EXPECT_LT(cursor.hotX, cursor.width);
        EXPECT_LT(cursor.hotY, cursor.height);
        // The hot spot sits on the picture (or right beside its outline), not in empty space.
        int opaque = 0;
        for (int y = std::max(0, cursor.hotY - 2); y <= std::min(31, cursor.hotY + 2); ++y)
            for (int x = std::max(0, cursor.hotX - 2); x <= std::min(31, cursor.hotX + 2); ++x)
                opaque += cursor.rgba[(y * 32 + x) * 4 + 3] > 128;
        EXPECT_GT(opaque, 0) << cursor.id;
    }
    EXPECT_EQ(ids, (std::set<uint32_t>{kCursorPencil, kCursorEyedropper, kCursorMove, kCursorBucket}));

    auto splash = ReadFileBytes("res/tamber.bmp", 16 << 20);
    ASSERT_TRUE(splash);
    ASSERT_GT(splash->size(), 54u);
    EXPECT_EQ((*splash)[0], 'B');
    EXPECT_EQ((*splash)[1], 'M');
    EXPECT_EQ((*splash)[28], 24);  // bits per pixel
    int width = (*splash)[18] | (*splash)[19] << 8, height = (*splash)[22] | (*splash)[23] << 8;
    EXPECT_EQ(splash->size(), 54u + size_t((width * 3 + 3) / 4 * 4) * height);

    auto table = ReadFileBytes("res/dtex.act", 4096);
    ASSERT_TRUE(table);
    ASSERT_EQ(table->size(), 768u);
    EXPECT_EQ((*table)[0], 255);
    EXPECT_EQ((*table)[1], 8);
    EXPECT_EQ((*table)[2], 51);
    EXPECT_EQ((*table)[8 * 3 + 1], 8);  // the eight colours repeat
}
