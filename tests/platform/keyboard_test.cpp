#include "platform/input/keyboard.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/input/joystick.h"
#include "platform/os/messages.h"
#include "platform/ui/sdl_window.h"
#include "tests/support/virtual_joystick.h"
#include "tests/support/wait.h"

namespace {

bool Down(int vk) { return (GetAsyncKeyState(vk) & 0x8000) != 0; }

class KeyboardTest : public ::testing::Test {
protected:
    void SetUp() override { plat::ClearKeyStates(); }
    void TearDown() override { plat::ClearKeyStates(); }
};

}  // namespace

TEST_F(KeyboardTest, ScancodesGiveTheVirtualKeysOfTheDefaultKeyConfiguration)
{
    // The virtual-key codes "user_data\KeyConfig.dat" stores for the default keys.
    struct Case { int scancode; int vk; } cases[] = {
        {SDL_SCANCODE_LEFT, 37}, {SDL_SCANCODE_UP, 38}, {SDL_SCANCODE_RIGHT, 39},
        {SDL_SCANCODE_DOWN, 40}, {SDL_SCANCODE_Z, 90}, {SDL_SCANCODE_X, 88},
        {SDL_SCANCODE_C, 67}, {SDL_SCANCODE_V, 86}, {SDL_SCANCODE_A, 65},
        {SDL_SCANCODE_S, 83}, {SDL_SCANCODE_D, 68}, {SDL_SCANCODE_F, 70},
        {SDL_SCANCODE_ESCAPE, 0x1B}, {SDL_SCANCODE_SPACE, 0x20}, {SDL_SCANCODE_RETURN, 0x0D},
        {SDL_SCANCODE_KP_ENTER, 0x0D}, {SDL_SCANCODE_F1, 0x70}, {SDL_SCANCODE_F8, 0x77},
        {SDL_SCANCODE_F12, 0x7B}, {SDL_SCANCODE_0, '0'}, {SDL_SCANCODE_9, '9'},
        {SDL_SCANCODE_KP_0, 0x60}, {SDL_SCANCODE_KP_9, 0x69}, {SDL_SCANCODE_DELETE, 0x2E},
        {SDL_SCANCODE_LSHIFT, 0x10}, {SDL_SCANCODE_RCTRL, 0x11}, {SDL_SCANCODE_LALT, 0x12},
        {SDL_SCANCODE_HOME, 0x24}, {SDL_SCANCODE_PAGEDOWN, 0x22}, {SDL_SCANCODE_COMMA, 0xBC},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(plat::VirtualKeyFromScancode(c.scancode), c.vk) << c.scancode;
        plat::ClearKeyStates();
        EXPECT_FALSE(Down(c.vk)) << c.scancode;
        plat::OnSdlKey(c.scancode, true);
        EXPECT_TRUE(Down(c.vk)) << c.scancode;
        EXPECT_EQ(static_cast<unsigned short>(GetAsyncKeyState(c.vk)), 0x8000u) << c.scancode;
        plat::OnSdlKey(c.scancode, false);
        EXPECT_FALSE(Down(c.vk)) << c.scancode;
    }
    EXPECT_EQ(plat::VirtualKeyFromScancode(SDL_SCANCODE_UNKNOWN), 0);
}

TEST_F(KeyboardTest, AKeyMadeByTwoScancodesStaysDownUntilBothAreReleased)
{
    plat::OnSdlKey(SDL_SCANCODE_LSHIFT, true);
    plat::OnSdlKey(SDL_SCANCODE_RSHIFT, true);
    EXPECT_TRUE(Down(VK_SHIFT));
    EXPECT_TRUE(Down(0xA0));   // VK_LSHIFT
    EXPECT_TRUE(Down(0xA1));   // VK_RSHIFT
    plat::OnSdlKey(SDL_SCANCODE_LSHIFT, false);
    EXPECT_TRUE(Down(VK_SHIFT));
    EXPECT_FALSE(Down(0xA0));
    plat::OnSdlKey(SDL_SCANCODE_RSHIFT, false);
    EXPECT_FALSE(Down(VK_SHIFT));

    plat::OnSdlKey(SDL_SCANCODE_RETURN, true);
    plat::OnSdlKey(SDL_SCANCODE_KP_ENTER, true);
    plat::OnSdlKey(SDL_SCANCODE_KP_ENTER, false);
    EXPECT_TRUE(Down(VK_RETURN));
}

