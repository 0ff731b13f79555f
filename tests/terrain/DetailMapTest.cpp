#include <gtest/gtest.h>

#include "collections/BigEndianWriter.h"
#include "terrain/DetailMap.h"
#include "terrain/RunStream.h"

using namespace tamber::base;
using namespace tamber::collections;
using namespace tamber::terrain;

TEST(DetailMap, RunStreams) {
    std::vector<uint8_t> runs;
    EncodeRuns(std::vector<uint8_t>(1000, 0), runs);
    EXPECT_EQ(runs, (std::vector<uint8_t>{0, 255, 0, 255, 0, 255, 0, 231}));
    runs.clear();
    EncodeRuns(std::vector<uint8_t>{4, 4, 5, 4}, runs);
    EXPECT_EQ(runs, (std::vector<uint8_t>{4, 1, 5, 0, 4, 0}));

    std::vector<uint8_t> out(3);
    BigEndianReader cut(runs);
    ASSERT_TRUE(DecodeRuns(cut, out));  // the second run passes the end and is cut
    EXPECT_EQ(out, (std::vector<uint8_t>{4, 4, 5}));
    std::vector<uint8_t> longer(5);
    BigEndianReader early(runs);
    EXPECT_FALSE(DecodeRuns(early, longer));
}

TEST(DetailMap, Version2RoundTrip) {
    DetailMap map = CreateDetailMap(64, 32);
    EXPECT_EQ(map.triangle.size(), 64u * 32 * 2);
    for (size_t i = 0; i < map.vertex.size(); ++i)
        map.vertex[i] = uint8_t((i / 300) % 128);
    map.triangle[5] = 127;
    map.materials[1] = {0x67726173, 127, 10, 20, 30, "grass, a long description cut here"};
    map.materials[2].tagid = 0x736E6F77;
    Result<std::vector<uint8_t>> saved = SaveDetailMap(map);
    ASSERT_TRUE(saved);
    const std::vector<uint8_t>& payload = *saved;
    EXPECT_EQ(payload[27], 0);  // material table at 256
    EXPECT_EQ(payload[26], 1);
    auto read = LoadDetailMap(payload, 2);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->vertex, map.vertex);
    EXPECT_EQ(read->triangle, map.triangle);
    EXPECT_EQ(read->materials[1].description, "grass, a long description cut h");
    EXPECT_EQ(read->materials[1].Scale(), 128);
    EXPECT_EQ(read->materials[1].blue, 30);
    EXPECT_EQ(read->materials[3].tagid, kNoDetailTexture);

    EXPECT_EQ(LoadDetailMap(payload, 3).error(), "couldn't read the detail map: version 3 is not known");
    EXPECT_EQ(LoadDetailMap(std::span(payload.data(), payload.size() - 1), 2).error(),
              "couldn't read the detail map: its triangle details are damaged or cut short");
    // A size the stream cannot fill is refused before allocating.
    std::vector<uint8_t> huge = payload;
    huge[0] = 0x7F;
    EXPECT_NE(LoadDetailMap(huge, 2).error().find("more than its data holds"), std::string::npos);
    EXPECT_EQ(SaveDetailMap(DetailMap{}).error(),
              "couldn't write the detail map: its details do not match its size of 0 x 0");
}

TEST(DetailMap, Version1) {
    std::vector<uint8_t> payload;
    BigEndianWriter out(payload);
    out.U32(4);
    out.U32(2);
    out.U32(0xDEAD);
    out.U32(0xBEEF);
    for (uint32_t i = 0; i < 128; ++i)
        out.U32(i == 0 ? kNoDetailTexture : 0x74657800 + i);
    const uint8_t scales[] = {0, 1, 2, 200};
    for (int i = 0; i < 128; ++i)
        out.U8(scales[i % 4]);
    out.Zeros(8);
    for (uint8_t v : {1, 2, 3, 4, 5, 6, 7, 200})
        out.U8(v);
    auto map = LoadDetailMap(payload, 1);
    ASSERT_TRUE(map);
    EXPECT_EQ(map->width, 4u);
    EXPECT_EQ(map->vertex, (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 0}));  // 200 is no material
    EXPECT_EQ(map->triangle, std::vector<uint8_t>(16, 0));
    EXPECT_EQ(map->materials[5].tagid, 0x74657805u);
    EXPECT_EQ(map->materials[0].scaleMinusOne, 0);
    EXPECT_EQ(map->materials[1].scaleMinusOne, 0);
    EXPECT_EQ(map->materials[2].scaleMinusOne, 1);
    EXPECT_EQ(map->materials[3].scaleMinusOne, 199);
    EXPECT_EQ(map->materials[3].red + map->materials[3].green + map->materials[3].blue, 0);
    EXPECT_FALSE(LoadDetailMap(std::span(payload.data(), payload.size() - 1), 1));

    Result<std::vector<uint8_t>> saved = SaveDetailMap(*map);
    ASSERT_TRUE(saved);
    auto again = LoadDetailMap(*saved, kDetailMapTagVersion);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->vertex, map->vertex);
}
