// The input record: direction numbers, its state at start, key repeat, triggers and histories.
#include "shell/input.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "tests/shell/input_fixture.h"

using qbtest::StartedInput;

TEST(DirectionNumber, FollowsTheTableWithLeftAndUpWinning)
{
    struct Case { WORD word; int number; } cases[] = {
        {0, 5}, {1, 4}, {2, 6}, {4, 2}, {8, 8}, {5, 1}, {9, 7}, {6, 3}, {10, 9},
        {3, 4}, {12, 2}, {15, 1}, {14, 3}, {11, 7},
    };
    for (const auto& c : cases) EXPECT_EQ(DirectionNumber(c.word), c.number) << c.word;
}

TEST(Input, StartsEmpty)
{
    const cInput input;
    EXPECT_EQ(input.m_wDirection, 0);
    EXPECT_EQ(input.m_wButton, 0);
    EXPECT_EQ(input.m_nDirection, 5);
    ASSERT_EQ(input.m_DirectionKeyLog.size(), 10u);
    ASSERT_EQ(input.m_ButtonKeyLog.size(), 9u);
    for (const auto* logs : {&input.m_DirectionKeyLog, &input.m_ButtonKeyLog}) {
        for (const auto& history : *logs) {
            ASSERT_EQ(history.size(), 32u);
            for (const auto& s : history) EXPECT_TRUE(s.nPressed == 0 && s.nFrames == 0);
        }
    }
    for (int ring = 0; ring < 2; ++ring) {
        EXPECT_EQ(input.m_nStateRingPos[ring], 0);
        EXPECT_EQ(input.StateAgo(ring, 0), 0);
    }
    for (int j = 0; j < 8; ++j) EXPECT_EQ(input.m_nJoystickRetry[j], 0);
    ASSERT_EQ(g_Input.size(), 1u);
}


TEST(InputRepeat, HeldDirectionsRepeatAfterTheDelayAtTheIntervalPerAxis)
{
    // Right held from frame 0, up added on frame 20.
    cInput input = StartedInput();
    std::string right, up;
    for (int frame = 0; frame < 46; ++frame) {
        input.m_wDirection = frame >= 20 ? DIR_RIGHT | DIR_UP : DIR_RIGHT;
        input.m_nDirection = DirectionNumber(input.m_wDirection);
        input.ApplyRepeat();
        if (input.m_wDirection & DIR_RIGHT) right += std::to_string(frame) + ' ';
        if (input.m_wDirection & DIR_UP) up += std::to_string(frame) + ' ';
        EXPECT_EQ(input.m_nDirection, frame >= 20 ? 3 : 6) << frame;   // the number is not filtered
    }
    EXPECT_EQ(right, "0 18 24 30 36 42 ");
    EXPECT_EQ(up, "20 38 44 ");
}

TEST(InputRepeat, ReleasingAndPressingAgainPassesAtOnce)
{
    cInput input = StartedInput();
    const WORD held[] = {DIR_LEFT, DIR_LEFT, 0, DIR_LEFT, DIR_RIGHT, DIR_RIGHT};
    const WORD reported[] = {DIR_LEFT, 0, 0, DIR_LEFT, DIR_RIGHT, 0};
    for (int frame = 0; frame < 6; ++frame) {
        input.m_wDirection = held[frame];
        input.ApplyRepeat();
        EXPECT_EQ(input.m_wDirection, reported[frame]) << frame;
    }
}

TEST(InputRepeat, AZeroIntervalNeverRepeats)
{
    cInput input;
    input.SetRepeat(2, 0);
    for (int frame = 0; frame < 10; ++frame) {
        input.m_wDirection = DIR_DOWN;
        input.ApplyRepeat();
        EXPECT_EQ(input.m_wDirection, frame == 0 ? DIR_DOWN : 0) << frame;
    }
}

TEST(InputTrigger, APressPassesOnceUntilEveryMaskedButtonIsReleased)
{
    struct Step { WORD held; WORD passed; };
    struct Case { const char* what; WORD mask; std::vector<Step> steps; } cases[] = {
        {"button 1 held for 5 frames", 3, {{1, 1}, {1, 0}, {1, 0}, {1, 0}, {1, 0}}},
        {"button 2 pressed while 1 is held", 3, {{1, 1}, {3, 0}, {3, 0}, {2, 0}, {0, 0}, {2, 2}}},
        {"release, then a new press", 3, {{1, 1}, {0, 0}, {1, 1}, {0, 0}, {2, 2}}},
        {"two buttons on the same frame pass together", 3, {{3, 3}, {3, 0}, {0, 0}}},
        {"buttons outside the mask pass", 3, {{5, 5}, {5, 4}, {4, 4}, {6, 6}, {6, 4}}},
        {"mask 15", 15, {{8, 8}, {12, 0}, {16, 16}, {1, 1}}},
        {"mask 0 is all eight", 0, {{128, 128}, {128, 0}, {64, 0}, {0, 0}, {64, 64}}},
    };
    for (const auto& c : cases) {
        cInput input = StartedInput();
        for (std::size_t i = 0; i < c.steps.size(); ++i) {
            input.m_wButton = c.steps[i].held;
            input.TriggerButtons(c.mask);
            EXPECT_EQ(input.m_wButton, c.steps[i].passed) << c.what << ", frame " << i;
        }
    }
}

