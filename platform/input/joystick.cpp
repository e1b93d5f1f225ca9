#include "platform/input/joystick.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <array>
#include <bit>
#include <mutex>

namespace {

constexpr int kSlots = 8;          // joystick ids 0 to 7
constexpr int kButtonBits = 32;    // dwButtons holds buttons 1 to 32

struct JoySnapshot {
    bool bPresent = false;
    DWORD dwX = 32767;
    DWORD dwY = 32767;
    DWORD dwButtons = 0;
};

// Each attached joystick keeps the id it got when it was opened until it is removed, so that
// unplugging one does not renumber the others.
struct JoySlots {
    std::mutex lock;                               // guards snapshot
    std::array<JoySnapshot, kSlots> snapshot;
    std::array<SDL_Joystick*, kSlots> device{};    // window thread only
};

JoySlots& Slots()
{
    static JoySlots slots;
    return slots;
}

// SDL axes run from -32768 to 32767; the Windows reading runs from 0 to 65535.
DWORD AxisPosition(SDL_Joystick* joystick, int axis)
{
    if (axis >= SDL_JoystickNumAxes(joystick)) return 32767;
    return static_cast<DWORD>(static_cast<int>(SDL_JoystickGetAxis(joystick, axis)) + 32768);
}

DWORD ButtonBits(SDL_Joystick* joystick)
{
    DWORD bits = 0;
    const int count = SDL_JoystickNumButtons(joystick);
    for (int b = 0; b < count && b < kButtonBits; ++b) {
        if (SDL_JoystickGetButton(joystick, b)) bits |= DWORD{1} << b;
    }
    return bits;
}

bool IsOpen(const JoySlots& slots, SDL_JoystickID id)
{
    for (SDL_Joystick* j : slots.device) {
        if (j && SDL_JoystickInstanceID(j) == id) return true;
    }
    return false;
}

void CloseRemoved(JoySlots& slots)
{
    for (auto& j : slots.device) {
        if (j && !SDL_JoystickGetAttached(j)) {
            SDL_JoystickClose(j);
            j = nullptr;
        }
    }
}

void OpenAdded(JoySlots& slots)
{
    const int count = SDL_NumJoysticks();
    for (int index = 0; index < count; ++index) {
        if (IsOpen(slots, SDL_JoystickGetDeviceInstanceID(index))) continue;
        auto freeSlot = std::find(slots.device.begin(), slots.device.end(), nullptr);
        if (freeSlot == slots.device.end()) return;
        *freeSlot = SDL_JoystickOpen(index);
    }
}

}  // namespace

MMRESULT joyGetPosEx(UINT joystickId, JOYINFOEX* info)
{
    if (!info || info->dwSize != sizeof(JOYINFOEX) || joystickId >= kSlots) return JOYERR_PARMS;
    JoySnapshot snap;
    {
        std::lock_guard<std::mutex> hold(Slots().lock);
        snap = Slots().snapshot[joystickId];
    }
    if (!snap.bPresent) return JOYERR_UNPLUGGED;
    if (info->dwFlags & JOY_RETURNX) info->dwXpos = snap.dwX;
    if (info->dwFlags & JOY_RETURNY) info->dwYpos = snap.dwY;
    if (info->dwFlags & JOY_RETURNBUTTONS) {
        info->dwButtons = snap.dwButtons;
        info->dwButtonNumber = static_cast<DWORD>(std::popcount(snap.dwButtons));
    }
    return JOYERR_NOERROR;
}

namespace plat {

void UpdateJoystickSnapshot()
{
    if (!SDL_WasInit(SDL_INIT_JOYSTICK) && SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) return;
    JoySlots& slots = Slots();
    SDL_JoystickUpdate();
    CloseRemoved(slots);
    OpenAdded(slots);

    std::array<JoySnapshot, kSlots> fresh;
    for (int id = 0; id < kSlots; ++id) {
        SDL_Joystick* j = slots.device[id];
        if (!j) continue;
        fresh[id] = {true, AxisPosition(j, 0), AxisPosition(j, 1), ButtonBits(j)};
    }
    std::lock_guard<std::mutex> hold(slots.lock);
    slots.snapshot = fresh;
}

void CloseJoysticks()
{
    JoySlots& slots = Slots();
    for (auto& j : slots.device) {
        if (j) SDL_JoystickClose(j);
        j = nullptr;
    }
    std::lock_guard<std::mutex> hold(slots.lock);
    slots.snapshot = {};
}

}  // namespace plat
