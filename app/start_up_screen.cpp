#include "app/start_up_screen.h"

#include <algorithm>

#include "app/main_window.h"
#include "app/program_icon.h"
#include "app/screen_mode.h"
#include "app/start_up.h"
#include "data/data_paths.h"
#include "data/system_data.h"
#include "data/window_data.h"
#include "graphics/device.h"
#include "graphics/palette.h"
#include "graphics/standard_surfaces.h"
#include "graphics/surface.h"
#include "platform/ui/icon.h"
#include "platform/ui/window.h"
#include "platform/video/gdi.h"
#include "play/game_manager.h"
#include "shell/log.h"
#include "shell/shared_flags.h"
#include "shell/system_ini.h"
#include "shell/system_report.h"

namespace {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;

void LinkMirror(int mirror, int source) { g_StdSurface[mirror].lpMirrorSD = &g_StdSurface[source]; }

}  // namespace

void LinkStandardMirrors()
{
    LinkMirror(3, 2);
    // The second copy of each chara and shot sheet shows the first: 5 -> 4, 7 -> 6, ... 21 -> 20.
    for (int i = 5; i <= 21; i += 2) LinkMirror(i, i - 1);
    // Both system-memory copies of each sheet show its first copy: 22, 23 -> 4 ... 38, 39 -> 20.
    for (int i = 22; i <= 39; ++i) LinkMirror(i, 4 + (i - 22) / 2 * 2);
    LinkMirror(41, 40);
    LinkMirror(44, 43);
    LinkMirror(68, 67);
}

namespace {

// The icon of the program's own file, on the window in both sizes; kept until UnInitGame.
void SetProgramIcon(HWND hWnd)
{
    RegisterProgramIcon();
    char file[MAX_PATH];
    if (!GetModuleFileNameA(nullptr, file, sizeof file)) return;
    g_hIcon = ExtractIconA(nullptr, file, 0);
    if (!g_hIcon || g_hIcon == reinterpret_cast<HICON>(1)) return;
    SendMessageA(hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(g_hIcon));
    SendMessageA(hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(g_hIcon));
}

int DesktopBpp(HWND hWnd)
{
    HDC dc = GetDC(hWnd);
    const int bpp = GetDeviceCaps(dc, BITSPIXEL);
    ReleaseDC(hWnd, dc);
    return bpp;
}

bool InitDevice(HWND hWnd, BOOL bDirect3D)
{
    const BOOL vsync = g_SystemIni.VSync != 0;
    return DDInit(bDirect3D, hWnd, kScreenWidth, kScreenHeight, g_nRequestedBpp, vsync, g_bWindowed, 1, 60, vsync,
                  g_StdSurface, g_SurfaceInfo, kStdSurfaceCount, 0);
}

// Direct3D when asked for, and DirectDraw with the same depth and window flag when that fails.
bool StartGraphics(HWND hWnd, int showCommand)
{
    if (g_SystemIni.Direct3D == 0) return InitDevice(hWnd, FALSE);
    if (InitDevice(hWnd, TRUE)) return true;
    DDUninit();
    g_SystemIni.Direct3D = 0;
    ShowWindow(hWnd, g_SystemIni.WindowMode != 0 ? showCommand : SW_MAXIMIZE);
    return InitDevice(hWnd, FALSE);
}

// The last placement of a window, when one was saved; returns the show command to use.
int PlaceMainWindow(int showCommand)
{
    if (g_SystemIni.WindowMode == 0 || !g_WindowData.Load(g_DataPaths[DATAPATH_WINDOW])) return showCommand;
    g_MainWindow.SetPosition(g_WindowData.m_nX, g_WindowData.m_nY);
    // The saved size never goes below the framework's smallest client area.
    if (lpDTCon && g_SystemIni.WindowMode == 2)
        g_MainWindow.SetClientSize(std::max(g_WindowData.m_nWidth, g_MainWindow.m_nMinWidth),
                                   std::max(g_WindowData.m_nHeight, g_MainWindow.m_nMinHeight));
    return g_WindowData.m_bMaximized ? SW_SHOWMAXIMIZED : showCommand;
}

bool SetTransparentColourFromPalettePicture(const char* paletteFile)
{
    if (DDSetTransmitFromFile(paletteFile)) return true;
    EcLog("DDSetTransmit失敗");
    ReportLogBox("%s の読み込みに失敗！", paletteFile);
    return false;
}

}  // namespace