TEST(InputHistory, StateAgoGivesTheWordOfEarlierFrames)
{
    cInput input;
    input.ClearHistory();
    const WORD buttons[] = {0, 0, 1};
    for (WORD b : buttons) {
        input.m_wButton = b;
        input.RecordHistory();
    }
    EXPECT_EQ(input.StateAgo(1, 0), 1);
    EXPECT_EQ(input.StateAgo(1, 1), 0);
    EXPECT_EQ(input.StateAgo(1, 2), 0);

    // Direction runs 2 (3 frames), 8 (1 frame), 1 (2 frames).
    input.ClearHistory();
    const WORD directions[] = {2, 2, 2, 8, 1, 1};
    for (WORD d : directions) {
        input.m_wDirection = d;
        input.RecordHistory();
    }
    const WORD expected[] = {1, 1, 8, 2, 2, 2};
    for (int n = 0; n < 6; ++n) EXPECT_EQ(input.StateAgo(0, n), expected[n]) << n;
}

TEST(InputHistory, TheRingsKeepTheLast32Runs)
{
    cInput input;
    input.ClearHistory();
    for (int frame = 0; frame < 40; ++frame) {
        input.m_wButton = static_cast<WORD>(frame + 1);   // a new run every frame
        input.RecordHistory();
    }
    EXPECT_EQ(input.m_nStateRingPos[1], 40 % 32);
    for (int n = 0; n < 32; ++n) EXPECT_EQ(input.StateAgo(1, n), 40 - n) << n;
}

TEST(InputHistory, RunsStopGrowingAtTheLargestInt)
{
    cInput input;
    input.ClearHistory();
    input.m_wDirection = 4;
    input.RecordHistory();
    input.m_StateRing[0][input.m_nStateRingPos[0]].nFrames = INT_MAX;
    input.RecordHistory();
    EXPECT_EQ(input.m_StateRing[0][input.m_nStateRingPos[0]].nFrames, INT_MAX);

    cSafeVector<KEYSAMPLE> history(32, KEYSAMPLE{1, INT_MAX});
    cInput::RecordKey(history, 1, 1, true);
    EXPECT_EQ(history[0].nFrames, INT_MAX);
}

TEST(InputHistory, PerKeyHistoriesRecordPressesNewestFirst)
{
    cInput input;
    // Frames: up-left twice, then nothing, then button 2 with up-left once more.
    struct Frame { WORD direction, buttons; } frames[] = {{5, 0}, {5, 0}, {0, 0}, {5, 2}};
    for (const auto& f : frames) {
        input.m_wDirection = f.direction;
        input.m_wButton = f.buttons;
        input.RecordKeyHistories();
    }
    using Samples = std::vector<std::pair<int, int>>;
    auto newest = [](const cSafeVector<KEYSAMPLE>& h, int n) {
        Samples s;
        for (int i = 0; i < n; ++i) s.push_back({h[i].nPressed, h[i].nFrames});
        return s;
    };
    // Up-left (history 5): pressed 1, released 1, pressed 2, then the initial {0, 0}.
    EXPECT_EQ(newest(input.m_DirectionKeyLog[5], 4), (Samples{{1, 1}, {0, 1}, {1, 2}, {0, 0}}));
    // Any direction (history 9) in bit mode: the same.
    EXPECT_EQ(newest(input.m_DirectionKeyLog[9], 4), (Samples{{1, 1}, {0, 1}, {1, 2}, {0, 0}}));
    // Left alone (history 1) is an equality test: never pressed.
    EXPECT_EQ(newest(input.m_DirectionKeyLog[1], 2), (Samples{{0, 4}, {0, 0}}));
    // No direction (history 0): pressed on frame 3 only.
    EXPECT_EQ(newest(input.m_DirectionKeyLog[0], 4), (Samples{{0, 1}, {1, 1}, {0, 2}, {0, 0}}));
    // No button (button history 0): pressed for three frames, then released.
    EXPECT_EQ(newest(input.m_ButtonKeyLog[0], 3), (Samples{{0, 1}, {1, 3}, {0, 0}}));
    EXPECT_EQ(newest(input.m_ButtonKeyLog[2], 2), (Samples{{1, 1}, {0, 3}}));
    EXPECT_EQ(newest(input.m_ButtonKeyLog[1], 1), (Samples{{0, 4}}));
    for (const auto* logs : {&input.m_DirectionKeyLog, &input.m_ButtonKeyLog}) {
        for (const auto& h : *logs) EXPECT_EQ(h.size(), 32u);
    }

    // Many changes: the history stays 32 samples long, the oldest dropped.
    for (int frame = 0; frame < 100; ++frame) {
        input.m_wButton = frame % 2;
        input.RecordKeyHistories();
    }
    EXPECT_EQ(input.m_ButtonKeyLog[1].size(), 32u);
    EXPECT_EQ(input.m_ButtonKeyLog[1][0].nPressed, 1);

    input.ResetKeyHistories();
    for (const auto& h : input.m_ButtonKeyLog) {
        ASSERT_EQ(h.size(), 32u);
        EXPECT_EQ(h[0].nPressed, 0);
        EXPECT_EQ(h[0].nFrames, 0);
    }
}

TEST(InputHistory, ACopyCarriesTheHistories)
{
    cInput input;
    input.m_wButton = 8;
    input.RecordHistory();
    input.RecordKeyHistories();
    cInput copy = input;
    input.ClearHistory();
    input.ResetKeyHistories();
    EXPECT_EQ(copy.StateAgo(1, 0), 8);
    EXPECT_EQ(copy.m_ButtonKeyLog[4][0].nPressed, 1);
}
