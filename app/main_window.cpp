#include "app/main_window.h"

#include "app/game_loop.h"
#include "data/window_data.h"
#include "graphics/device.h"
#include "platform/input/keyboard.h"
#include "platform/os/editor_notice.h"
#include "platform/os/message_box.h"
#include "platform/video/presenter.h"
#include "play/play_scene.h"
#include "shell/log.h"
#include "shell/shared_flags.h"
#include "shell/system_ini.h"
#include "shell/thread.h"
#include "sound/bgm.h"

namespace {

bool InDirectDrawMode() { return !lpDTCon && lpDDCon; }

IDirectDrawSurface7* DirectDrawSurfaceOf(const DDSURFACEDATA& sd) { return sd.lpDDraw ? sd.lpDDraw->lpDDS : nullptr; }

// A palette display takes its palette back when it gets the focus or another window changed it.
void SelectDisplayPalette()
{
    IDirectDrawSurface7* primary = DirectDrawSurfaceOf(g_Primary);
    if (InDirectDrawMode() && primary && g_lpDDPalette) primary->SetPalette(g_lpDDPalette);
}

}  // namespace

LRESULT WndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return g_MainWindow.OnMessage(hWnd, msg, wParam, lParam);
}

void NotifyEditorStart() { plat::SendEditorNotice(1, 1); }
void NotifyEditorExit(int code) { plat::SendEditorNotice(0, code); }

LRESULT cMainWindow::MessageProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = cWindow::MessageProc(hWnd, msg, wParam, lParam);
    if (msg == WM_CREATE) OnInit(wParam, lParam);
    return result;
}

LRESULT cMainWindow::OnMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    m_hWnd = hWnd;
    UpdateMouse(false, MOUSE_ALL);
    switch (msg) {
    case WM_CREATE:
        m_bCreated = 1;
        return 0;
    case WM_DESTROY:
        EcLogF("WM_DESTROY");
        m_hWnd = nullptr;
        g_hWnd.store(nullptr);
        if (g_bEditorLaunch) NotifyEditorExit(1);
        PostQuitMessage(0);
        return 0;
    case WM_MOVE: {
        // The client rectangle on the screen, where DirectDraw copies its frames.
        RECT client{};
        ::GetClientRect(hWnd, &client);
        POINT topLeft{client.left, client.top};
        POINT bottomRight{client.right, client.bottom};
        ClientToScreen(hWnd, &topLeft);
        ClientToScreen(hWnd, &bottomRight);
        g_rcClient.Store(RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y});
        return 0;
    }
    case WM_SIZE:
        RefreshStyle();
        if (m_hToolBar) SendMessageA(m_hToolBar, WM_SIZE, wParam, lParam);
        return 0;
    case WM_CLOSE:
        CloseSequence(hWnd);
        return 0;
    case WM_ACTIVATEAPP:
        SetGameActive(static_cast<int>(wParam));
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) PostMessageA(hWnd, WM_CLOSE, 0, 0);
        return 0;
    case WM_COMMAND:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        return 0;
    case WM_PAINT: {
        if (!InDirectDrawMode()) break;
        PAINTSTRUCT paint;
        BeginPaint(hWnd, &paint);
        // The last finished frame, not the back buffer: the game thread may be drawing the next
        // frame into it right now.
        if (g_bGameReady.load() == 1) plat::ShowLastFrameAgain();
        EndPaint(hWnd, &paint);
        return 0;
    }
    case WM_GETMINMAXINFO:
        if (!InDirectDrawMode()) break;
        FillMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
        return 0;
    case WM_QUERYNEWPALETTE:
        SelectDisplayPalette();
        return 0;
    case WM_PALETTECHANGED:
        if (reinterpret_cast<HWND>(wParam) != hWnd) SelectDisplayPalette();
        return 0;
    case WM_GAME_NAMEDIALOG:
        OnNameDialogRequest();
        return 0;
    case WM_GAME_OPENSTAGE:
        OnOpenStageRequest(hWnd);
        return 0;
    case WM_GAME_OPENREPLAY:
        OnOpenReplayRequest(hWnd);
        return 0;
    case WM_GAME_SAVEREPLAY:
        OnSaveReplayRequest(wParam);
        return 0;
    case WM_GAME_PLAYSE:
        OnPlaySeRequest(wParam);
        return 0;
    case WM_GAME_PLAYBGM:
        OnPlayBgmRequest(wParam, lParam);
        return 0;
    case WM_GAME_RESTOREDEVICE:
        OnRestoreDeviceRequest();
        return 0;
    default:
        break;
    }
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}

void cMainWindow::SaveWindowPlacement(HWND hWnd)
{
    const POINT position = GetPosition();
    if (IsIconic(hWnd)) return;
    // The size is the client size the framework recorded at the last WM_SIZE.
    g_WindowData.Set(position.x, position.y, m_rcClient.right - m_rcClient.left, m_rcClient.bottom - m_rcClient.top,
                     IsZoomed(hWnd) ? 1 : 0);
    // Closing goes on either way; the report says the placement was not kept.
    if (!g_WindowData.Save("user_data\\Window.dat")) ReportLog("user_data\\Window.dat の保存に失敗しました");
}

void cMainWindow::CloseSequence(HWND hWnd)
{
    if (g_SystemIni.WindowMode != 0 && g_bGameReady.load()) SaveWindowPlacement(hWnd);

    if (thPause.m_hThread.load()) {
        // The stage's modal loop ends first; the stage then asks to close again.
        EcLogF("WM_CLOSE thPause.m_hThread");
        if (cPlayScene* play = g_lpPlayScene.load()) play->m_nQuitRequest.store(1);
        PostThreadMessageA(thPause.m_dwThreadId, WM_QUIT, 0, 0);
        return;
    }

    EcLogF("WM_CLOSE 成功！");
    // From here on nothing another thread asks of the window thread may wait for it.
    g_bClosing.store(1);
    plat::SetCarriedBoxesRefused(true);
    g_Bgm.Stop();
    thStageLoad.Exit();
    thPause.Exit();
    thRanking.Exit();
    EcLogF("thPause.Exit()");
    thGame.Exit();
    EcLogF("thGame.Exit()");
    DestroyWindow(hWnd);
}
