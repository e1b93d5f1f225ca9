#include "app/screen_mode.h"

#include "shell/error_box.h"

namespace {

int AutomaticDepth(bool direct3D, bool windowed, const cSystemData& system, int desktopBpp)
{
    if (windowed) return desktopBpp;
    if (direct3D) return system.m_nAutoDepthD3D == 1 ? 16 : 32;
    switch (system.m_nAutoDepthDD) {
    case 1: return 16;
    case 2: return system.m_bFullColor ? 32 : 8;
    default: return 32;
    }
}

bool DepthAllowed(bool direct3D, int bpp, const cSystemData& system)
{
    if (bpp == 16 || bpp == 32) return true;
    return !direct3D && bpp == 8 && !system.m_bFullColor;
}

}  // namespace

SCREENMODE ApplyScreenModeRules(SYSTEMINI& ini, const cSystemData& system, int desktopBpp, bool windows6OrLater)
{
    const bool direct3D = ini.Direct3D != 0;
    SCREENMODE mode{};
    if (direct3D) {
        mode.bWindowed = ini.WindowMode != 0 ? 1 : 0;
        if (ini.VSync >= 2) ini.VSync = 1;
    } else if (ini.WindowMode != 0) {
        mode.bWindowed = 1;
        ini.VSync = 0;
    } else {
        mode.bWindowed = 0;
        if (ini.VSync >= 2) ini.VSync = windows6OrLater ? 0 : 1;
    }

    mode.nBpp = ini.Bpp != 0 ? ini.Bpp : AutomaticDepth(direct3D, mode.bWindowed != 0, system, desktopBpp);
    ini.Bpp = mode.nBpp;

    const int d = mode.nBpp;
    const bool allowed = DepthAllowed(direct3D, d, system);
    const bool accepted = mode.bWindowed ? allowed && d == desktopBpp && d != 8 : allowed;
    if (accepted) mode.nCheck = SCREENMODE_ACCEPTED;
    else if (mode.bWindowed && (d == 16 || d == 32)) mode.nCheck = SCREENMODE_REFUSED_WINDOW;
    else mode.nCheck = SCREENMODE_REFUSED;
    return mode;
}

void ShowScreenModeRefusal(int check)
{
    if (check == SCREENMODE_REFUSED_WINDOW)
        ErrorBoxF("画面モードが不正です！\nウインドウモードではSystem.iniの設定と画面の色の設定を合わせて下さい！");
    else if (check == SCREENMODE_REFUSED)
        ErrorBoxF("画面モードが不正です！\nSystem.iniと画面の設定を見直して下さい！");
}
