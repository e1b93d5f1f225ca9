#include "shell/window.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/input/keyboard.h"

namespace {

constexpr DWORD kMainStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

// The frame of a style as the framework works it out: caption on top for either caption bit,
// then a sizing frame, or else a dialog frame, on every side; a menu bar on top.
struct Frame { int left, right, top, bottom; };
Frame ReferenceFrame(DWORD style, bool menu)
{
    Frame f{0, 0, 0, 0};
    if (style & (WS_BORDER | WS_DLGFRAME)) f.top += GetSystemMetrics(SM_CYCAPTION);
    int x = 0, y = 0;
    if (style & WS_THICKFRAME) {
        x = GetSystemMetrics(SM_CXFRAME);
        y = GetSystemMetrics(SM_CYFRAME);
    } else if (style & WS_DLGFRAME) {
        x = GetSystemMetrics(SM_CXDLGFRAME);
        y = GetSystemMetrics(SM_CYDLGFRAME);
    }
    f.left = f.right = x;
    f.top += y;
    f.bottom = y;
    if (menu) f.top += GetSystemMetrics(SM_CYMENU);
    return f;
}

TEST(WindowLayout, TheMainWindowsFramesLimitsAndOuterSize)
{
    struct Case { DWORD style; int menu; } cases[] = {
        {kMainStyle, 0},
        {kMainStyle | WS_THICKFRAME, 0},
        {WS_POPUP, 0},
        {WS_POPUP | WS_BORDER, 1},
    };
    for (const auto& c : cases) {
        cWindow window;
        window.InitLayout(640, 480, 100, 100, 640, 480, c.style, c.menu, 0, 0, 0, 0);
        const Frame f = ReferenceFrame(c.style, c.menu != 0);
        EXPECT_EQ(window.m_nFrameLeft, f.left) << std::hex << c.style;
        EXPECT_EQ(window.m_nFrameRight, f.right) << std::hex << c.style;
        EXPECT_EQ(window.m_nFrameTop, f.top) << std::hex << c.style;
        EXPECT_EQ(window.m_nFrameBottom, f.bottom) << std::hex << c.style;
        EXPECT_EQ(window.m_nWindowWidth, 640 + f.left + f.right);
        EXPECT_EQ(window.m_nWindowHeight, 480 + f.top + f.bottom);

        MINMAXINFO info{};
        window.FillMinMaxInfo(&info);
        EXPECT_EQ(info.ptMinTrackSize.x, 100 + f.left + f.right);
        EXPECT_EQ(info.ptMinTrackSize.y, 100 + f.top + f.bottom);
        EXPECT_EQ(info.ptMaxTrackSize.x, 640 + f.left + f.right);
        EXPECT_EQ(info.ptMaxTrackSize.y, 480 + f.top + f.bottom);
    }
}

TEST(WindowLayout, BarsTakeTheirRoomFromTheDrawingArea)
{
    const int hScroll = GetSystemMetrics(SM_CYHSCROLL);
    const int vScroll = GetSystemMetrics(SM_CXVSCROLL);
    struct Case {
        int toolBarLines, statusBarMode, scrollFlags;
        LONG clientWidth, clientHeight;   // given size plus the bars
        RECT draw;                        // left, top, width, height
        int minWidth, minHeight;
    } cases[] = {
        {0, 0, 0, 200, 100, {0, 0, 200, 100}, 100, 100},
        {1, 0, 0, 200, 128, {0, 28, 200, 100}, 100, 128},
        {0, 1, 0, 200, 120, {0, 0, 200, 100}, 100, 120},
        {0, 0, 1, 200, 100 + hScroll, {0, 0, 200, 100}, 100, 100 + hScroll},
        {0, 0, 2, 200 + vScroll, 100, {0, 0, 200, 100}, 100 + vScroll, 100},
        {2, 1, 3, 200 + vScroll, 100 + 56 + 20 + hScroll, {0, 56, 200, 100}, 100 + vScroll, 100 + 56 + 20 + hScroll},
    };
    for (const auto& c : cases) {
        cWindow window;
        window.InitLayout(200, 100, 100, 100, 640, 480, WS_POPUP, 0, c.toolBarLines, c.statusBarMode, 0, c.scrollFlags);
        const std::string where = std::to_string(c.toolBarLines) + "/" + std::to_string(c.statusBarMode) + "/" +
                                  std::to_string(c.scrollFlags);
        EXPECT_EQ(window.m_rcClient.right, c.clientWidth) << where;
        EXPECT_EQ(window.m_rcClient.bottom, c.clientHeight) << where;
        EXPECT_EQ(window.m_rcDraw.left, c.draw.left) << where;
        EXPECT_EQ(window.m_rcDraw.top, c.draw.top) << where;
        EXPECT_EQ(window.m_rcDraw.right, c.draw.right) << where;
        EXPECT_EQ(window.m_rcDraw.bottom, c.draw.bottom) << where;
        EXPECT_EQ(window.m_nMinWidth, c.minWidth) << where;
        EXPECT_EQ(window.m_nMinHeight, c.minHeight) << where;
    }
}

TEST(MessageNames, StandardNamesFirstListedWinsAndOthersAreNumbers)
{
    struct Case { UINT msg; const char* name; } cases[] = {
        {0x0000, "WM_NULL"},         {0x0001, "WM_CREATE"},     {0x0010, "WM_CLOSE"},
        {0x0100, "WM_KEYFIRST"},     {0x0200, "WM_MOUSEFIRST"}, {0x010F, "WM_IME_COMPOSITION"},
        {0x001A, "WM_WININICHANGE"}, {0x0400, "WM_USER"},       {0x0401, "1025"},
        {0x0004, "4"},               {0x8000, "32768"},
    };
    for (const auto& c : cases) EXPECT_STREQ(GetMessageName(c.msg), c.name) << c.msg;
}

// A window whose command handler sends itself another command.
class cNestingWindow : public cWindow {
public:
    void OnCommand(WPARAM wParam, LPARAM) override
    {
        ++m_nCommands;
        if (wParam == 1) m_nNestedResult = MessageProc(m_hWnd, WM_COMMAND, 2, 0);
    }
    int m_nCommands = 0;
    LRESULT m_nNestedResult = -1;
};

TEST(WindowMessages, ACommandArrivingWhileOneIsHandledIsDropped)
{
    cNestingWindow window;
    EXPECT_EQ(window.MessageProc(nullptr, WM_COMMAND, 1, 0), 1);
    EXPECT_EQ(window.m_nCommands, 1);
    EXPECT_EQ(window.m_nNestedResult, 0);
    // Once the first is done, commands reach the handler again.
    EXPECT_EQ(window.MessageProc(nullptr, WM_COMMAND, 3, 0), 1);
    EXPECT_EQ(window.m_nCommands, 2);
}

TEST(WindowMessages, DispatchReturnsOneForHandledMessagesOnly)
{
    struct Case { UINT msg; LRESULT result; } cases[] = {
        {WM_DESTROY, 1}, {WM_MOVE, 1}, {WM_SIZE, 1}, {WM_ACTIVATEAPP, 1}, {WM_PAINT, 1},
        {WM_MOUSEMOVE, 1}, {WM_LBUTTONUP, 1}, {WM_RBUTTONDBLCLK, 1}, {WM_CLOSE, 0}, {WM_KEYDOWN, 0},
    };
    for (const auto& c : cases) {
        cWindow window;
        EXPECT_EQ(window.MessageProc(nullptr, c.msg, 0, 0), c.result) << GetMessageName(c.msg);
    }
}

TEST(MouseState, PressedAndReleasedEdges)
{
    // The button as the key table holds it, and the edges each update reports.
    struct Step { bool down; int bLeft, pressed, released; } steps[] = {
        {false, 0, 0, 0}, {true, 1, 1, 0}, {true, 1, 0, 0}, {false, 0, 0, 1}, {false, 0, 0, 0}, {true, 1, 1, 0},
        {false, 0, 0, 1},
    };
    MOUSESTATE state;
    int i = 0;
    for (const auto& s : steps) {
        plat::SetKeyState(VK_LBUTTON, s.down);
        state.Update(MOUSE_ALL);
        EXPECT_EQ(state.bLeft, s.bLeft) << "step " << i;
        EXPECT_EQ(state.bLeftPressed, s.pressed) << "step " << i;
        EXPECT_EQ(state.bLeftReleased, s.released) << "step " << i;
        ++i;
    }
    plat::SetKeyState(VK_LBUTTON, false);
}

// A real window record under the framework, without any display.
class FrameworkWindow : public ::testing::Test {
protected:
    static LRESULT Proc(HWND, UINT, WPARAM, LPARAM) { return 0; }
    void SetUp() override
    {
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = Proc;
        windowClass.lpszClassName = "FrameworkTest";
        RegisterClassExA(&windowClass);
        m_Window.InitLayout(640, 480, 100, 100, 640, 480, kMainStyle, 0, 0, 0, 0, 0);
        m_Window.m_hWnd = CreateWindowExA(0, "FrameworkTest", "", kMainStyle, 100, 100, m_Window.m_nWindowWidth,
                                          m_Window.m_nWindowHeight, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(m_Window.m_hWnd, nullptr);
    }
    void TearDown() override { plat::ForgetWindows(); }
    cWindow m_Window;
};

TEST_F(FrameworkWindow, CentresOnTheDesktop)
{
    m_Window.CentreOnDesktop();
    const POINT p = m_Window.GetPosition();
    EXPECT_EQ(p.x, (GetSystemMetrics(SM_CXSCREEN) - m_Window.m_nWindowWidth) / 2);
    EXPECT_EQ(p.y, (GetSystemMetrics(SM_CYSCREEN) - m_Window.m_nWindowHeight) / 2);
}

TEST_F(FrameworkWindow, PlaceWindowKeepsTheWindowInsideTheWorkArea)
{
    RECT work{};
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
    const int w = m_Window.m_nWindowWidth, h = m_Window.m_nWindowHeight;
    struct Case { POINT asked; POINT placed; } cases[] = {
        {{-5, 10}, {0, 10}},
        {{10, -1}, {10, 0}},
        {{work.right - w, 10}, {work.right - w, 10}},
        {{work.right - w + 7, 10}, {work.right - w, 10}},
        {{10, work.bottom - h + 1}, {10, work.bottom - h}},
    };
    for (const auto& c : cases) {
        m_Window.m_ptInitial = c.asked;
        m_Window.PlaceWindow();
        const POINT p = m_Window.GetPosition();
        EXPECT_EQ(p.x, c.placed.x) << c.asked.x << "," << c.asked.y;
        EXPECT_EQ(p.y, c.placed.y) << c.asked.x << "," << c.asked.y;
        EXPECT_EQ(m_Window.m_ptInitial.x, c.placed.x);
    }
    // No position asked for: the window stays.
    m_Window.m_ptInitial = POINT{kNoInitialPosition, 5};
    const POINT before = m_Window.GetPosition();
    m_Window.PlaceWindow();
    EXPECT_EQ(m_Window.GetPosition().x, before.x);
}

TEST_F(FrameworkWindow, AddingASizingFrameKeepsTheClientSize)
{
    m_Window.AddStyle(WS_THICKFRAME);
    const Frame f = ReferenceFrame(kMainStyle | WS_THICKFRAME, false);
    EXPECT_EQ(m_Window.m_nFrameLeft, f.left);
    EXPECT_EQ(m_Window.m_rcClient.right, 640);
    EXPECT_EQ(m_Window.m_rcClient.bottom, 480);
    EXPECT_EQ(m_Window.m_nWindowWidth, 640 + f.left + f.right);

    m_Window.SetClientSize(320, 240);
    RECT client{};
    m_Window.GetClientRect(&client);
    EXPECT_EQ(client.right, 320);
    EXPECT_EQ(client.bottom, 240);
    EXPECT_EQ(m_Window.m_nWindowHeight, 240 + f.top + f.bottom);
}

}  // namespace
