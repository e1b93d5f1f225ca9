#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "flow/key_conditions.h"
#include "tests/flow/flow_fixture.h"

namespace {

// Keys of a condition by number: directions 0..9 (1 left, 2 right, 4 down, 6 down-left,
// 8 down-right), buttons from 10 (11 button 1).
constexpr int kLeft = 1;
constexpr int kRight = 2;
constexpr int kDown = 4;
constexpr int kDownLeft = 6;
constexpr int kDownRight = 8;
constexpr int kButton1 = 11;

struct FRAMES {
    WORD direction;
    WORD buttons;
    int count;
};

// Player 1's key histories after these frames, the last one being the present.
void PlayFrames(std::initializer_list<FRAMES> frames)
{
    cInput& input = g_Input.At(0);
    input.ResetKeyHistories();
    for (const FRAMES& f : frames) {
        for (int i = 0; i < f.count; ++i) {
            input.m_wDirection = f.direction;
            input.m_wButton = f.buttons;
            input.RecordKeyHistories();
        }
    }
}

cKeyConditionData Held(std::initializer_list<int> keys, int minimum = 1, int maximum = 100, int mirror = 0)
{
    cKeyConditionData condition;
    condition.Init();
    for (int key : keys) condition.m_Keys[static_cast<std::size_t>(key)] = 1;
    condition.m_nMinFrames = static_cast<std::int16_t>(minimum);
    condition.m_nMaxFrames = static_cast<std::int16_t>(maximum);
    condition.m_bFacingRelative = static_cast<BYTE>(mirror);
    return condition;
}

bool Match(cChara& chara, std::vector<cKeyConditionData>& conditions, int tolerance)
{
    cSafeVector<cKeyConditionData*> pointers;
    for (cKeyConditionData& condition : conditions) pointers.push_back(&condition);
    return chara.MatchKeyConditions(pointers, tolerance);
}

constexpr WORD L = DIR_LEFT;
constexpr WORD R = DIR_RIGHT;
constexpr WORD D = DIR_DOWN;

}  // namespace

TEST(KeyConditions, ASequenceMatchesWithinTheToleranceAndMirrorsOnlyForACharaFacingLeft)
{
    struct Case {
        const char* what;
        std::initializer_list<FRAMES> frames;
        int tolerance;
        int mirror;
        int facing;   // 1 right, 0 left
        bool matches;
    } cases[] = {
        {"each step right after the last", {{D, 0, 3}, {D | R, 0, 3}, {R, 1, 2}}, 0, 0, 1, true},
        {"one frame of down-right", {{D, 0, 3}, {D | R, 0, 1}, {R, 1, 2}}, 0, 0, 1, true},
        {"a gap of 2, T = 0", {{D, 0, 3}, {0, 0, 2}, {D | R, 0, 3}, {R, 1, 2}}, 0, 0, 1, false},
        {"a gap of 2, T = 4", {{D, 0, 3}, {0, 0, 2}, {D | R, 0, 3}, {R, 1, 2}}, 4, 0, 1, true},
        {"a gap of 4, T = 4", {{D, 0, 3}, {0, 0, 4}, {D | R, 0, 3}, {R, 1, 2}}, 4, 0, 1, true},
        {"a gap of 5, T = 4", {{D, 0, 3}, {0, 0, 5}, {D | R, 0, 3}, {R, 1, 2}}, 4, 0, 1, false},
        {"gaps in two places, T = 4", {{D, 0, 3}, {0, 0, 3}, {D | R, 0, 3}, {0, 2, 3}, {R, 1, 2}}, 4, 0, 1, true},
        {"the last step must hold now", {{D, 0, 3}, {D | R, 0, 3}, {R, 1, 2}, {0, 0, 1}}, 4, 0, 1, false},
        {"out of order", {{D | R, 0, 3}, {D, 0, 3}, {R, 1, 2}}, 4, 0, 1, false},
        {"mirrored for a chara facing left", {{D, 0, 3}, {D | L, 0, 3}, {L, 1, 2}}, 0, 1, 0, true},
        {"not mirrored facing right", {{D, 0, 3}, {D | L, 0, 3}, {L, 1, 2}}, 0, 1, 1, false},
        {"not mirrored without the flag", {{D, 0, 3}, {D | L, 0, 3}, {L, 1, 2}}, 0, 0, 0, false},
        {"the flag facing right reads as written", {{D, 0, 3}, {D | R, 0, 3}, {R, 1, 2}}, 0, 1, 1, true},
        {"facing left the written keys no longer match", {{D, 0, 3}, {D | R, 0, 3}, {R, 1, 2}}, 0, 1, 0, false},
    };
    for (const Case& c : cases) {
        FlowStageFixture stage;
        stage.Chara().m_nDirection = c.facing;
        std::vector<cKeyConditionData> sequence = {Held({kDown}, 1, 100, c.mirror),
                                                   Held({kDownRight}, 1, 100, c.mirror),
                                                   Held({kRight, kButton1}, 1, 100, c.mirror)};
        PlayFrames(c.frames);
        EXPECT_EQ(Match(stage.Chara(), sequence, c.tolerance), c.matches) << c.what;
    }
}

