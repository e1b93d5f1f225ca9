// Polling the keyboard and the joysticks into the input record, fixed and configured.
#include "shell/input.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/input/keyboard.h"
#include "shell/key_config.h"
#include "tests/shell/input_fixture.h"
#include "tests/support/virtual_joystick.h"

namespace {

using qbtest::cVirtualJoysticks;
using qbtest::StartedInput;

constexpr int kKeyboard = qbtest::kKeyboardDevice;

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
