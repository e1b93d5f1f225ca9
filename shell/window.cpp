#include "shell/window.h"

#include "platform/input/keyboard.h"
#include "shell/log.h"

namespace {

// Process-wide, as there is one mouse: the pressed latches and the buttons' previous state.
int s_bLeftLatch = 0, s_bRightLatch = 0;
int s_bLeftBefore = 0, s_bRightBefore = 0;

int IsDown(int virtualKey) { return (GetAsyncKeyState(virtualKey) & 0x8000) ? 1 : 0; }


}  // namespace

void MOUSESTATE::Update(int parts)
{
    if (parts & MOUSE_BUTTONS) {
        bLeft = IsDown(VK_LBUTTON);
        bRight = IsDown(VK_RBUTTON);
    }
    if (parts & MOUSE_PRESSED) {
        bLeftPressed = bLeft && !s_bLeftLatch;
        s_bLeftLatch = bLeft;
        bRightPressed = bRight && !s_bRightLatch;
        s_bRightLatch = bRight;
    }
    if (parts & MOUSE_RELEASED) {
        bLeftReleased = s_bLeftBefore && !bLeft;
        bRightReleased = s_bRightBefore && !bRight;
        s_bLeftBefore = bLeft;
        s_bRightBefore = bRight;
    }
}

cWindow::cWindow() = default;
cWindow::~cWindow() = default;

void cWindow::InitLayout(int clientWidth, int clientHeight, int minWidth, int minHeight, int maxWidth,
                         int maxHeight, DWORD style, int menu, int toolBarLines, int statusBarMode, int,
                         int scrollFlags)
{
    m_dwStyle = style;
    m_bMenu = menu;
    m_nToolBarLines = toolBarLines;
    m_nStatusBarMode = statusBarMode;
    m_nScrollFlags = scrollFlags;
    m_nInitClientWidth = clientWidth;
    m_nInitClientHeight = clientHeight;
    // The bars the flags ask for sit inside the client area, so the limits make room for them.
    int extraWidth = 0, extraHeight = toolBarLines * kToolBarLineHeight;
    if (scrollFlags & 2) extraWidth += GetSystemMetrics(SM_CXVSCROLL);
    if (scrollFlags & 1) extraHeight += GetSystemMetrics(SM_CYHSCROLL);
    if (statusBarMode == 1) extraHeight += kStatusBarHeight;
    m_nMinWidth = minWidth + extraWidth;
    m_nMinHeight = minHeight + extraHeight;
    m_nMaxWidth = maxWidth + extraWidth;
    m_nMaxHeight = maxHeight + extraHeight;
    m_rcClient = RECT{0, 0, clientWidth + extraWidth, clientHeight + extraHeight};
    ComputeFrame();
}

void cWindow::ComputeFrame()
{
    m_nFrameLeft = m_nFrameRight = m_nFrameTop = m_nFrameBottom = 0;
    if (m_dwStyle & (WS_BORDER | WS_DLGFRAME)) m_nFrameTop += GetSystemMetrics(SM_CYCAPTION);
    if (m_dwStyle & WS_THICKFRAME) {
        m_nFrameLeft += GetSystemMetrics(SM_CXFRAME);
        m_nFrameRight += GetSystemMetrics(SM_CXFRAME);
        m_nFrameTop += GetSystemMetrics(SM_CYFRAME);
        m_nFrameBottom += GetSystemMetrics(SM_CYFRAME);
    } else if (m_dwStyle & WS_DLGFRAME) {
        m_nFrameLeft += GetSystemMetrics(SM_CXDLGFRAME);
        m_nFrameRight += GetSystemMetrics(SM_CXDLGFRAME);
        m_nFrameTop += GetSystemMetrics(SM_CYDLGFRAME);
        m_nFrameBottom += GetSystemMetrics(SM_CYDLGFRAME);
    }
    if (m_bMenu) m_nFrameTop += GetSystemMetrics(SM_CYMENU);

    const int clientWidth = m_rcClient.right - m_rcClient.left;
    const int clientHeight = m_rcClient.bottom - m_rcClient.top;
    m_nWindowWidth = clientWidth + m_nFrameLeft + m_nFrameRight;
    m_nWindowHeight = clientHeight + m_nFrameTop + m_nFrameBottom;

    const int toolBar = m_nToolBarLines * kToolBarLineHeight;
    m_rcDraw = RECT{0, toolBar, clientWidth, clientHeight - toolBar};
    if (m_nScrollFlags & 1) m_rcDraw.bottom -= GetSystemMetrics(SM_CYHSCROLL);
    if (m_nScrollFlags & 2) m_rcDraw.right -= GetSystemMetrics(SM_CXVSCROLL);
    if (m_nStatusBarMode == 1) m_rcDraw.bottom -= kStatusBarHeight;
}

void cWindow::RefreshStyle()
{
    if (m_hWnd) {
        m_dwStyle = static_cast<DWORD>(GetWindowLongA(m_hWnd, GWL_STYLE));
        ::GetClientRect(m_hWnd, &m_rcClient);
    }
    ComputeFrame();
}

void cWindow::AddStyle(DWORD bits)
{
    if (m_hWnd) SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>(static_cast<DWORD>(GetWindowLongA(m_hWnd, GWL_STYLE)) | bits));
    else m_dwStyle |= bits;
    RefreshStyle();
}

void cWindow::RemoveStyle(DWORD bits)
{
    if (m_hWnd) SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>(static_cast<DWORD>(GetWindowLongA(m_hWnd, GWL_STYLE)) & ~bits));
    else m_dwStyle &= ~bits;
    RefreshStyle();
}

