#include "shell/input.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "platform/os/files.h"
#include "platform/input/keyboard.h"
#include "shell/key_config.h"
#include "tests/support/byte_builder.h"
#include "tests/support/temp_folder.h"
#include "tests/support/virtual_joystick.h"

namespace {

using qbtest::cVirtualJoysticks;

constexpr int kKeyboard = 8;

// A fresh record set up as start-up leaves it.
cInput StartedInput()
{
    cInput input;
    input.SetRepeat(18, 6);
    input.ResetButtonMasks();
    return input;
}

class InputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        plat::ClearKeyStates();
        DefaultKeyConfig(g_KeyConfig);
    }
    void TearDown() override
    {
        plat::ClearKeyStates();
        g_KeyConfig = KEYCONFIG{};
    }
    static void Hold(std::initializer_list<int> keys)
    {
        plat::ClearKeyStates();
        for (int vk : keys) plat::SetKeyState(vk, true);
    }
};

}  // namespace

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

TEST_F(InputTest, FixedPollingReadsTheArrowsAndZXCVASDF)
{
    struct Case { std::initializer_list<int> keys; WORD direction; int number; WORD buttons; } cases[] = {
        {{}, 0, 5, 0},
        {{VK_LEFT}, 1, 4, 0},
        {{VK_RIGHT, VK_DOWN}, 10, 9, 0},
        {{VK_LEFT, VK_RIGHT}, 3, 5, 0},             // both bits, and the number cancels out
        {{VK_UP, VK_DOWN, VK_LEFT}, 13, 4, 0},
        {{'Z'}, 0, 5, 1},
        {{'Z', 'X', 'C', 'V', 'A', 'S', 'D', 'F'}, 0, 5, 255},
        {{'F', 'C', VK_UP}, 4, 2, 128 | 4},
        {{'Q', VK_SPACE}, 0, 5, 0},
    };
    cInput input = StartedInput();
    for (const auto& c : cases) {
        Hold(c.keys);
        ASSERT_EQ(input.PollDefault(0, 2, 60), 1);
        EXPECT_EQ(input.m_wDirection, c.direction);
        EXPECT_EQ(input.m_nDirection, c.number);
        EXPECT_EQ(input.m_wButton, c.buttons);
    }
}

TEST_F(InputTest, ConfiguredPollingReadsTheTableWithLeftAndUpWinning)
{
    g_KeyConfig.bUse = 1;
    g_KeyConfig.Entry[4].wCode = VK_SPACE;   // button 1 on the space bar
    struct Case { std::initializer_list<int> keys; WORD direction; int number; WORD buttons; } cases[] = {
        {{VK_LEFT, VK_RIGHT}, 1, 4, 0},
        {{VK_RIGHT}, 2, 6, 0},
        {{VK_UP, VK_DOWN, VK_RIGHT}, 6, 3, 0},
        {{VK_DOWN}, 8, 8, 0},
        {{'Z'}, 0, 5, 0},
        {{VK_SPACE, 'F'}, 0, 5, 129},
    };
    cInput input = StartedInput();
    for (const auto& c : cases) {
        Hold(c.keys);
        ASSERT_EQ(input.PollKeyConfig(1, 60), 1);
        EXPECT_EQ(input.m_wDirection, c.direction);
        EXPECT_EQ(input.m_nDirection, c.number);
        EXPECT_EQ(input.m_wButton, c.buttons);
    }
}

TEST_F(InputTest, TheUseFlagChoosesWhichPollWorks)
{
    cInput input = StartedInput();
    Hold({VK_LEFT});
    g_KeyConfig.bUse = 0;
    EXPECT_EQ(input.PollKeyConfig(1, 60), 0);
    EXPECT_EQ(input.m_wDirection, 0);
    g_KeyConfig.bUse = 1;
    EXPECT_EQ(input.PollDefault(0, 3, 60), 0);
    EXPECT_EQ(input.m_wDirection, 0);
    EXPECT_EQ(input.PollKeyConfig(1, 60), 1);
    EXPECT_EQ(input.m_wDirection, 1);
}

