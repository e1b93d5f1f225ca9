#pragma once
// Joysticks: the window thread copies SDL joystick state into a snapshot that joyGetPosEx reads.
#include "platform/os/windows_types.h"

using MMRESULT = UINT;
constexpr MMRESULT JOYERR_NOERROR = 0;
constexpr MMRESULT JOYERR_PARMS = 165;
constexpr MMRESULT JOYERR_UNPLUGGED = 167;
constexpr DWORD JOY_RETURNX = 0x01;
constexpr DWORD JOY_RETURNY = 0x02;
constexpr DWORD JOY_RETURNBUTTONS = 0x80;
constexpr UINT JOYSTICKID1 = 0;

struct JOYINFOEX {
    DWORD dwSize, dwFlags, dwXpos, dwYpos, dwZpos, dwRpos, dwUpos, dwVpos;
    DWORD dwButtons, dwButtonNumber, dwPOV, dwReserved1, dwReserved2;
};

MMRESULT joyGetPosEx(UINT joystickId, JOYINFOEX* info);   // ids 0 to 7; axes 0 to 65535

namespace plat {

// Window thread: opens newly attached joysticks, closes removed ones and copies their state.
void UpdateJoystickSnapshot();
// Window thread, at shutdown: closes every open joystick and empties the snapshot.
void CloseJoysticks();

}  // namespace plat
