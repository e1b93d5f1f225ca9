#include "tests/support/virtual_joystick.h"

#include <algorithm>

#include "platform/input/joystick.h"

namespace qbtest {

cVirtualJoysticks::cVirtualJoysticks()
{
    m_bOk = SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
    if (!m_bOk) return;
    Update();
    for (UINT id = 0; id < 8; ++id) {
        JOYINFOEX info{};
        info.dwSize = sizeof(info);
        if (joyGetPosEx(id, &info) == JOYERR_UNPLUGGED) m_FreeIds.push_back(id);
    }
}

cVirtualJoysticks::~cVirtualJoysticks()
{
    while (!m_Attached.empty()) Detach(m_Attached.back());
    plat::CloseJoysticks();
    if (m_bOk) SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

SDL_Joystick* cVirtualJoysticks::Attach()
{
    const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 12, 0);
    if (index < 0) return nullptr;
    SDL_Joystick* joystick = SDL_JoystickOpen(index);
    if (!joystick) return nullptr;
    m_Attached.push_back(joystick);
    SetPosition(joystick, 32768, 32768);
    return joystick;
}

void cVirtualJoysticks::Detach(SDL_Joystick* joystick)
{
    const SDL_JoystickID id = SDL_JoystickInstanceID(joystick);
    SDL_JoystickClose(joystick);
    std::erase(m_Attached, joystick);
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
    }
}

void cVirtualJoysticks::SetPosition(SDL_Joystick* joystick, DWORD x, DWORD y)
{
    SDL_JoystickSetVirtualAxis(joystick, 0, static_cast<Sint16>(static_cast<int>(x) - 32768));
    SDL_JoystickSetVirtualAxis(joystick, 1, static_cast<Sint16>(static_cast<int>(y) - 32768));
}

void cVirtualJoysticks::SetButtons(SDL_Joystick* joystick, DWORD bits)
{
    for (int b = 0; b < 12; ++b) SDL_JoystickSetVirtualButton(joystick, b, (bits >> b) & 1);
}

void cVirtualJoysticks::Update()
{
    plat::UpdateJoystickSnapshot();
}

}  // namespace qbtest