TEST_F(InputTest, ConfiguredButtonsStopAtTheEntryCountAndBadDevicesAreNeverDown)
{
    g_KeyConfig.bUse = 1;
    Hold({'Z', 'X', 'C', 'V', 'A', 'S', 'D', 'F', VK_LEFT, VK_UP});
    struct Case { int entries; int joysticks; int device; WORD buttons; } cases[] = {
        {12, 1, kKeyboard, 255},
        {6, 1, kKeyboard, 3},
        {4, 1, kKeyboard, 0},
        {0, 1, kKeyboard, 0},
        {-7, 1, kKeyboard, 0},
        {99, 1, kKeyboard, 255},          // beyond the table: clamped to its 12 entries
        {12, 1, -1, 0},                   // no such device
        {12, 1, 9, 0},
        {12, 1, 1 << 30, 0},
        {12, 0, 0, 0},                    // joystick 0 is not polled
        {12, -5, 0, 0},
        {12, 1000, 7, 0},                 // joysticks clamped to 8; number 7 is absent
    };
    for (const auto& c : cases) {
        g_KeyConfig.nEntries = c.entries;
        g_KeyConfig.nJoysticks = c.joysticks;
        for (auto& e : g_KeyConfig.Entry) e.nDevice = c.device;
        cInput input = StartedInput();
        EXPECT_EQ(input.PollKeyConfig(1, 60), 1);
        EXPECT_EQ(input.m_wButton, c.buttons) << c.entries << ' ' << c.device;
        EXPECT_EQ(input.m_wDirection, c.device == kKeyboard ? 5 : 0) << c.entries << ' ' << c.device;
    }
}

TEST_F(InputTest, JoystickAxisCodesHaveTheirThresholds)
{
    struct Case { DWORD x, y; int code; bool pressed; } cases[] = {
        {10000, 32768, 256, true}, {10001, 32768, 256, false},
        {55535, 32768, 512, true}, {55534, 32768, 512, false},
        {32768, 10000, 1024, true}, {32768, 10001, 1024, false},
        {32768, 55535, 2048, true}, {32768, 55534, 2048, false},
        {0, 0, 1, false}, {0, 0, 768, false}, {0, 0, 0, false},
    };
    for (const auto& c : cases) {
        JOYINFOEX joy{};
        joy.dwXpos = c.x;
        joy.dwYpos = c.y;
        EXPECT_EQ(cInput::JoystickAxisPressed(joy, c.code), c.pressed) << c.x << ',' << c.y << ' ' << c.code;
    }
}

TEST_F(InputTest, AJoystickAxisAtEachThresholdThroughBothPolls)
{
    cVirtualJoysticks joysticks;
    ASSERT_TRUE(joysticks.Ok());
    ASSERT_FALSE(joysticks.FreeIds().empty());
    const int id = static_cast<int>(joysticks.FreeIds()[0]);
    SDL_Joystick* j = joysticks.Attach();
    ASSERT_NE(j, nullptr) << SDL_GetError();

    // Configured polling: the four direction entries on this joystick's axis codes.
    KEYCONFIG table = g_KeyConfig;
    table.nJoysticks = id + 1;
    const WORD axisCodes[4] = {256, 512, 1024, 2048};
    for (int e = 0; e < 4; ++e) table.Entry[e] = {id, axisCodes[e], 0};
    table.bUse = 1;

    struct Case { DWORD x, y; WORD direction; int number; } cases[] = {
        {0, 32768, 1, 4}, {10000, 32768, 1, 4}, {10001, 32768, 0, 5}, {55534, 32768, 0, 5},
        {55535, 32768, 2, 6}, {65535, 32768, 2, 6},
        {32768, 10000, 4, 2}, {32768, 10001, 0, 5}, {32768, 55534, 0, 5}, {32768, 55535, 8, 8},
        {10000, 55535, 9, 7}, {55535, 10000, 6, 3},
    };
    for (const auto& c : cases) {
        cVirtualJoysticks::SetPosition(j, c.x, c.y);
        cVirtualJoysticks::Update();
        cInput input = StartedInput();
        g_KeyConfig = KEYCONFIG{};
        ASSERT_EQ(input.PollDefault(id, 1, 60), 1);
        EXPECT_EQ(input.m_wDirection, c.direction) << "fixed " << c.x << ',' << c.y;
        EXPECT_EQ(input.m_nDirection, c.number) << "fixed " << c.x << ',' << c.y;
        g_KeyConfig = table;
        ASSERT_EQ(input.PollKeyConfig(1, 60), 1);
        EXPECT_EQ(input.m_wDirection, c.direction) << "configured " << c.x << ',' << c.y;
        EXPECT_EQ(input.m_nDirection, c.number) << "configured " << c.x << ',' << c.y;
    }
}

