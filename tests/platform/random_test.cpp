// The runtime's rand and srand: the generator replays use, one state per thread.
#include "platform/os/random.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <thread>
#include <vector>

namespace {

// The generator as the replay format defines it, written out independently.
std::vector<int> ReferenceDraws(std::uint32_t seed, int count)
{
    std::vector<int> draws;
    for (int i = 0; i < count; ++i) {
        seed = static_cast<std::uint32_t>(seed * 214013ull + 2531011ull);
        draws.push_back(static_cast<int>((seed >> 16) & 0x7FFF));
    }
    return draws;
}

std::vector<int> Draws(int count)
{
    std::vector<int> draws;
    for (int i = 0; i < count; ++i) draws.push_back(rand());
    return draws;
}

TEST(Random, CallsFromAnywhereReachTheRuntimesGenerator)
{
    // The C library's generator gives 1804289383 first from seed 1.
    srand(1);
    EXPECT_EQ(Draws(3), (std::vector<int>{41, 18467, 6334}));
}

TEST(Random, FollowsTheReplayGeneratorFromEverySeed)
{
    for (std::uint32_t seed : {0u, 1u, 2u, 12345u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu}) {
        srand(seed);
        EXPECT_EQ(Draws(2000), ReferenceDraws(seed, 2000)) << "seed " << seed;
    }
}

TEST(Random, EachThreadStartsAtOneAndKeepsItsOwnState)
{
    srand(777);
    const int mine = rand();
    std::vector<int> other;
    std::thread([&] { other = Draws(3); }).join();
    EXPECT_EQ(other, (std::vector<int>{41, 18467, 6334})) << "a new thread starts from seed 1";
    EXPECT_EQ(mine, ReferenceDraws(777, 1)[0]);
    EXPECT_EQ(rand(), ReferenceDraws(777, 2)[1]) << "the other thread's draws did not move this one";
}

}  // namespace
