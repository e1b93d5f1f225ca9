// The millisecond timer, Sleep and the performance counter over the replaceable clock.
#include "platform/os/timer.h"

#include <gtest/gtest.h>
#include <time.h>

#include <cstdint>

namespace {

// Puts a manual clock in place for one test.
class ManualClockTest : public ::testing::Test {
protected:
    void SetUp() override { plat::SetClock(&m_Clock); }
    void TearDown() override { plat::SetClock(nullptr); }
    plat::cManualClock m_Clock;
};

TEST_F(ManualClockTest, EveryReadingFollowsTheClock)
{
    m_Clock.Set(5'000'000);
    EXPECT_EQ(timeGetTime(), 5000u);
    EXPECT_EQ(GetTickCount(), 5000u);
    m_Clock.Advance(1'500);
    EXPECT_EQ(timeGetTime(), 5001u) << "milliseconds are cut, not rounded";
    Sleep(10);
    EXPECT_EQ(timeGetTime(), 5011u) << "Sleep advances a manual clock";
    Sleep(0);
    EXPECT_EQ(timeGetTime(), 5011u);
    LARGE_INTEGER count{}, frequency{};
    ASSERT_TRUE(QueryPerformanceCounter(&count));
    ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
    EXPECT_EQ(count.QuadPart, 5'011'500);
    EXPECT_EQ(frequency.QuadPart, 1'000'000);
}

TEST_F(ManualClockTest, MillisecondTimerWrapsAt32BitsAndDifferencesStayRight)
{
    const std::uint64_t wrapMs = std::uint64_t{1} << 32;
    struct Case {
        std::uint64_t startMs;
        DWORD sleepMs;
        DWORD before, after;
    } cases[] = {
        {wrapMs - 2, 3, 0xFFFFFFFEu, 1u},
        {wrapMs - 1, 1, 0xFFFFFFFFu, 0u},
        {2 * wrapMs + 7, 16, 7u, 23u},
    };
    for (const auto& c : cases) {
        m_Clock.Set(c.startMs * 1000);
        const DWORD before = timeGetTime();
        Sleep(c.sleepMs);
        const DWORD after = timeGetTime();
        EXPECT_EQ(before, c.before) << c.startMs;
        EXPECT_EQ(after, c.after) << c.startMs;
        EXPECT_EQ(static_cast<DWORD>(after - before), c.sleepMs) << c.startMs;
    }
}

TEST(SystemClock, MillisecondTimerCountsFromBootLikeTheMonotonicClock)
{
    auto monotonicMs = [] {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        return static_cast<DWORD>(static_cast<std::uint64_t>(now.tv_sec) * 1000 + static_cast<std::uint64_t>(now.tv_nsec) / 1000000);
    };
    const DWORD before = monotonicMs();
    const DWORD reading = timeGetTime();
    const DWORD after = monotonicMs();
    EXPECT_LE(static_cast<DWORD>(reading - before), static_cast<DWORD>(after - before));
}

TEST(SystemClock, SettingNoClockPutsTheSystemClockBack)
{
    plat::cManualClock clock;
    clock.Set(123'000);
    plat::SetClock(&clock);
    EXPECT_EQ(timeGetTime(), 123u);
    plat::SetClock(nullptr);
    LARGE_INTEGER before{}, after{};
    ASSERT_TRUE(QueryPerformanceCounter(&before));
    const DWORD reading = timeGetTime();
    ASSERT_TRUE(QueryPerformanceCounter(&after));
    const DWORD first = static_cast<DWORD>(before.QuadPart / 1000);
    const DWORD last = static_cast<DWORD>(after.QuadPart / 1000);
    EXPECT_LE(static_cast<DWORD>(reading - first), static_cast<DWORD>(last - first)) << "both read the system clock";
    EXPECT_GT(before.QuadPart, 123'000);
}

}  // namespace