TEST_F(InputTest, TheJoystickReplacesTheKeyboardOnlyWhereItGivesSomething)
{
    cVirtualJoysticks joysticks;
    ASSERT_FALSE(joysticks.FreeIds().empty());
    const int id = static_cast<int>(joysticks.FreeIds()[0]);
    SDL_Joystick* j = joysticks.Attach();
    ASSERT_NE(j, nullptr);
    g_KeyConfig = KEYCONFIG{};
    struct Case { DWORD x; DWORD joyButtons; std::initializer_list<int> keys; WORD direction; WORD buttons; } cases[] = {
        {32768, 0, {VK_UP, 'X'}, 4, 2},        // nothing from the joystick: the keyboard's
        {0, 0, {VK_UP, 'X'}, 1, 2},            // joystick direction replaces the keyboard's
        {32768, 1, {VK_UP, 'X'}, 4, 1},        // joystick buttons replace the keyboard's
        {65535, 0x30, {VK_LEFT, 'Z'}, 2, 0x30},
    };
    for (const auto& c : cases) {
        cVirtualJoysticks::SetPosition(j, c.x, 32768);
        cVirtualJoysticks::SetButtons(j, c.joyButtons);
        cVirtualJoysticks::Update();
        Hold(c.keys);
        cInput input = StartedInput();
        ASSERT_EQ(input.PollDefault(id, 3, 60), 1);
        EXPECT_EQ(input.m_wDirection, c.direction) << c.x << ' ' << c.joyButtons;
        EXPECT_EQ(input.m_wButton, c.buttons) << c.x << ' ' << c.joyButtons;
    }

    // The button masks decide which joystick buttons make which button.
    cVirtualJoysticks::SetPosition(j, 32768, 32768);
    cVirtualJoysticks::SetButtons(j, 0x800);
    cVirtualJoysticks::Update();
    plat::ClearKeyStates();
    cInput input = StartedInput();
    input.m_wJoyButtonMask[2] = 0x800;
    input.PollDefault(id, 1, 60);
    EXPECT_EQ(input.m_wButton, 4);
}

TEST_F(InputTest, AMissingJoystickIsTriedAgainEvery121Frames)
{
    cVirtualJoysticks joysticks;
    ASSERT_FALSE(joysticks.FreeIds().empty());
    const int id = static_cast<int>(joysticks.FreeIds()[0]);
    g_KeyConfig = KEYCONFIG{};
    cInput input = StartedInput();
    plat::ClearKeyStates();
    EXPECT_EQ(input.PollDefault(id, 1, 60), 1);   // frame 0: absent
    EXPECT_EQ(input.m_nJoystickRetry[id], 120);

    SDL_Joystick* j = joysticks.Attach();
    ASSERT_NE(j, nullptr);
    cVirtualJoysticks::SetPosition(j, 0, 32768);
    cVirtualJoysticks::Update();
    for (int frame = 1; frame <= 121; ++frame) {
        input.m_wDirection = 0;
        input.PollDefault(id, 1, 60);
        EXPECT_EQ(input.m_wDirection, frame == 121 ? 1 : 0) << frame;
    }
}

TEST_F(InputTest, OneAbsentJoystickDoesNotSwitchOffAnother)
{
    cVirtualJoysticks joysticks;
    ASSERT_GE(joysticks.FreeIds().size(), 2u);
    const int absent = static_cast<int>(joysticks.FreeIds()[0]);
    const int present = static_cast<int>(joysticks.FreeIds()[1]);
    SDL_Joystick* first = joysticks.Attach();
    SDL_Joystick* second = joysticks.Attach();
    ASSERT_TRUE(first && second);
    cVirtualJoysticks::Update();   // both get their ids
    joysticks.Detach(first);
    cVirtualJoysticks::SetButtons(second, 1);
    cVirtualJoysticks::Update();

    KEYCONFIG table{};
    table.nEntries = 12;
    table.nJoysticks = std::max(absent, present) + 1;
    for (auto& e : table.Entry) e = {kKeyboard, 0, 0};
    table.Entry[4] = {absent, 1, 0};
    table.Entry[5] = {present, 1, 0};
    table.bUse = 1;
    g_KeyConfig = table;
    cInput input = StartedInput();
    for (int frame = 0; frame < 5; ++frame) {
        input.PollKeyConfig(1, 60);
        EXPECT_EQ(input.m_wButton, 2) << frame;
    }
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

// "user_data\KeyConfig.dat": 12 entries of {i32 device, u16 code, u16 unused}, then i32 entry
// count, i32 joystick count, i32 use flag.
class KeyConfigFile : public ::testing::Test {
protected:
    void SetUp() override { m_Folder.ChangeInto(); }

    static qbtest::cByteBuilder Table(int entries, int joysticks, int use)
    {
        qbtest::cByteBuilder b;
        for (int i = 0; i < 12; ++i) b.I32(i % 2 ? kKeyboard : 0).U16(static_cast<std::uint16_t>(100 + i)).U16(0xBEEF);
        b.I32(entries).I32(joysticks).I32(use);
        return b;
    }

    bool Read(const std::string& bytes, KEYCONFIG& config)
    {
        m_Folder.WriteFile("user_data/KeyConfig.dat", bytes);
        plat::FlushPathCache();
        return ReadKeyConfig("user_data\\KeyConfig.dat", config);
    }

    qbtest::cTempFolder m_Folder;
};

TEST_F(KeyConfigFile, TheDefaultsAreTheArrowsAndZXCVASDF)
{
    KEYCONFIG config;
    for (auto& e : config.Entry) e = {3, 1, 0x1234};
    DefaultKeyConfig(config);
    const WORD codes[12] = {37, 39, 38, 40, 90, 88, 67, 86, 65, 83, 68, 70};
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(config.Entry[i].nDevice, 8) << i;
        EXPECT_EQ(config.Entry[i].wCode, codes[i]) << i;
        EXPECT_EQ(config.Entry[i].wUnused, 0x1234) << i;   // left as it was
    }
    EXPECT_EQ(config.nEntries, 12);
    EXPECT_EQ(config.nJoysticks, 1);
    EXPECT_EQ(config.bUse, 0);
}

