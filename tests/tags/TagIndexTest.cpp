#include <gtest/gtest.h>

#include <map>
#include <random>

#include "tags/TagIndex.h"

using namespace tamber::tags;

TEST(TagIndex, MatchesAReferenceMapThroughInsertsAndErases) {
    TagIndex index;
    std::map<std::pair<uint32_t, uint32_t>, TagRecord*> reference;
    std::mt19937 random(7);
    // Few distinct groups and clustered tagids make long probe chains.
    auto key = [&] { return std::make_pair(uint32_t(random() % 3), uint32_t(random() % 4000)); };
    for (int step = 0; step < 60000; ++step) {
        const auto [group, tagid] = key();
        if (random() % 3 != 0) {
            TagRecord* record = index.FindOrCreate(group, tagid);
            auto [it, inserted] = reference.emplace(std::make_pair(group, tagid), record);
            ASSERT_EQ(it->second, record);
            ASSERT_EQ(group, record->group);
            ASSERT_EQ(tagid, record->tagid);
        } else if (auto it = reference.find({group, tagid}); it != reference.end()) {
            index.Erase(it->second);
            reference.erase(it);
        }
        ASSERT_EQ(reference.size(), index.Size());
    }
    for (uint32_t group = 0; group < 3; ++group) {
        for (uint32_t tagid = 0; tagid < 4000; ++tagid) {
            auto it = reference.find({group, tagid});
            ASSERT_EQ(it == reference.end() ? nullptr : it->second, index.Find(group, tagid));
        }
    }
    size_t visited = 0;
    index.ForEach([&](TagRecord*) { ++visited; });
    EXPECT_EQ(reference.size(), visited);
    index.Reserve(100000);
    EXPECT_EQ(reference.begin()->second, index.Find(reference.begin()->first.first, reference.begin()->first.second));
}
