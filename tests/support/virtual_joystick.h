#pragma once
// SDL virtual joysticks for tests of the joystick snapshot and of polled input. The window
// thread's part (the snapshot update) is called by the test itself.
#include <SDL2/SDL.h>

#include <vector>

#include "platform/os/windows_types.h"

namespace qbtest {

class cVirtualJoysticks {
public:
    cVirtualJoysticks();    // starts SDL's joystick subsystem; Ok() tells whether it could
    ~cVirtualJoysticks();   // removes the joysticks it attached and closes the snapshot's
    cVirtualJoysticks(const cVirtualJoysticks&) = delete;
    cVirtualJoysticks& operator=(const cVirtualJoysticks&) = delete;

    bool Ok() const { return m_bOk; }
    // Joystick ids that no joystick of the machine holds, in order: the ids that attached
    // joysticks get.
    const std::vector<UINT>& FreeIds() const { return m_FreeIds; }

    // Attaches a joystick with two axes and twelve buttons, centred; null on failure.
    SDL_Joystick* Attach();
    void Detach(SDL_Joystick* joystick);

    // Sets axes in the Windows range 0 to 65535 (SDL value + 32768).
    static void SetPosition(SDL_Joystick* joystick, DWORD x, DWORD y);
    static void SetButtons(SDL_Joystick* joystick, DWORD bits);
    // The window thread's copy into the snapshot.
    static void Update();

private:
    bool m_bOk = false;
    std::vector<UINT> m_FreeIds;
    std::vector<SDL_Joystick*> m_Attached;
};

}  // namespace qbtest