TEST_F(KeyConfigFile, AWholeFileIsTheTable)
{
    KEYCONFIG config;
    DefaultKeyConfig(config);
    ASSERT_TRUE(Read(Table(12, 2, 1).Str(), config));
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(config.Entry[i].nDevice, i % 2 ? 8 : 0) << i;
        EXPECT_EQ(config.Entry[i].wCode, 100 + i) << i;
        EXPECT_EQ(config.Entry[i].wUnused, 0xBEEF) << i;
    }
    EXPECT_EQ(config.nEntries, 12);
    EXPECT_EQ(config.nJoysticks, 2);
    EXPECT_EQ(config.bUse, 1);
}

TEST_F(KeyConfigFile, AShortFileReplacesTheStartAndALongOneOnly108Bytes)
{
    const std::string whole = Table(12, 2, 1).Str();
    struct Case { std::string bytes; int entries; int joysticks; int use; } cases[] = {
        {"", 12, 1, 0},
        {whole.substr(0, 10), 12, 1, 0},      // entry 0 and part of entry 1
        {whole.substr(0, 96), 12, 1, 0},
        {whole.substr(0, 100), 12, 1, 0},
        {whole.substr(0, 104), 12, 2, 0},
        {whole + std::string(50, '\x7F'), 12, 2, 1},
    };
    for (const auto& c : cases) {
        KEYCONFIG config;
        DefaultKeyConfig(config);
        const KEYCONFIG before = config;
        ASSERT_TRUE(Read(c.bytes, config)) << c.bytes.size();
        const std::size_t size = c.bytes.size();
        for (int i = 0; i < 12; ++i) {
            const bool replaced = size >= static_cast<std::size_t>(8 * i + 8);
            EXPECT_EQ(config.Entry[i].wCode, replaced ? 100 + i : before.Entry[i].wCode) << size << ' ' << i;
        }
        EXPECT_EQ(config.Entry[0].nDevice, size >= 4 ? 0 : 8) << size;
        EXPECT_EQ(config.nEntries, c.entries) << size;
        EXPECT_EQ(config.nJoysticks, c.joysticks) << size;
        EXPECT_EQ(config.bUse, c.use) << size;
    }
}

TEST_F(KeyConfigFile, CountsBeyondTheTableAreClamped)
{
    struct Case { int entries, joysticks; int keptEntries, keptJoysticks; } cases[] = {
        {12, 8, 12, 8}, {13, 9, 12, 8}, {0x7FFFFFFF, 0x7FFFFFFF, 12, 8}, {-1, -1, 0, 0},
        {-2147483647 - 1, -2147483647 - 1, 0, 0}, {3, 0, 3, 0},
    };
    for (const auto& c : cases) {
        KEYCONFIG config;
        ASSERT_TRUE(Read(Table(c.entries, c.joysticks, 1).Str(), config));
        EXPECT_EQ(config.nEntries, c.keptEntries) << c.entries;
        EXPECT_EQ(config.nJoysticks, c.keptJoysticks) << c.joysticks;
    }
}

TEST_F(KeyConfigFile, AMissingFileFailsAndLeavesTheTable)
{
    KEYCONFIG config;
    DefaultKeyConfig(config);
    EXPECT_FALSE(ReadKeyConfig("user_data\\KeyConfig.dat", config));
    EXPECT_EQ(config.Entry[4].wCode, 'Z');
}
