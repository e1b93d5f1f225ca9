#pragma once
// The window framework: cWindow turns window messages into virtual handlers, keeps the
// window's geometry (frames from the style, client size limits, position, drawing area) and a
// per-window mouse state. The main window and the dialogs derive from it.
#include <string>
#include <vector>

#include "platform/os/messages.h"
#include "platform/ui/window.h"

// The low and high words of a message parameter.
inline WORD LowWord(std::uintptr_t v) { return static_cast<WORD>(v & 0xFFFF); }
inline WORD HighWord(std::uintptr_t v) { return static_cast<WORD>((v >> 16) & 0xFFFF); }

// Parts of MOUSESTATE::Update.
constexpr int MOUSE_BUTTONS = 1;    // read the down flags
constexpr int MOUSE_PRESSED = 2;    // pressed edges, through one latch per button
constexpr int MOUSE_RELEASED = 4;   // released edges
constexpr int MOUSE_ALL = 7;

struct MOUSESTATE {
    int x = 0, y = 0;                // relative to the drawing area
    int bLeft = 0, bRight = 0;
    int bLeftPressed = 0, bRightPressed = 0;
    int bLeftReleased = 0, bRightReleased = 0;
    void Update(int parts);
};

class cWindow;

// The open-window registry: windows and dialogs that a modal dialog may hide or disable.
struct cWindowRegistry {
    std::vector<cWindow*> m_Windows;
    std::vector<cWindow*> m_Dialogs;
};
extern cWindowRegistry g_WindowRegistry;

// Height of one tool-bar line and of the status bar.
constexpr int kToolBarLineHeight = 28;
constexpr int kStatusBarHeight = 20;
// m_ptInitial coordinate meaning "no position asked for".
constexpr LONG kNoInitialPosition = -1000;

class cWindow {
public:
    cWindow();
    virtual ~cWindow();
    cWindow(const cWindow&) = delete;
    cWindow& operator=(const cWindow&) = delete;

    virtual void OnCommand(WPARAM, LPARAM) {}
    virtual void OnMouseMove(WPARAM, LPARAM) {}
    virtual void OnLButtonDown(WPARAM, LPARAM) {}
    virtual void OnRButtonDown(WPARAM, LPARAM) {}
    virtual void OnLButtonDblClk(WPARAM, LPARAM) {}
    virtual void OnRButtonDblClk(WPARAM, LPARAM) {}
    virtual void OnLButtonUp(WPARAM, LPARAM) {}
    virtual void OnRButtonUp(WPARAM, LPARAM) {}
    virtual LRESULT OnMessage(HWND, UINT, WPARAM, LPARAM) { return 0; }
    virtual LRESULT MessageProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    virtual void OnPaint() {}

    void InitLayout(int clientWidth, int clientHeight, int minWidth, int minHeight, int maxWidth, int maxHeight,
                    DWORD style, int menu, int toolBarLines, int statusBarMode, int reserved, int scrollFlags);
    void ComputeFrame();
    void RefreshStyle();
    void AddStyle(DWORD bits);
    void RemoveStyle(DWORD bits);
    void SetClientSize(int width, int height);
    void SetPosition(int x, int y);
    POINT GetPosition() const;
    void GetClientRect(RECT* rect) const;
    void CentreOnDesktop();
    void PlaceWindow();
    void FillMinMaxInfo(MINMAXINFO* info) const;
    int UpdateMouse(bool outsideAllowed, int parts);

    HWND m_hWnd = nullptr;
    HINSTANCE m_hInstance = nullptr;
    WORD m_wTemplate = 0;
    HWND m_hParent = nullptr;
    WNDPROC m_DialogProc = nullptr;
    cWindowRegistry* m_lpRegistry = nullptr;
    POINT m_ptPos{0, 0};
    RECT m_rcDraw{0, 0, 0, 0};        // left, top, width, height of the drawing area
    MOUSESTATE m_Mouse;
    POINT m_ptMouseScreen{0, 0};
    MOUSESTATE m_MouseAtInit;
    int m_bNoButtonAtInit = 0;
    int m_nMinWidth = 0, m_nMinHeight = 0, m_nMaxWidth = 0, m_nMaxHeight = 0;
    RECT m_rcClient{0, 0, 0, 0};
    int m_nInitClientWidth = 0, m_nInitClientHeight = 0;
    DWORD m_dwStyle = 0;
    int m_bMenu = 0;
    int m_nToolBarLines = 0;
    int m_nStatusBarMode = 0;
    int m_nScrollFlags = 0;           // 1 horizontal scroll bar, 2 vertical
    int m_nFrameLeft = 0, m_nFrameRight = 0, m_nFrameTop = 0, m_nFrameBottom = 0;
    int m_nWindowWidth = 0, m_nWindowHeight = 0;
    HWND m_hToolBar = nullptr;
    HWND m_hStatusBar = nullptr;
    int m_bInCommand = 0;
    int m_bCreated = 0;               // WM_CREATE has been seen
    std::string m_strName;
    int m_bTrace = 0;
    POINT m_ptInitial{kNoInitialPosition, kNoInitialPosition};
};

// The name of a standard window message, or its decimal number.
const char* GetMessageName(UINT msg);