bool SetPaletteAndTransparentColour()
{
    if (!lpDTCon && !g_lpDDPalette) return true;
    const char* paletteFile = g_SurfaceInfo[0].szFileName;
    if (!DDLoadPaletteFromFile(g_Palette, paletteFile)) {
        EcLog("DDLoadPaletteFromFile失敗");
        ReportLogBox("%s の読み込みに失敗！", paletteFile);
        return false;
    }
    std::copy(g_Palette, g_Palette + 256, g_DisplayPalette);
    const BYTE r = g_SystemData.m_byTransR, g = g_SystemData.m_byTransG, b = g_SystemData.m_byTransB;
    if (!g_SystemData.m_bFullColor) {
        if (!SetTransparentColourFromPalettePicture(paletteFile)) return false;
    } else if (g_nBpp == 16) {
        if (!SetTransparentColourFromPalettePicture(paletteFile)) return false;
        // Image files keep the game's own transparent colour, in 8-bit components.
        const RGBTRIPLE fileColour{b, g, r};
        if (lpDTCon) lpDTCon->rgbTransmitFile = fileColour;
        else if (lpDDCon) lpDDCon->rgbTransmitFile = fileColour;
    } else {
        DDSetTransmit(r, g, b);
    }
    EcLog("1");
    return true;
}

namespace {

// The monitor's refresh rate; 0 when the DirectDraw object cannot tell, so that the frame is
// copied rather than flipped at a rate nobody knows.
DWORD MonitorFrequency()
{
    DWORD frequency = 0;
    if (g_lpDD && FAILED(g_lpDD->GetMonitorFrequency(&frequency))) frequency = 0;
    return frequency;
}

void ChooseDirectDrawPresentation()
{
    if (lpDTCon || !lpDDCon) return;
    if (g_bWindowed) {
        g_bPresentByBlt = 1;
        return;
    }
    const bool slowMonitor = static_cast<long long>(MonitorFrequency()) < g_GameManager.m_nFps;
    g_bPresentByBlt = g_SystemIni.VSync == 0 || slowMonitor ? 1 : 0;
}

}  // namespace

bool InitScreen(int showCommand)
{
    HWND hWnd = g_MainWindow.m_hWnd;
    const SCREENMODE mode =
        ApplyScreenModeRules(g_SystemIni, g_SystemData, DesktopBpp(hWnd), IsWindowsVersionAtLeast(6, 0));
    g_bWindowed = mode.bWindowed;
    g_nRequestedBpp = mode.nBpp;
    if (mode.nCheck != SCREENMODE_ACCEPTED) {
        ShowScreenModeRefusal(mode.nCheck);
        return false;
    }
    if (g_SystemIni.Direct3D != 0 && g_SystemIni.WindowMode == 2) g_MainWindow.AddStyle(WS_THICKFRAME);

    // The framework's creation data of the main window (no common controls to register here).
    g_MainWindow.m_wTemplate = 0;
    g_MainWindow.m_hParent = nullptr;
    g_MainWindow.m_lpRegistry = nullptr;
    g_MainWindow.m_DialogProc = WndProc;
    g_hWnd.store(hWnd);

    SetWindowTextA(hWnd, g_SystemData.m_strTitle.c_str());
    SetProgramIcon(hWnd);
    if (g_nRequestedBpp == 8) g_SystemIni.DD_VideoStretch = 0;

    if (!StartGraphics(hWnd, showCommand)) {
        EcLog("DDInit失敗");
        return false;
    }
    if (lpDTCon) {
        lpDTCon->strTextureError =
            "テクスチャの作成に失敗しました！\nビデオカードの性能が十分ではないかもしれません。\n"
            "System.iniファイルで「Direct3D=0」に変更してDirect3Dを無効にすれば改善される可能性があります。";
        LinkStandardMirrors();
    }

    const int show = PlaceMainWindow(showCommand);
    ShowWindow(hWnd, lpDTCon || g_bWindowed ? show : SW_MAXIMIZE);
    WriteDisplayReport(1);
    EcLog("DDInit成功");

    if (!SetPaletteAndTransparentColour()) return false;
    ChooseDirectDrawPresentation();

    // Of the standard surfaces only the debug sheet is loaded here; the scenes load the rest.
    return DDLoadSurfaces(g_StdSurface, &kDebugSheet, 1);
}