TEST(KeyConditions, AStepFoundOneFrameLateCountsWhenTheNextStepDoesNotAlsoHoldThereOrWhenLenient)
{
    struct Case {
        int minimum;    // of the later step
        int tolerance;
        int lenient;
        bool matches;
    } cases[] = {
        // Button 1 and right pressed together: the button is found one frame into the right run.
        {1, 2, 0, false},   // right already holds there
        {1, 2, 1, true},
        {3, 2, 0, true},    // right held 1 frame is below its minimum there
        {1, 0, 1, false},   // no tolerance, no late look
    };
    for (const Case& c : cases) {
        FlowStageFixture stage;
        g_SystemData.m_bConditionSwitch = c.lenient;
        std::vector<cKeyConditionData> sequence = {Held({kButton1}), Held({kRight}, c.minimum)};
        PlayFrames({{0, 0, 3}, {R, 1, 3}});
        EXPECT_EQ(Match(stage.Chara(), sequence, c.tolerance), c.matches)
            << c.minimum << " " << c.tolerance << " " << c.lenient;
    }
}

TEST(KeyConditions, KeysPassByModeWithTheirDurations)
{
    FlowStageFixture stage;
    PlayFrames({{0, 0, 2}, {L, 0, 2}, {L, 2, 5}});   // left held 7, button 2 held 5
    KEYCURSORS cursors;
    ResetKeyCursors(cursors);
    struct Case {
        std::initializer_list<int> held;
        std::initializer_list<int> released;
        int mode, minimum, maximum, any;
        bool passes;
        int duration;
    } cases[] = {
        {{kLeft, 12}, {}, 0, 1, 10, 0, true, 5},
        {{kLeft, 12}, {}, 0, 6, 10, 0, false, 0},
        {{kLeft, 12}, {}, 1, 6, 10, 0, true, 7},
        {{kLeft, 12}, {}, 2, 6, 10, 0, true, 7},
        {{kLeft, 12}, {}, 2, 1, 10, 0, false, 0},
        {{kLeft, 12}, {}, 0, 20, 30, 1, true, 5},     // any duration: held at least 1
        {{kLeft}, {kRight, kButton1}, 0, 1, 10, 0, true, 7},   // released keys count their time released
        {{kDownLeft}, {}, 1, 1, 10, 0, false, 0},
        {{kLeft}, {}, 3, 1, 10, 0, false, 0},          // an unknown mode never passes
    };
    for (const Case& c : cases) {
        cKeyConditionData condition = Held(c.held, c.minimum, c.maximum);
        for (int key : c.released) condition.m_Keys[static_cast<std::size_t>(key)] = 2;
        condition.m_nKeyRule = static_cast<BYTE>(c.mode);
        condition.m_bAnyDuration = static_cast<BYTE>(c.any);
        int duration = 0;
        EXPECT_EQ(TestKeyConditionKeys(condition, cursors, false, duration), c.passes) << c.mode << c.minimum;
        if (c.passes) {
            EXPECT_EQ(duration, c.duration) << c.mode << c.minimum;
        }
    }
}

TEST(KeyConditions, CursorsMoveBackThroughTheRunsAndForwardAgain)
{
    FlowStageFixture stage;
    PlayFrames({{0, 0, 4}, {L, 0, 3}, {0, 0, 5}});   // left: released 5, held 3, released 4 + 0
    KEYCURSORS cursors;
    ResetKeyCursors(cursors);
    KEYCURSOR& left = cursors[kLeft];
    EXPECT_EQ(left.nRun, 0);
    EXPECT_EQ(left.nHeld, 5);
    UpdateKeyCounters(cursors, -2);
    EXPECT_EQ(left.nRun, 0);
    EXPECT_EQ(left.nHeld, 3);
    UpdateKeyCounters(cursors, -3);   // held 0: the last frame of the older run
    EXPECT_EQ(left.nRun, 1);
    EXPECT_EQ(left.nHeld, 3);
    UpdateKeyCounters(cursors, -2);
    EXPECT_EQ(left.nRun, 1);
    EXPECT_EQ(left.nHeld, 1);
    UpdateKeyCounters(cursors, 6);
    EXPECT_EQ(left.nRun, 0);
    EXPECT_EQ(left.nHeld, 4);
    UpdateKeyCounters(cursors, -100);   // past the oldest run: the cursor stops there
    EXPECT_EQ(left.nRun, INPUT_RING - 1);
}
