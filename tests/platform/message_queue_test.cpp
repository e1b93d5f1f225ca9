// Window messages between threads: thread ids, posts, quit ordering, filters, posts to windows,
// released queues and destroyed windows.
#include "platform/os/messages.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "tests/platform/message_test_support.h"

namespace {

// Each file is a test suite of its own: gtest wants one fixture class per suite name.
class MessageQueueTest : public cMessageFixture {};

TEST_F(MessageQueueTest, ThreadIdsAreStablePerThreadAndNeverReused)
{
    const DWORD mine = GetCurrentThreadId();
    EXPECT_GE(mine, 1u);
    EXPECT_EQ(GetCurrentThreadId(), mine);
    DWORD previous = mine;
    for (int i = 0; i < 3; ++i) {
        DWORD other = 0;
        cBoundedThread([&] { other = GetCurrentThreadId(); }).Join();
        EXPECT_GT(other, previous) << "a new thread reused or went below an earlier id";
        previous = other;
    }
}

TEST_F(MessageQueueTest, PostThreadMessageFailsUntilTheThreadHasItsQueueAndAfterItEnded)
{
    cHandOver<DWORD> id;
    cSignal go, queued;
    std::vector<MSG> received;
    int lastGet = -2;
    cBoundedThread target([&] {
        id.Set(GetCurrentThreadId());
        go.Get();
        plat::EnsureThreadQueue();
        queued.Set(true);
        MSG m{};
        while ((lastGet = GetMessageA(&m, nullptr, 0, 0)) > 0) received.push_back(m);
    });
    const DWORD targetId = id.Get();
    EXPECT_FALSE(PostThreadMessageA(targetId, WM_APP, 1, 0));
    go.Set(true);
    queued.Get();
    EXPECT_TRUE(PostThreadMessageA(targetId, WM_APP, 7, 8));
    EXPECT_TRUE(PostThreadMessageA(targetId, WM_QUIT, 0, 0));
    target.Join();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].message, WM_APP);
    EXPECT_EQ(received[0].hwnd, nullptr);
    EXPECT_EQ(received[0].wParam, 7u);
    EXPECT_EQ(received[0].lParam, 8);
    EXPECT_EQ(lastGet, 0) << "GetMessageA returns 0 for WM_QUIT";
    EXPECT_FALSE(PostThreadMessageA(targetId, WM_APP, 2, 0));
    EXPECT_FALSE(PostThreadMessageA(0, WM_APP, 0, 0));
    EXPECT_FALSE(PostThreadMessageA(0xFFFFFFF0u, WM_APP, 0, 0));
}

TEST_F(MessageQueueTest, QuitComesAfterEveryMessageAlreadyQueued)
{
    constexpr UINT A = WM_USER + 1, B = WM_USER + 2;
    struct Case {
        const char* name;
        void (*post)();
        std::vector<UINT> expected;
    } cases[] = {
        {"quit posted to the thread last",
         [] {
             PostThreadMessageA(GetCurrentThreadId(), A, 0, 0);
             PostMessageA(nullptr, B, 0, 0);
             PostThreadMessageA(GetCurrentThreadId(), WM_QUIT, 0, 0);
         },
         {A, B, WM_QUIT}},
        {"PostQuitMessage before the others",
         [] {
             PostQuitMessage(3);
             PostMessageA(nullptr, A, 0, 0);
             PostThreadMessageA(GetCurrentThreadId(), B, 0, 0);
         },
         {A, B, WM_QUIT}},
        {"PostQuitMessage between the others",
         [] {
             PostMessageA(nullptr, A, 0, 0);
             PostQuitMessage(0);
             PostMessageA(nullptr, B, 0, 0);
         },
         {A, B, WM_QUIT}},
    };
    for (const auto& c : cases) {
        std::vector<UINT> taken;
        cBoundedThread([&] {
            c.post();
            taken = DrainQueue();
        }).Join();
        EXPECT_EQ(taken, c.expected) << c.name;
    }
}

TEST_F(MessageQueueTest, GetMessageGivesTheQuitCodeOfPostQuitMessage)
{
    cBoundedThread([] {
        PostQuitMessage(42);
        MSG m{};
        EXPECT_EQ(GetMessageA(&m, nullptr, 0, 0), 0);
        EXPECT_EQ(m.message, WM_QUIT);
        EXPECT_EQ(m.wParam, 42u);
        EXPECT_FALSE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) << "the quit request is taken once";
    }).Join();
}

TEST_F(MessageQueueTest, PeekTakesTheFirstMessageThatPassesTheFilters)
{
    constexpr UINT M1 = 0x401, M2 = 0x402, M3 = 0x403, M4 = 0x404;
    struct Case {
        const char* name;
        int window;   // 0 none, 1 or 2
        UINT filterMin, filterMax;
        UINT expected;   // 0: nothing taken
    } cases[] = {
        {"no filter", 0, 0, 0, M1},
        {"window 2", 2, 0, 0, M2},
        {"range", 0, M3, M4, M3},
        {"window 1 and range", 1, M2, M4, M3},
        {"thread message by range", 0, M4, M4, M4},
        {"nothing in range", 0, 0x405, 0x410, 0},
    };
    for (const auto& c : cases) {
        cBoundedThread([&] {
            HWND windows[3] = {nullptr, plat::CreateWindowHandle(RecordingProc), plat::CreateWindowHandle(RecordingProc)};
            PostMessageA(windows[1], M1, 0, 0);
            PostMessageA(windows[2], M2, 0, 0);
            PostMessageA(windows[1], M3, 0, 0);
            PostMessageA(nullptr, M4, 0, 0);
            std::vector<UINT> rest = {M1, M2, M3, M4};
            MSG m{};
            const BOOL took = PeekMessageA(&m, windows[c.window], c.filterMin, c.filterMax, PM_REMOVE);
            EXPECT_EQ(took != 0, c.expected != 0) << c.name;
            if (took) {
                EXPECT_EQ(m.message, c.expected) << c.name;
                std::erase(rest, c.expected);
            }
            EXPECT_EQ(DrainQueue(), rest) << c.name << ": the others stay in order";
        }).Join();
    }
}

