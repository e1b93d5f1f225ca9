// The drawing thread presents frames, loses the device, restores it and moves the main window,
// and every SDL video call that this makes runs on the window thread.
#include "tests/graphics/graphics_fixture.h"

#include <SDL2/SDL.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>
#include "graphics/fill.h"
#include "graphics/present.h"
#include "graphics/restore.h"
#include "platform/os/messages.h"
#include "platform/ui/sdl_window.h"
#include "platform/ui/window.h"

namespace {

LRESULT QuietProc(HWND, UINT, WPARAM, LPARAM) { return 0; }

// The threads on which SDL raised window events: SDL calls event watches on the thread of the
// call that raised the event (showing, hiding and resizing the window do).
struct cWindowEvents {
    std::mutex lock;
    std::vector<std::pair<std::thread::id, Uint8>> seen;
};

int RecordWindowEvent(void* user, SDL_Event* event)
{
    if (event->type != SDL_WINDOWEVENT) return 1;
    auto* events = static_cast<cWindowEvents*>(user);
    std::lock_guard lock(events->lock);
    events->seen.emplace_back(std::this_thread::get_id(), event->window.event);
    return 1;
}

class cPresentThread : public qbtest::cGraphicsTest {
protected:
    void SetUp() override
    {
        cGraphicsTest::SetUp();
        plat::SetWindowThread();
        ASSERT_TRUE(plat::StartSdlVideo());
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = QuietProc;
        windowClass.lpszClassName = "Quillbramwood";
        ASSERT_NE(RegisterClassExA(&windowClass), 0);
        m_hWnd = CreateWindowExA(0, "Quillbramwood", "", WS_POPUP, 100, 100, 640, 480, nullptr, nullptr, nullptr,
                                 nullptr);
        ASSERT_NE(m_hWnd, nullptr);
        ASSERT_NE(plat::MainSdlWindow(), nullptr);
        SDL_AddEventWatch(RecordWindowEvent, &m_Events);
    }
    void TearDown() override
    {
        SDL_DelEventWatch(RecordWindowEvent, &m_Events);
        cGraphicsTest::TearDown();
        plat::ResetPresenter();
        plat::DestroyMainSdlWindow();
        plat::ForgetWindows();
        plat::SetThreadEventPump(nullptr, nullptr);
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    }
    // Runs work on a drawing thread while this thread, the window thread, serves its calls
    // inside its message calls, for at most ten seconds.
    void OnDrawingThread(const std::function<void()>& work)
    {
        std::atomic<bool> done{false};
        const DWORD windowThread = GetCurrentThreadId();
        std::thread drawing([&] {
            work();
            done = true;
            PostThreadMessageA(windowThread, WM_USER, 0, 0);
        });
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!done && std::chrono::steady_clock::now() < deadline) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            }
            plat::DrainSdlEvents(10);
        }
        EXPECT_TRUE(done) << "the drawing thread is still waiting for the window thread";
        drawing.join();
    }
    HWND m_hWnd = nullptr;
    cWindowEvents m_Events;
};

TEST_F(cPresentThread, SdlVideoCallsOfTheDrawingThreadRunOnTheWindowThread)
{
    ASSERT_TRUE(DDInit(TRUE, m_hWnd, 640, 480, 32, FALSE, 0, 1, 60, FALSE, nullptr, nullptr, 0, 0));
    OnDrawingThread([&] {
        DDFillSurface(&g_BackBuffer, 0xFF102030);
        EXPECT_EQ(DDPresent(60, 0, nullptr), 1);
        // A lost device minimises the full-screen window; the restore shows it again.
        plat::SimulateD3DDeviceLoss(false);
        EXPECT_EQ(DDPresent(60, 0, nullptr), 0);
        EXPECT_TRUE(IsIconic(m_hWnd));
        plat::AllowD3DDeviceReset();
        EXPECT_EQ(DDRestoreSurface(), 1);
        EXPECT_FALSE(IsIconic(m_hWnd));
        EXPECT_TRUE(SetWindowTextA(m_hWnd, "タイトル"));
    });
    EXPECT_EQ(plat::LastFrame().argb.at(0), 0xFF102030u);
    EXPECT_STREQ(SDL_GetWindowTitle(plat::MainSdlWindow()), u8"タイトル");
    DDUninit();
    // Back in a window: the drawing thread resizes and hides it.
    OnDrawingThread([&] {
        EXPECT_TRUE(SetWindowPos(m_hWnd, nullptr, 0, 0, 320, 240, SWP_NOMOVE | SWP_NOZORDER));
        ShowWindow(m_hWnd, SW_HIDE);
    });
    int width = 0, height = 0;
    SDL_GetWindowSize(plat::MainSdlWindow(), &width, &height);
    EXPECT_EQ(width, 320);
    EXPECT_EQ(height, 240);

    std::lock_guard lock(m_Events.lock);
    std::vector<Uint8> kinds;
    for (const auto& [thread, kind] : m_Events.seen) {
        EXPECT_EQ(thread, std::this_thread::get_id()) << "window event " << static_cast<int>(kind) << " off the window thread";
        kinds.push_back(kind);
    }
    for (Uint8 expected : {SDL_WINDOWEVENT_SHOWN, SDL_WINDOWEVENT_SIZE_CHANGED, SDL_WINDOWEVENT_HIDDEN})
        EXPECT_NE(std::find(kinds.begin(), kinds.end(), expected), kinds.end()) << "no event " << static_cast<int>(expected);
}

}  // namespace
