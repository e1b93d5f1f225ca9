#include "shell/timing.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/os/timer.h"

namespace {

constexpr std::uint64_t kWrap = std::uint64_t(1) << 32;   // timeGetTime wraps here (ms)

// The frame functions on a clock that moves only when the test moves it.
class TimingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        plat::SetClock(&m_Clock);
        ResetTiming();
    }
    void TearDown() override
    {
        SetPaceFrameHooks(nullptr, nullptr);
        ResetTiming();
        plat::SetClock(nullptr);
    }
    void SetMs(std::uint64_t ms) { m_Clock.Set(ms * 1000); }
    void AdvanceMs(std::uint64_t ms) { m_Clock.Advance(ms * 1000); }

    plat::cManualClock m_Clock;
};

// Clock bases: an ordinary one, and one whose milliseconds cross 2^32 within the test.
const std::uint64_t kBases[] = {5000, kWrap - 20};

bool Direct3D() { return true; }
bool DirectDraw() { return false; }

std::vector<std::string> g_Overlay;
void RecordOverlay(DDSURFACEDATA*, const char* text) { g_Overlay.push_back(text); }

}  // namespace

TEST_F(TimingTest, StopwatchMeasuresFromItsStartAndKeepsTheLastLap)
{
    SetMs(kWrap - 5);
    EXPECT_EQ(StopwatchLap(false), 1u);   // before the first lap
    StopwatchStart();
    AdvanceMs(17);
    EXPECT_EQ(StopwatchLap(true), 17u);
    AdvanceMs(100);
    EXPECT_EQ(StopwatchLap(false), 17u);
}

TEST_F(TimingTest, CountFpsPublishesTheFramesOfEachFullSecond)
{
    for (std::uint64_t base : kBases) {
        ResetTiming();
        SetMs(base);
        // 60 frames in the first second: nothing published yet.
        for (int i = 0; i < 60; ++i) {
            EXPECT_EQ(CountFps(true), 0u) << base;
            AdvanceMs(16);
        }
        SetMs(base + 1000);
        EXPECT_EQ(CountFps(true), 60u) << base;   // this call starts the next second uncounted
        for (int i = 0; i < 30; ++i) {
            AdvanceMs(33);
            EXPECT_EQ(CountFps(true), 60u) << base;
        }
        EXPECT_EQ(CountFps(false), 60u);
        SetMs(base + 2000);
        EXPECT_EQ(CountFps(true), 30u) << base;
    }
}

TEST_F(TimingTest, CountEveryCountsResetsAndReportsZero)
{
    struct Step { int mode; unsigned n; int result; } steps[] = {
        {0, 3, 0}, {2, 3, 1},
        {1, 3, 0}, {2, 3, 0}, {1, 3, 0}, {1, 3, 1}, {2, 3, 1},
        {1, 3, 0}, {1, 3, 0}, {1, 3, 1},
        {5, 2, 0}, {5, 2, 1},
        {1, 3, 0}, {0, 3, 0}, {2, 3, 1},
    };
    for (std::size_t i = 0; i < std::size(steps); ++i)
        EXPECT_EQ(CountEvery(steps[i].mode, steps[i].n), steps[i].result) << "step " << i;
}

TEST_F(TimingTest, FrameRateGateOpensAtMostEvery1000OverRateMsFromWhenItOpened)
{
    // Offsets from the first call and whether the gate is open then, at 60 frames a second.
    struct Step { std::uint64_t at; bool open; } steps[] = {
        {0, true}, {1, false}, {15, false}, {16, true}, {17, false}, {31, false},
        {40, true},   // late: the next frame counts from here, due at 56
        {55, false}, {56, true}, {71, false}, {72, true},
    };
    for (std::uint64_t base : kBases) {
        ResetTiming();
        for (const auto& s : steps) {
            SetMs(base + s.at);
            EXPECT_EQ(FrameRateGate(60), s.open) << base << " +" << s.at;
        }
    }
}