TEST_F(MessageQueueTest, PeekWithoutRemovingLeavesTheMessageAndQuitPassesAnyFilter)
{
    cBoundedThread([] {
        HWND w = plat::CreateWindowHandle(RecordingProc);
        PostMessageA(w, WM_USER, 1, 0);
        PostMessageA(w, WM_USER, 2, 0);
        MSG m{};
        ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE));
        EXPECT_EQ(m.wParam, 1u);
        ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE));
        EXPECT_EQ(m.wParam, 1u);
        ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
        EXPECT_EQ(m.wParam, 1u);
        EXPECT_EQ(m.hwnd, w);
        ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
        EXPECT_EQ(m.wParam, 2u);

        PostQuitMessage(5);
        ASSERT_TRUE(PeekMessageA(&m, w, WM_USER, WM_USER, PM_NOREMOVE));
        EXPECT_EQ(m.message, WM_QUIT);
        ASSERT_TRUE(PeekMessageA(&m, w, WM_USER, WM_USER, PM_REMOVE));
        EXPECT_EQ(m.message, WM_QUIT);
        EXPECT_EQ(m.wParam, 5u);
        EXPECT_FALSE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
    }).Join();
}

TEST_F(MessageQueueTest, PostToAWindowLandsInItsThreadsQueueAndDispatchCallsItsProcedure)
{
    cHandOver<HWND> window;
    cSignal posted;
    MSG got{};
    LRESULT dispatched = 0;
    cBoundedThread owner([&] {
        window.Set(plat::CreateWindowHandle(RecordingProc));
        posted.Get();
        ASSERT_EQ(GetMessageA(&got, nullptr, 0, 0), 1);
        EXPECT_TRUE(TranslateMessage(&got));
        dispatched = DispatchMessageA(&got);
    });
    const HWND w = window.Get();
    EXPECT_TRUE(PostMessageA(w, WM_USER + 5, 20, -3));
    EXPECT_TRUE(DrainQueue().empty()) << "the poster's own queue got nothing";
    posted.Set(true);
    owner.Join();
    EXPECT_EQ(got.hwnd, w);
    EXPECT_EQ(got.message, WM_USER + 5);
    EXPECT_EQ(got.wParam, 20u);
    EXPECT_EQ(got.lParam, -3);
    EXPECT_EQ(dispatched, 41);
}

TEST_F(MessageQueueTest, ReleasedQueueRefusesPostsForGood)
{
    cBoundedThread([] {
        const DWORD me = GetCurrentThreadId();
        EXPECT_TRUE(PostThreadMessageA(me, WM_USER, 0, 0));
        plat::ReleaseThreadQueue();
        EXPECT_FALSE(PostThreadMessageA(me, WM_USER, 0, 0));
        EXPECT_FALSE(PostMessageA(nullptr, WM_USER, 0, 0));
        MSG m{};
        EXPECT_FALSE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) << "the message queued before went too";
        EXPECT_EQ(GetMessageA(&m, nullptr, 0, 0), -1);
        plat::EnsureThreadQueue();
        EXPECT_FALSE(PostThreadMessageA(me, WM_USER, 0, 0));
    }).Join();
}

std::atomic<int> g_nDestroyCalls{0};
std::atomic<bool> g_bAliveDuringDestroy{false};
LRESULT DestroyWatchingProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_DESTROY) {
        ++g_nDestroyCalls;
        g_bAliveDuringDestroy = IsWindow(hWnd) != 0;
        DestroyWindow(hWnd);   // a second destroy from inside is refused
        return 0;
    }
    if (msg == WM_USER) return 11;
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}

TEST_F(MessageQueueTest, DestroyWindowSendsDestroyOnceAndThenTheHandleIsDead)
{
    struct Case {
        const char* name;
        void (*destroy)(HWND);
    } cases[] = {
        {"DestroyWindow", [](HWND w) { EXPECT_TRUE(DestroyWindow(w)); }},
        {"WM_CLOSE to DefWindowProcA", [](HWND w) { EXPECT_EQ(SendMessageA(w, WM_CLOSE, 0, 0), 0); }},
    };
    for (const auto& c : cases) {
        g_nDestroyCalls = 0;
        g_bAliveDuringDestroy = false;
        const HWND w = plat::CreateWindowHandle(DestroyWatchingProc);
        EXPECT_TRUE(IsWindow(w));
        EXPECT_EQ(SendMessageA(w, WM_USER, 0, 0), 11);
        c.destroy(w);
        EXPECT_EQ(g_nDestroyCalls, 1) << c.name;
        EXPECT_TRUE(g_bAliveDuringDestroy) << c.name;
        EXPECT_FALSE(IsWindow(w)) << c.name;
        EXPECT_FALSE(DestroyWindow(w)) << c.name;
        EXPECT_EQ(SendMessageA(w, WM_USER, 0, 0), 0) << c.name;
        EXPECT_EQ(g_nDestroyCalls, 1) << c.name;
    }
    EXPECT_EQ(DefWindowProcA(nullptr, WM_USER, 1, 2), 0);
}

}  // namespace