TEST_F(KeyboardTest, FocusLossReleasesKeysMouseButtonsAndHarnessKeys)
{
    plat::OnSdlKey(SDL_SCANCODE_Z, true);
    plat::OnSdlMouseButton(1, true);
    plat::OnSdlMouseButton(3, true);
    plat::SetKeyState('X', true);
    EXPECT_TRUE(Down('Z'));
    EXPECT_TRUE(Down(VK_LBUTTON));
    EXPECT_TRUE(Down(VK_RBUTTON));
    EXPECT_TRUE(Down('X'));
    plat::ClearKeyStates();
    for (int vk : {int('Z'), VK_LBUTTON, VK_RBUTTON, int('X')}) EXPECT_FALSE(Down(vk)) << vk;
}

TEST_F(KeyboardTest, HarnessKeysAndRealKeysDoNotReleaseEachOther)
{
    plat::SetKeyState(VK_LEFT, true);
    plat::OnSdlKey(SDL_SCANCODE_LEFT, true);
    plat::OnSdlKey(SDL_SCANCODE_LEFT, false);
    EXPECT_TRUE(Down(VK_LEFT));
    plat::SetKeyState(VK_LEFT, false);
    EXPECT_FALSE(Down(VK_LEFT));
}

TEST_F(KeyboardTest, CodesOutsideTheTablesAreIgnored)
{
    for (int vk : {-1, 256, 100000}) {
        plat::SetKeyState(vk, true);
        EXPECT_EQ(GetAsyncKeyState(vk), 0) << vk;
    }
    for (int scancode : {-1, int(SDL_NUM_SCANCODES), 1 << 20}) plat::OnSdlKey(scancode, true);
    for (int vk = 0; vk < 256; ++vk) EXPECT_FALSE(Down(vk)) << vk;
    plat::OnSdlMouseButton(2, true);   // the middle button has no use in the runtime
    EXPECT_FALSE(Down(VK_LBUTTON));
    EXPECT_FALSE(Down(VK_RBUTTON));
}

namespace {

void PushKey(SDL_Scancode scancode, bool down)
{
    SDL_Event event;
    SDL_zero(event);
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.scancode = scancode;
    SDL_PushEvent(&event);
}

}  // namespace

// This thread is the window thread and runs its message loop; a second thread plays the game
// thread and sees keys and the joystick only through GetAsyncKeyState and joyGetPosEx.
TEST_F(KeyboardTest, KeyEventsDrainedByTheWindowThreadReachOtherThreads)
{
    plat::SetWindowThread();
    ASSERT_TRUE(plat::StartSdlVideo());
    qbtest::cVirtualJoysticks joysticks;
    ASSERT_FALSE(joysticks.FreeIds().empty());
    const UINT joyId = joysticks.FreeIds()[0];
    SDL_Joystick* joystick = joysticks.Attach();
    ASSERT_NE(joystick, nullptr) << SDL_GetError();
    qbtest::cVirtualJoysticks::SetButtons(joystick, 4);

    const DWORD windowThread = GetCurrentThreadId();
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);   // the queue that WM_QUIT goes to
    std::atomic<bool> sawDown{false}, sawUp{false}, sawJoystick{false};
    PushKey(SDL_SCANCODE_Z, true);
    std::thread game([&] {
        sawDown = qbtest::WaitUntil([] { return Down('Z'); });
        PushKey(SDL_SCANCODE_Z, false);
        sawUp = qbtest::WaitUntil([] { return !Down('Z'); });
        sawJoystick = qbtest::WaitUntil([joyId] {
            JOYINFOEX info{};
            info.dwSize = sizeof(info);
            info.dwFlags = JOY_RETURNBUTTONS;
            return joyGetPosEx(joyId, &info) == JOYERR_NOERROR && info.dwButtons == 4;
        });
        PostThreadMessageA(windowThread, WM_QUIT, 0, 0);
    });
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    }
    game.join();
    EXPECT_TRUE(sawDown);
    EXPECT_TRUE(sawUp);
    EXPECT_TRUE(sawJoystick);
}

TEST(KeyMessages, TheLParamCarriesRepeatScanCodeExtendedFlagPreviousStateAndTransition)
{
    struct Case { int key; bool down; bool wasDown; DWORD lParam; } cases[] = {
        {VK_ESCAPE, true, false, 0x00010001u},
        {VK_ESCAPE, false, true, 0xC0010001u},
        {'Z', true, false, 0x002C0001u},
        {'Z', true, true, 0x402C0001u},      // held: the keyboard's repeat
        {VK_RETURN, true, false, 0x001C0001u},
        {VK_LEFT, true, false, 0x014B0001u}, // an arrow is an extended key
        {VK_DOWN, false, true, 0xC1500001u},
        {VK_F1 + 11, true, false, 0x00580001u},
        {0xE8, true, false, 0x00000001u},    // a key without a scan code
    };
    for (const Case& c : cases)
        EXPECT_EQ(static_cast<DWORD>(plat::KeyMessageLParam(c.key, c.down, c.wasDown)), c.lParam) << c.key << " " << c.down;
}