void cWindow::SetClientSize(int width, int height)
{
    m_rcClient = RECT{0, 0, width, height};
    ComputeFrame();
    if (m_hWnd)
        SetWindowPos(m_hWnd, nullptr, 0, 0, m_nWindowWidth, m_nWindowHeight, SWP_NOMOVE | SWP_NOZORDER);
    ComputeFrame();
}

void cWindow::SetPosition(int x, int y)
{
    if (m_hWnd) SetWindowPos(m_hWnd, nullptr, x, y, m_nWindowWidth, m_nWindowHeight, SWP_NOZORDER);
    m_ptPos = POINT{x, y};
    ComputeFrame();
}

POINT cWindow::GetPosition() const
{
    RECT rect{};
    if (m_hWnd && GetWindowRect(m_hWnd, &rect)) return POINT{rect.left, rect.top};
    return m_ptPos;
}

void cWindow::GetClientRect(RECT* rect) const
{
    if (m_hWnd && rect) ::GetClientRect(m_hWnd, rect);
}

void cWindow::CentreOnDesktop()
{
    SetPosition((GetSystemMetrics(SM_CXSCREEN) - m_nWindowWidth) / 2,
                (GetSystemMetrics(SM_CYSCREEN) - m_nWindowHeight) / 2);
}

void cWindow::PlaceWindow()
{
    if (m_ptInitial.x == kNoInitialPosition || m_ptInitial.y == kNoInitialPosition) return;
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    POINT p = m_ptInitial;
    if (p.x < 0) p.x = 0;
    if (p.y < 0) p.y = 0;
    if (p.x + m_nWindowWidth >= work.right) p.x = work.right - m_nWindowWidth;
    if (p.y + m_nWindowHeight >= work.bottom) p.y = work.bottom - m_nWindowHeight;
    m_ptInitial = p;
    SetPosition(p.x, p.y);
}

void cWindow::FillMinMaxInfo(MINMAXINFO* info) const
{
    if (!info) return;
    const int frameWidth = m_nFrameLeft + m_nFrameRight;
    const int frameHeight = m_nFrameTop + m_nFrameBottom;
    info->ptMinTrackSize = POINT{m_nMinWidth + frameWidth, m_nMinHeight + frameHeight};
    info->ptMaxTrackSize = POINT{m_nMaxWidth + frameWidth, m_nMaxHeight + frameHeight};
}

int cWindow::UpdateMouse(bool outsideAllowed, int parts)
{
    POINT screen{0, 0};
    if (!GetCursorPos(&screen)) EcLogF("GetCursorPos失敗！");
    POINT p = screen;
    if (m_hWnd) ScreenToClient(m_hWnd, &p);
    p.x -= m_rcDraw.left;
    p.y -= m_rcDraw.top;
    if (!outsideAllowed && (p.x < 0 || p.y < 0 || p.x >= m_rcDraw.right || p.y >= m_rcDraw.bottom)) return 0;
    m_Mouse.x = p.x;
    m_Mouse.y = p.y;
    m_ptMouseScreen = screen;
    m_Mouse.Update(parts);
    return 1;
}

LRESULT cWindow::MessageProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    m_hWnd = hWnd;
    if (msg == WM_COMMAND) {
        // A command that arrives while one is being handled is dropped.
        if (m_bInCommand) return 0;
        m_bInCommand = 1;
    }
    if (m_bTrace && msg != WM_GETTEXT) {
        const auto lp = static_cast<std::uintptr_t>(lParam);
        EcLogF("%s | msg:%s | wp:%u(%u,%u) | lp:%d(%d,%d)", m_strName.c_str(), GetMessageName(msg),
               static_cast<unsigned>(wParam), HighWord(wParam), LowWord(wParam), static_cast<int>(lParam),
               static_cast<int>(HighWord(lp)), static_cast<int>(LowWord(lp)));
    }
    UpdateMouse(false, MOUSE_ALL);

    switch (msg) {
    case WM_DESTROY:
        m_hWnd = nullptr;
        return 1;
    case WM_MOVE: {
        RECT rect{};
        if (GetWindowRect(hWnd, &rect)) m_ptPos = POINT{rect.left, rect.top};
        return 1;
    }
    case WM_SIZE:
        RefreshStyle();
        if (m_hToolBar) SendMessageA(m_hToolBar, WM_SIZE, wParam, lParam);
        if (m_hStatusBar) {
            const int clientHeight = m_rcClient.bottom - m_rcClient.top;
            SetWindowPos(m_hStatusBar, nullptr, 0, clientHeight - kStatusBarHeight, m_rcDraw.right, kStatusBarHeight,
                         SWP_NOZORDER);
            SendMessageA(m_hStatusBar, WM_SIZE, wParam, lParam);
        }
        return 1;
    case WM_ACTIVATEAPP:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(hWnd, &paint);
        OnPaint();
        EndPaint(hWnd, &paint);
        return 1;
    }
    case WM_GETMINMAXINFO:
        FillMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
        return 1;
    case WM_COMMAND:
        OnCommand(wParam, lParam);
        m_bInCommand = 0;
        return 1;
    case WM_MOUSEMOVE: OnMouseMove(wParam, lParam); return 1;
    case WM_LBUTTONDOWN: OnLButtonDown(wParam, lParam); return 1;
    case WM_RBUTTONDOWN: OnRButtonDown(wParam, lParam); return 1;
    case WM_LBUTTONDBLCLK: OnLButtonDblClk(wParam, lParam); return 1;
    case WM_RBUTTONDBLCLK: OnRButtonDblClk(wParam, lParam); return 1;
    case WM_LBUTTONUP: OnLButtonUp(wParam, lParam); return 1;
    case WM_RBUTTONUP: OnRButtonUp(wParam, lParam); return 1;
    default:
        return 0;
    }
}
