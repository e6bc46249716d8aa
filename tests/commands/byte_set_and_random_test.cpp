#include <gtest/gtest.h>

#include <set>
#include <thread>
#include <vector>

#include "commands/byte_set_algorithms.h"
#include "commands/random_generator.h"

namespace ruvelto::commands {
namespace {

const std::vector<uint8_t> kData = {1, 2, 3, 1, 2, 4, 0, 9};

std::vector<uint8_t> V(Bytes b) { return {b.begin(), b.end()}; }

TEST(ByteSets, CuttingClampsPositionsAndCounts) {
    using B = std::vector<uint8_t>;
    EXPECT_EQ(V(LeftBytes(kData, 3)), (B{1, 2, 3}));
    EXPECT_EQ(V(LeftBytes(kData, 99)), kData);
    EXPECT_EQ(V(LeftBytes(kData, -1)), B{});
    EXPECT_EQ(V(MiddleBytes(kData, 2, 3)), (B{2, 3, 1}));
    EXPECT_EQ(V(MiddleBytes(kData, 0, 2)), (B{1, 2}));        // start below 1 counts as 1
    EXPECT_EQ(V(MiddleBytes(kData, -50, 1)), (B{1}));
    EXPECT_EQ(V(MiddleBytes(kData, 7, 99)), (B{0, 9}));
    EXPECT_EQ(V(MiddleBytes(kData, 9, 1)), B{});              // past the end
    EXPECT_EQ(V(MiddleBytes(kData, INT32_MAX, INT32_MAX)), B{});
    EXPECT_EQ(V(MiddleBytes(kData, 3, -2)), B{});
    EXPECT_EQ(V(MiddleBytes({}, 1, 5)), B{});
}

TEST(ByteSets, FindBytesIsAPlainByteSearch) {
    const std::vector<uint8_t> s12 = {1, 2}, s124 = {1, 2, 4}, s9 = {9}, s90 = {9, 0}, none;
    EXPECT_EQ(FindBytes(kData, s12, std::nullopt), 1);
    EXPECT_EQ(FindBytes(kData, s124, std::nullopt), 4);  // first candidate 1 fails, second fits
    EXPECT_EQ(FindBytes(kData, s12, 2), 4);
    EXPECT_EQ(FindBytes(kData, s12, 0), 1);
    EXPECT_EQ(FindBytes(kData, s12, -3), 1);
    EXPECT_EQ(FindBytes(kData, s9, 8), 8);
    EXPECT_EQ(FindBytes(kData, s90, std::nullopt), -1);  // would run past the end
    EXPECT_EQ(FindBytes(kData, s9, 9), -1);
    EXPECT_EQ(FindBytes(kData, s9, INT32_MAX), -1);
    EXPECT_EQ(FindBytes(kData, none, std::nullopt), -1);
    EXPECT_EQ(FindBytes({}, s9, std::nullopt), -1);
}

TEST(Random, IsTheStandardLinearCongruentialSequence) {
    SetRandomSeed(1);
    const std::vector<int32_t> draws = {DrawRandom(), DrawRandom(), DrawRandom(), DrawRandom()};
    EXPECT_EQ(draws, (std::vector<int32_t>{41, 18467, 6334, 26500}));
}

TEST(Random, EachThreadStartsAtStateOne) {
    SetRandomSeed(12345);
    int32_t first = -1;
    std::thread([&first] { first = DrawRandom(); }).join();
    EXPECT_EQ(first, 41);
}

TEST(Random, GetRandomBounds) {
    SetRandomSeed(7);
    std::set<int32_t> seen;
    for (int k = 0; k < 500; ++k) {
        const int32_t r = GetRandom(10, 5);  // swapped bounds draw from 5..10
        ASSERT_GE(r, 5);
        ASSERT_LE(r, 10);
        seen.insert(r);
    }
    EXPECT_EQ(seen.size(), 6u);
    int32_t largest = 0;
    for (int k = 0; k < 2000; ++k) {
        const int32_t r = GetRandom(std::nullopt, std::nullopt);  // 0..32767 in practice
        ASSERT_GE(r, 0);
        ASSERT_LE(r, 32767);
        largest = std::max(largest, r);
    }
    EXPECT_GT(largest, 30000);
    EXPECT_EQ(GetRandom(-5, -1), 0);  // negatives count as 0, equal bounds need no draw
    SetRandomSeed(1);
    EXPECT_EQ(GetRandom(3, 3), 3);
    EXPECT_EQ(DrawRandom(), 41);  // nothing was drawn
    SetRandomSeed(1);
    EXPECT_EQ(GetRandom(100, std::nullopt), 100 + 41);
    SetRandomSeed(1);
    EXPECT_EQ(GetRandom(std::nullopt, 9), 41 % 10);
}

TEST(Random, ClockSeedsWithinOneTickDiffer) {
    SetRandomSeedFromClock(5000);
    const int32_t a = DrawRandom();
    SetRandomSeedFromClock(5000);
    const int32_t b = DrawRandom();
    EXPECT_NE(a, b);
}

}  // namespace
}  // namespace ruvelto::commands
