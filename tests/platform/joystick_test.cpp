#include "platform/input/joystick.h"

#include <gtest/gtest.h>

#include "tests/support/virtual_joystick.h"

namespace {

using qbtest::cVirtualJoysticks;

struct Reading { MMRESULT result; JOYINFOEX info; };

Reading Read(UINT id)
{
    Reading r{};
    r.info.dwSize = sizeof(JOYINFOEX);
    r.info.dwFlags = JOY_RETURNX | JOY_RETURNY | JOY_RETURNBUTTONS;
    r.result = joyGetPosEx(id, &r.info);
    return r;
}

}  // namespace

TEST(Joystick, AxesRunFrom0To65535AndButtonsAreBits)
{
    cVirtualJoysticks joysticks;
    ASSERT_TRUE(joysticks.Ok());
    ASSERT_FALSE(joysticks.FreeIds().empty());
    SDL_Joystick* j = joysticks.Attach();
    ASSERT_NE(j, nullptr) << SDL_GetError();
    const UINT id = joysticks.FreeIds()[0];
    struct Case { Sint16 sdl; DWORD pos; } cases[] = {
        {-32768, 0}, {-22768, 10000}, {-22767, 10001}, {0, 32768},
        {22766, 55534}, {22767, 55535}, {32767, 65535},
    };
    for (const auto& c : cases) {
        SDL_JoystickSetVirtualAxis(j, 0, c.sdl);
        SDL_JoystickSetVirtualAxis(j, 1, c.sdl);
        cVirtualJoysticks::Update();
        Reading r = Read(id);
        ASSERT_EQ(r.result, JOYERR_NOERROR);
        EXPECT_EQ(r.info.dwXpos, c.pos) << c.sdl;
        EXPECT_EQ(r.info.dwYpos, c.pos) << c.sdl;
    }
    SDL_JoystickSetVirtualButton(j, 0, 1);
    SDL_JoystickSetVirtualButton(j, 3, 1);
    SDL_JoystickSetVirtualButton(j, 11, 1);
    cVirtualJoysticks::Update();
    Reading r = Read(id);
    EXPECT_EQ(r.info.dwButtons, 0x809u);
    EXPECT_EQ(r.info.dwButtonNumber, 3u);
}

TEST(Joystick, OnlyTheAskedValuesAreWritten)
{
    cVirtualJoysticks joysticks;
    ASSERT_FALSE(joysticks.FreeIds().empty());
    SDL_Joystick* j = joysticks.Attach();
    ASSERT_NE(j, nullptr);
    cVirtualJoysticks::SetPosition(j, 0, 0);
    cVirtualJoysticks::SetButtons(j, 2);
    cVirtualJoysticks::Update();
    JOYINFOEX info{};
    info.dwSize = sizeof(info);
    info.dwFlags = JOY_RETURNX;
    info.dwYpos = 77;
    info.dwButtons = 77;
    ASSERT_EQ(joyGetPosEx(joysticks.FreeIds()[0], &info), JOYERR_NOERROR);
    EXPECT_EQ(info.dwXpos, 0u);
    EXPECT_EQ(info.dwYpos, 77u);
    EXPECT_EQ(info.dwButtons, 77u);
}

TEST(Joystick, BadArgumentsAndAbsentJoysticksFail)
{
    cVirtualJoysticks joysticks;
    JOYINFOEX info{};
    info.dwSize = sizeof(info);
    EXPECT_EQ(joyGetPosEx(8, &info), JOYERR_PARMS);
    EXPECT_EQ(joyGetPosEx(0xFFFFFFFFu, &info), JOYERR_PARMS);
    EXPECT_EQ(joyGetPosEx(0, nullptr), JOYERR_PARMS);
    info.dwSize = 12;
    EXPECT_EQ(joyGetPosEx(0, &info), JOYERR_PARMS);
    for (UINT id : joysticks.FreeIds()) EXPECT_EQ(Read(id).result, JOYERR_UNPLUGGED) << id;
}

TEST(Joystick, RemovingOneJoystickKeepsTheIdOfTheOther)
{
    cVirtualJoysticks joysticks;
    ASSERT_GE(joysticks.FreeIds().size(), 2u);
    const UINT firstId = joysticks.FreeIds()[0];
    const UINT secondId = joysticks.FreeIds()[1];
    SDL_Joystick* first = joysticks.Attach();
    SDL_Joystick* second = joysticks.Attach();
    ASSERT_TRUE(first && second);
    cVirtualJoysticks::SetButtons(second, 4);
    cVirtualJoysticks::Update();
    EXPECT_EQ(Read(firstId).result, JOYERR_NOERROR);
    EXPECT_EQ(Read(secondId).info.dwButtons, 4u);

    joysticks.Detach(first);
    cVirtualJoysticks::Update();
    EXPECT_EQ(Read(firstId).result, JOYERR_UNPLUGGED);
    Reading r = Read(secondId);
    EXPECT_EQ(r.result, JOYERR_NOERROR);
    EXPECT_EQ(r.info.dwButtons, 4u);

    // A joystick attached later takes the free id again.
    SDL_Joystick* third = joysticks.Attach();
    ASSERT_NE(third, nullptr);
    cVirtualJoysticks::Update();
    EXPECT_EQ(Read(firstId).result, JOYERR_NOERROR);
}
