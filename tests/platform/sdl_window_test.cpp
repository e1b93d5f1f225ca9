#include "platform/ui/sdl_window.h"

#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <vector>

#include "platform/input/keyboard.h"
#include "platform/os/messages.h"
#include "platform/ui/window.h"

namespace {

struct Seen { UINT msg; WPARAM wParam; };
std::vector<Seen> g_Seen;

LRESULT RecordingWindowProc(HWND, UINT msg, WPARAM wParam, LPARAM)
{
    g_Seen.push_back({msg, wParam});
    return 0;
}

// The main window over the dummy video driver, made on the test's thread as the window thread.
class SdlWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_Seen.clear();
        plat::SetWindowThread();
        ASSERT_TRUE(plat::StartSdlVideo());
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = RecordingWindowProc;
        windowClass.lpszClassName = "Quillbramwood";
        ASSERT_NE(RegisterClassExA(&windowClass), 0);
        m_hWnd = CreateWindowExA(0, "Quillbramwood", "", WS_POPUP | WS_CAPTION, 100, 100, 646, 505, nullptr, nullptr,
                                 nullptr, nullptr);
        ASSERT_NE(m_hWnd, nullptr);
        DrainPosted();
    }
    void TearDown() override
    {
        plat::DestroyMainSdlWindow();
        plat::ForgetWindows();
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    }
    // The window messages posted so far.
    std::vector<Seen> DrainPosted()
    {
        std::vector<Seen> posted;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) posted.push_back({msg.message, msg.wParam});
        return posted;
    }
    static void PushKey(SDL_Scancode code, bool down)
    {
        SDL_Event event{};
        event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        event.key.keysym.scancode = code;
        SDL_PushEvent(&event);
    }
    static void PushWindowEvent(Uint8 what)
    {
        SDL_Event event{};
        event.type = SDL_WINDOWEVENT;
        event.window.event = what;
        SDL_PushEvent(&event);
    }
    HWND m_hWnd = nullptr;
};

TEST_F(SdlWindow, HeadlessTheMainWindowIsActiveFromItsCreation)
{
    EXPECT_TRUE(plat::IsHeadless());
    EXPECT_NE(plat::MainSdlWindow(), nullptr);
    EXPECT_EQ(plat::MainWindowHandle(), m_hWnd);
    ASSERT_GE(g_Seen.size(), 2u);
    EXPECT_EQ(g_Seen[0].msg, WM_CREATE);
    EXPECT_EQ(g_Seen[1].msg, WM_ACTIVATEAPP);
    EXPECT_EQ(g_Seen[1].wParam, 1u);
}

TEST_F(SdlWindow, SdlQuitBecomesWmClose)
{
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    const std::vector<Seen> posted = DrainPosted();
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].msg, WM_CLOSE);
}

TEST_F(SdlWindow, KeysReachTheKeyTableAndTheWindow)
{
    PushKey(SDL_SCANCODE_ESCAPE, true);
    std::vector<Seen> posted = DrainPosted();
    EXPECT_TRUE(GetAsyncKeyState(VK_ESCAPE) & 0x8000);
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].msg, WM_KEYDOWN);
    EXPECT_EQ(posted[0].wParam, static_cast<WPARAM>(VK_ESCAPE));

    PushKey(SDL_SCANCODE_ESCAPE, false);
    posted = DrainPosted();
    EXPECT_FALSE(GetAsyncKeyState(VK_ESCAPE) & 0x8000);
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].msg, WM_KEYUP);
}

TEST_F(SdlWindow, FocusLossReleasesHeldKeysAndDeactivates)
{
    PushKey(SDL_SCANCODE_LEFT, true);
    DrainPosted();
    ASSERT_TRUE(GetAsyncKeyState(VK_LEFT) & 0x8000);

    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    const std::vector<Seen> posted = DrainPosted();
    EXPECT_FALSE(GetAsyncKeyState(VK_LEFT) & 0x8000);
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].msg, WM_ACTIVATEAPP);
    EXPECT_EQ(posted[0].wParam, 0u);

    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    const std::vector<Seen> again = DrainPosted();
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(again[0].wParam, 1u);
}

TEST_F(SdlWindow, ThePositionFollowsTheClientAreaAndItsFrame)
{
    // Client origin = outer corner + the frame of the style (caption and dialog frame).
    POINT origin{0, 0};
    ClientToScreen(m_hWnd, &origin);
    const int frameX = GetSystemMetrics(SM_CXDLGFRAME);
    const int frameTop = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYDLGFRAME);
    EXPECT_EQ(origin.x, 100 + frameX);
    EXPECT_EQ(origin.y, 100 + frameTop);
    RECT client{};
    ASSERT_TRUE(GetClientRect(m_hWnd, &client));
    EXPECT_EQ(client.right, 646 - 2 * frameX);
    EXPECT_EQ(client.bottom, 505 - frameTop - GetSystemMetrics(SM_CYDLGFRAME));

    // A move reported by the desktop moves the record and posts WM_MOVE once.
    EXPECT_TRUE(plat::NoteClientMoved(300, 200));
    EXPECT_FALSE(plat::NoteClientMoved(300, 200));
    RECT outer{};
    GetWindowRect(m_hWnd, &outer);
    EXPECT_EQ(outer.left, 300 - frameX);
    EXPECT_EQ(outer.top, 200 - frameTop);
}

}  // namespace
