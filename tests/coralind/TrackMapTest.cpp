#include "coralind/TrackMap.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <utility>
#include <vector>

namespace {

using Entries = std::vector<std::pair<std::int32_t, std::string>>;

Entries InOrder(const CTrackMap& map)
{
    Entries out;
    map.ForEach([&out](std::int32_t id, std::string_view path) { out.emplace_back(id, std::string(path)); });
    return out;
}

TEST(TrackMapTest, BucketIsTheUnsignedNumberShiftedByFourModuloSeventeen)
{
    struct Case {
        std::int32_t id;
        unsigned bucket;
    };
    const Case cases[] = {
        {0, 0}, {15, 0}, {16, 1}, {17 * 16, 0}, {1203, 75 % 17}, {-1, 0x0FFFFFFFu % 17}, {INT32_MIN, 0x08000000u % 17}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(CTrackMap::BucketOf(c.id), c.bucket);
    }
}

TEST(TrackMapTest, IteratesBucketsInOrderNewestFirstWithinEach)
{
    CTrackMap map;
    map.Set(1, "a");    // bucket 0
    map.Set(16, "b");   // bucket 1
    map.Set(2, "c");    // bucket 0, goes in front of 1
    map.Set(272, "d");  // 272 >> 4 = 17: bucket 0, front
    map.Set(-1, "e");   // 0x0FFFFFFF % 17: bucket 15
    const Entries expected = {{272, "d"}, {2, "c"}, {1, "a"}, {16, "b"}, {-1, "e"}};
    EXPECT_EQ(InOrder(map), expected);
}

TEST(TrackMapTest, ReplacingKeepsThePlaceAndRemovingThenAddingMovesToTheFront)
{
    CTrackMap map;
    map.Set(1, "a");
    map.Set(2, "b");
    map.Set(3, "c");
    map.Set(2, "B");
    EXPECT_EQ(InOrder(map), (Entries{{3, "c"}, {2, "B"}, {1, "a"}}));
    EXPECT_TRUE(map.Remove(1));
    EXPECT_FALSE(map.Remove(1));
    map.Set(1, "z");
    EXPECT_EQ(InOrder(map), (Entries{{1, "z"}, {3, "c"}, {2, "B"}}));
    EXPECT_EQ(map.Size(), 3u);
    ASSERT_TRUE(map.Find(2));
    EXPECT_EQ(*map.Find(2), "B");
    EXPECT_FALSE(map.Find(4));
}

// Long runs of inserts and removals against a plain map: the index must stay
// exact through growth and backward-shift deletion.
TEST(TrackMapTest, AgreesWithAReferenceMapUnderChurn)
{
    std::mt19937 rng(1234);
    std::uniform_int_distribution<std::int32_t> small(-2000, 2000);
    CTrackMap map;
    std::map<std::int32_t, std::string> reference;
    for (int step = 0; step < 60000; ++step) {
        const std::int32_t id = step % 5 == 0 ? static_cast<std::int32_t>(rng()) : small(rng);
        if (rng() % 3 == 0) {
            EXPECT_EQ(map.Remove(id), reference.erase(id) == 1);
        } else {
            const std::string path = "p" + std::to_string(step);
            map.Set(id, path);
            reference[id] = path;
        }
    }
    ASSERT_EQ(map.Size(), reference.size());
    for (std::int32_t id = -2000; id <= 2000; ++id) {
        const auto it = reference.find(id);
        const auto found = map.Find(id);
        ASSERT_EQ(found.has_value(), it != reference.end()) << id;
        if (found) {
            EXPECT_EQ(*found, it->second);
        }
    }
    std::size_t visited = 0;
    unsigned lastBucket = 0;
    map.ForEach([&](std::int32_t id, std::string_view path) {
        ++visited;
        EXPECT_GE(CTrackMap::BucketOf(id), lastBucket);
        lastBucket = CTrackMap::BucketOf(id);
        EXPECT_EQ(reference.at(id), path);
    });
    EXPECT_EQ(visited, reference.size());
}

}  // namespace