TEST_F(TimingTest, FrameRateGateZeroAlwaysOpens)
{
    SetMs(100);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(FrameRateGate(0));
}

TEST_F(TimingTest, PaceFrameLetsEveryCallThroughOutsideDirect3DOrAtZeroFps)
{
    SetMs(100);
    EXPECT_TRUE(PaceFrame(60, false, nullptr));   // no graphics layer registered
    SetPaceFrameHooks(DirectDraw, nullptr);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(PaceFrame(60, false, nullptr));
    SetPaceFrameHooks(Direct3D, nullptr);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(PaceFrame(0, false, nullptr));
}

TEST_F(TimingTest, PaceFramePutsFramesOnMultiplesOfTheFrameTimeWithinEachSecond)
{
    SetPaceFrameHooks(Direct3D, nullptr);
    for (std::uint64_t base : kBases) {
        ResetTiming();
        // The present's loop: ask each millisecond until the frame is due, for 10 frames at 4
        // frames a second. Frame k of a pacing second is due at its start + k * 250 ms, and
        // the second starts again at the frame that completes 4 frames.
        std::vector<std::uint64_t> presented;
        SetMs(base);
        for (int ms = 0; presented.size() < 10 && ms < 5000; ) {
            if (PaceFrame(4, false, nullptr)) {
                presented.push_back(m_Clock.NowMicroseconds() / 1000 - base);
            } else {
                AdvanceMs(1);
                ++ms;
            }
        }
        const std::vector<std::uint64_t> expected = {0, 250, 500, 750, 750, 1000, 1250, 1500, 1500, 1750};
        EXPECT_EQ(presented, expected) << base;
    }
}

TEST_F(TimingTest, PaceFrameRoundsFractionalDueTimesUp)
{
    SetPaceFrameHooks(Direct3D, nullptr);
    SetMs(kWrap - 400);
    EXPECT_TRUE(PaceFrame(3, false, nullptr));   // due at +0
    SetMs(kWrap - 400 + 333);
    EXPECT_FALSE(PaceFrame(3, false, nullptr));  // due at +333.3
    SetMs(kWrap - 400 + 334);
    EXPECT_TRUE(PaceFrame(3, false, nullptr));
    SetMs(kWrap - 400 + 666);
    EXPECT_FALSE(PaceFrame(3, false, nullptr));  // due at +666.7, past the wrap
    SetMs(kWrap - 400 + 667);
    EXPECT_TRUE(PaceFrame(3, false, nullptr));
}

TEST_F(TimingTest, PaceFrameOverlayShowsAveragesOfSixteenFrames)
{
    g_Overlay.clear();
    SetPaceFrameHooks(Direct3D, RecordOverlay);
    int glyphSheet = 0;
    DDSURFACEDATA* glyphs = reinterpret_cast<DDSURFACEDATA*>(&glyphSheet);
    SetMs(10000);
    // Each frame works 10 ms, then the present waits for its due time; pacing starts at the
    // first present, 10010.
    for (int frame = 0; frame < 17; ++frame) {
        StopwatchStart();
        AdvanceMs(10);
        StopwatchLap(true);
        for (int ms = 0; ms < 100 && !PaceFrame(50, true, glyphs); ++ms) AdvanceMs(1);
    }
    ASSERT_EQ(g_Overlay.size(), 17u);
    EXPECT_EQ(g_Overlay[0], "FPS-Ave 0(0)\ndwTime_OneSec 10010\nnFrameCt_OneSec 1");
    EXPECT_EQ(g_Overlay[14], "FPS-Ave 0(0)\ndwTime_OneSec 10010\nnFrameCt_OneSec 15");
    // The 16th sample completes the ring: the work time averages 10 ms.
    EXPECT_EQ(g_Overlay[15], "FPS-Ave 0(10)\ndwTime_OneSec 10010\nnFrameCt_OneSec 16");

    // Without glyphs nothing is drawn.
    AdvanceMs(100);
    EXPECT_TRUE(PaceFrame(50, true, nullptr));
    EXPECT_EQ(g_Overlay.size(), 17u);
}
