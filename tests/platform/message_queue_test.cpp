// Window messages between threads: posts, sends, quit ordering, filters, windows, suspension,
// the window thread's calls and the event pump hook.
#include "platform/os/messages.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/os/timer.h"

namespace {

constexpr auto kBound = std::chrono::seconds(20);

[[noreturn]] void Hung(const char* what)
{
    std::fprintf(stderr, "hung: %s\n", what);
    std::abort();
}

// A value handed from one thread to another; the reader waits for it with a bound.
template <class T>
class cHandOver {
public:
    void Set(T value)
    {
        {
            std::lock_guard lock(m_Mutex);
            m_Value = std::move(value);
        }
        m_Cond.notify_all();
    }
    T Get()
    {
        std::unique_lock lock(m_Mutex);
        if (!m_Cond.wait_for(lock, kBound, [&] { return m_Value.has_value(); })) Hung("a value never came");
        return *m_Value;
    }
    template <class Duration>
    bool WaitFor(Duration bound)
    {
        std::unique_lock lock(m_Mutex);
        return m_Cond.wait_for(lock, bound, [&] { return m_Value.has_value(); });
    }
private:
    std::mutex m_Mutex;
    std::condition_variable m_Cond;
    std::optional<T> m_Value;
};
using cSignal = cHandOver<bool>;

// A thread that must end within the bound; a hang ends the test process with a message.
class cBoundedThread {
public:
    template <class F>
    explicit cBoundedThread(F body) : m_Thread([this, body] { body(); m_Ended.Set(true); }) {}
    ~cBoundedThread() { Join(); }
    void Join()
    {
        if (!m_Thread.joinable()) return;
        m_Ended.Get();
        m_Thread.join();   // the thread's queue is released by then
    }
private:
    cSignal m_Ended;
    std::thread m_Thread;
};

// What the window procedures saw.
struct cCall {
    DWORD threadId;
    UINT message;
    WPARAM wParam;
    const char* inside;   // the message call the handler ran inside, where the test marks it
};
std::mutex g_CallLock;
std::vector<cCall> g_Calls;
std::vector<std::string> g_Order;
thread_local const char* t_pInside = "";

void Note(const std::string& event)
{
    std::lock_guard lock(g_CallLock);
    g_Order.push_back(event);
}

std::vector<cCall> Calls()
{
    std::lock_guard lock(g_CallLock);
    return g_Calls;
}

// Records the call and answers 2 × wParam + 1, so that a caller can tell the answer came
// from the handler.
LRESULT RecordingProc(HWND, UINT msg, WPARAM wParam, LPARAM)
{
    {
        std::lock_guard lock(g_CallLock);
        g_Calls.push_back(cCall{GetCurrentThreadId(), msg, wParam, t_pInside});
        g_Order.push_back("handled " + std::to_string(wParam));
    }
    return static_cast<LRESULT>(2 * wParam + 1);
}

// Everything waiting in the calling thread's queue, in order.
std::vector<UINT> DrainQueue()
{
    std::vector<UINT> taken;
    MSG m{};
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) taken.push_back(m.message);
    return taken;
}

class MessageQueueTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::lock_guard lock(g_CallLock);
        g_Calls.clear();
        g_Order.clear();
    }
};

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

// The receiver's loop for each message call that serves sends; the test marks the call so that
// the handler can tell where it ran. Each loop ends on WM_QUIT.
struct ServingLoop {
    const char* name;
    void (*run)();
};
const ServingLoop kServingLoops[] = {
    {"PeekMessageA",
     [] {
         MSG m{};
         for (;;) {
             t_pInside = "PeekMessageA";
             const BOOL took = PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE);
             t_pInside = "";
             if (took && m.message == WM_QUIT) return;
             std::this_thread::yield();
         }
     }},
    {"GetMessageA",
     [] {
         MSG m{};
         for (;;) {
             t_pInside = "GetMessageA";
             const BOOL got = GetMessageA(&m, nullptr, 0, 0);
             t_pInside = "";
             if (got <= 0) return;
         }
     }},
    {"WaitMessage",
     [] {
         MSG m{};
         for (;;) {
             t_pInside = "WaitMessage";
             WaitMessage();
             t_pInside = "";
             if (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE) && m.message == WM_QUIT) return;
         }
     }},
};

TEST_F(MessageQueueTest, CrossThreadSendBlocksUntilTheReceiverServedItInsideAnyMessageCall)
{
    for (const auto& loop : kServingLoops) {
        SetUp();
        cHandOver<HWND> window;
        cHandOver<DWORD> receiverId;
        cBoundedThread receiver([&] {
            receiverId.Set(GetCurrentThreadId());
            window.Set(plat::CreateWindowHandle(RecordingProc));
            loop.run();
        });
        const LRESULT result = SendMessageA(window.Get(), WM_USER, 10, 0);
        Note("returned");
        EXPECT_EQ(result, 21) << loop.name;
        PostThreadMessageA(receiverId.Get(), WM_QUIT, 0, 0);
        receiver.Join();
        const auto calls = Calls();
        ASSERT_EQ(calls.size(), 1u) << loop.name;
        EXPECT_EQ(calls[0].threadId, receiverId.Get()) << loop.name << ": the handler runs on the receiver";
        EXPECT_STREQ(calls[0].inside, loop.name);
        EXPECT_EQ(g_Order, (std::vector<std::string>{"handled 10", "returned"})) << loop.name;
    }
}

TEST_F(MessageQueueTest, SendOnTheWindowsOwnThreadIsADirectCall)
{
    const HWND w = plat::CreateWindowHandle(RecordingProc);
    t_pInside = "caller";
    EXPECT_EQ(SendMessageA(w, WM_USER, 3, 0), 7);
    t_pInside = "";
    const auto calls = Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].threadId, GetCurrentThreadId());
    EXPECT_STREQ(calls[0].inside, "caller");
    DestroyWindow(w);
}

TEST_F(MessageQueueTest, TwoThreadsSendingToEachOtherServeEachOtherWhileBlocked)
{
    // Each thread's first message call is its send, so neither returns unless a blocked sender
    // serves the other's send.
    cHandOver<HWND> windowA, windowB;
    cHandOver<DWORD> idA, idB;
    cSignal aSending;
    LRESULT resultA = 0, resultB = 0;
    cBoundedThread b([&] {
        idB.Set(GetCurrentThreadId());
        windowB.Set(plat::CreateWindowHandle(RecordingProc));
        aSending.Get();
        resultB = SendMessageA(windowA.Get(), WM_USER, 2, 0);
        MSG m{};
        while (GetMessageA(&m, nullptr, 0, 0) > 0) {
        }
    });
    {
        cBoundedThread a([&] {
            idA.Set(GetCurrentThreadId());
            windowA.Set(plat::CreateWindowHandle(RecordingProc));
            const HWND target = windowB.Get();
            aSending.Set(true);
            resultA = SendMessageA(target, WM_USER, 1, 0);
        });
    }
    PostThreadMessageA(idB.Get(), WM_QUIT, 0, 0);
    b.Join();
    EXPECT_EQ(resultA, 3);
    EXPECT_EQ(resultB, 5);
    for (const auto& call : Calls())
        EXPECT_EQ(call.threadId, call.wParam == 1 ? idB.Get() : idA.Get()) << "message " << call.wParam;
    EXPECT_EQ(Calls().size(), 2u);
}

TEST_F(MessageQueueTest, SenderWaitingOnAThreadThatEndsGetsZero)
{
    cHandOver<HWND> receiverWindow, senderWindow;
    cSignal end;
    LRESULT result = -1;
    cBoundedThread receiver([&] {
        receiverWindow.Set(plat::CreateWindowHandle(RecordingProc));
        end.Get();   // never inside a message call: the send stays pending
    });
    cBoundedThread sender([&] {
        senderWindow.Set(plat::CreateWindowHandle(RecordingProc));
        result = SendMessageA(receiverWindow.Get(), WM_USER, 1, 0);
    });
    // The sender serves this probe only inside its own send, so once it is answered the send
    // to the receiver is queued.
    EXPECT_EQ(SendMessageA(senderWindow.Get(), WM_USER, 9, 0), 19);
    end.Set(true);
    receiver.Join();
    sender.Join();
    EXPECT_EQ(result, 0);
    for (const auto& call : Calls()) EXPECT_NE(call.wParam, 1u) << "the ended thread never ran the send";
}

TEST_F(MessageQueueTest, SendToNoLiveWindowReturnsZeroAtOnce)
{
    HWND destroyed = plat::CreateWindowHandle(RecordingProc);
    DestroyWindow(destroyed);
    HWND ofEndedThread = nullptr;
    cBoundedThread([&] { ofEndedThread = plat::CreateWindowHandle(RecordingProc); }).Join();
    HWND ofReleasedQueue = nullptr;
    cSignal released, done;
    cBoundedThread owner([&] {
        ofReleasedQueue = plat::CreateWindowHandle(RecordingProc);
        plat::ReleaseThreadQueue();
        released.Set(true);
        done.Get();
    });
    released.Get();
    const struct {
        const char* name;
        HWND window;
    } cases[] = {
        {"null", nullptr},
        {"never made", reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x7777770))},
        {"destroyed", destroyed},
        {"its thread ended", ofEndedThread},
        {"its thread released its queue", ofReleasedQueue},
    };
    for (const auto& c : cases) {
        SetUp();
        LRESULT result = -1;
        cBoundedThread([&] { result = SendMessageA(c.window, WM_USER, 4, 0); }).Join();
        EXPECT_EQ(result, 0) << c.name;
        EXPECT_FALSE(IsWindow(c.window)) << c.name;
        if (c.window) {
            EXPECT_FALSE(PostMessageA(c.window, WM_USER, 0, 0)) << c.name;
        }
        EXPECT_TRUE(Calls().empty()) << c.name;
    }
    done.Set(true);
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

TEST_F(MessageQueueTest, WindowThreadIdIsItsOwnersWithThisProcess)
{
    cHandOver<HWND> window;
    cHandOver<DWORD> ownerId;
    cSignal done;
    cBoundedThread owner([&] {
        ownerId.Set(GetCurrentThreadId());
        window.Set(plat::CreateWindowHandle(RecordingProc));
        done.Get();
    });
    DWORD processId = 0;
    EXPECT_EQ(GetWindowThreadProcessId(window.Get(), &processId), ownerId.Get());
    EXPECT_EQ(processId, static_cast<DWORD>(getpid()));
    EXPECT_EQ(GetWindowThreadProcessId(window.Get(), nullptr), ownerId.Get());
    done.Set(true);
    owner.Join();
    EXPECT_EQ(GetWindowThreadProcessId(window.Get(), nullptr), 0u) << "windows die with their thread";
}

TEST_F(MessageQueueTest, SuspendCountsNestAndUnknownThreadsFail)
{
    cHandOver<DWORD> id;
    cSignal done;
    cBoundedThread target([&] {
        id.Set(GetCurrentThreadId());
        done.Get();
    });
    const DWORD t = id.Get();
    EXPECT_EQ(plat::SuspendThreadById(t), 0u);
    EXPECT_EQ(plat::SuspendThreadById(t), 1u);
    EXPECT_EQ(plat::ResumeThreadById(t), 2u);
    EXPECT_EQ(plat::ResumeThreadById(t), 1u);
    EXPECT_EQ(plat::ResumeThreadById(t), 0u);
    done.Set(true);
    target.Join();
    EXPECT_EQ(plat::SuspendThreadById(t), static_cast<DWORD>(-1)) << "the thread has ended";
    EXPECT_EQ(plat::ResumeThreadById(t), static_cast<DWORD>(-1));
    EXPECT_EQ(plat::SuspendThreadById(0xFFFFFFF0u), static_cast<DWORD>(-1));
}

TEST_F(MessageQueueTest, SuspendedThreadStopsAtItsNextMessageCallOrSleep)
{
    struct Case {
        const char* name;
        void (*stopPoint)();
    } cases[] = {
        {"PeekMessageA", [] { MSG m{}; PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE); }},
        {"PostMessageA", [] { PostMessageA(nullptr, WM_USER, 0, 0); }},
        {"Sleep", [] { Sleep(0); }},
    };
    for (const auto& c : cases) {
        cHandOver<DWORD> id;
        cSignal suspended, passed;
        cBoundedThread target([&] {
            id.Set(GetCurrentThreadId());
            suspended.Get();
            c.stopPoint();
            passed.Set(true);
        });
        const DWORD t = id.Get();
        EXPECT_EQ(plat::SuspendThreadById(t), 0u) << c.name;
        suspended.Set(true);
        // Nothing can show that a thread is stopped, only that it went on: an ignored stop point
        // lets it past well within this short wait, which otherwise runs out.
        EXPECT_FALSE(passed.WaitFor(std::chrono::milliseconds(30))) << c.name << ": ran on while suspended";
        EXPECT_EQ(plat::ResumeThreadById(t), 1u) << c.name;
        passed.Get();
        target.Join();
    }
}

TEST_F(MessageQueueTest, RunOnWindowThreadRunsThereServingTheCallersSendsMeanwhile)
{
    cHandOver<DWORD> windowThreadId;
    bool runsAtOnceOnItself = false, isWindowThread = false;
    cBoundedThread windowThread([&] {
        plat::SetWindowThread();
        isWindowThread = plat::IsWindowThread();
        plat::RunOnWindowThread([&] { runsAtOnceOnItself = true; });
        windowThreadId.Set(GetCurrentThreadId());
        MSG m{};
        while (GetMessageA(&m, nullptr, 0, 0) > 0) {
        }
    });
    const DWORD wt = windowThreadId.Get();
    EXPECT_TRUE(isWindowThread);
    EXPECT_TRUE(runsAtOnceOnItself);
    EXPECT_FALSE(plat::IsWindowThread());

    // The function sends back to the caller's window: the caller serves it while it waits.
    const HWND callerWindow = plat::CreateWindowHandle(RecordingProc);
    DWORD ranOn = 0;
    LRESULT answer = 0;
    EXPECT_TRUE(plat::RunOnWindowThread([&] {
        ranOn = GetCurrentThreadId();
        answer = SendMessageA(callerWindow, WM_USER, 6, 0);
    }));
    EXPECT_EQ(ranOn, wt);
    EXPECT_EQ(answer, 13);
    ASSERT_EQ(Calls().size(), 1u);
    EXPECT_EQ(Calls()[0].threadId, GetCurrentThreadId());

    PostThreadMessageA(wt, WM_QUIT, 0, 0);
    windowThread.Join();
    bool ran = false;
    EXPECT_FALSE(plat::RunOnWindowThread([&] { ran = true; })) << "the window thread is gone";
    EXPECT_FALSE(ran);
    DestroyWindow(callerWindow);
}

// A stand-in for the SDL side of the window thread: outside events that the pump turns into
// posted messages, and a wake that leaves an event pending.
struct cFakeEvents {
    std::mutex lock;
    std::condition_variable cond;
    int outside = 0;
    int wakeEvents = 0;
    int wakes = 0;
    bool waiting = false;
};
cFakeEvents g_Fake;

void FakePump(DWORD waitMs)
{
    std::unique_lock lock(g_Fake.lock);
    if (waitMs > 0) {
        g_Fake.waiting = true;
        g_Fake.cond.notify_all();
        g_Fake.cond.wait(lock, [] { return g_Fake.outside > 0 || g_Fake.wakeEvents > 0; });
        g_Fake.waiting = false;
    }
    g_Fake.wakeEvents = 0;
    const int outside = std::exchange(g_Fake.outside, 0);
    lock.unlock();
    for (int i = 0; i < outside; ++i) PostMessageA(nullptr, WM_APP + 1, static_cast<WPARAM>(i), 0);
}

void FakeWake()
{
    std::lock_guard lock(g_Fake.lock);
    ++g_Fake.wakeEvents;
    ++g_Fake.wakes;
    g_Fake.cond.notify_all();
}

void ResetFake(int outside)
{
    std::lock_guard lock(g_Fake.lock);
    g_Fake.outside = outside;
    g_Fake.wakeEvents = g_Fake.wakes = 0;
    g_Fake.waiting = false;
}

void WaitUntilPumpWaits()
{
    std::unique_lock lock(g_Fake.lock);
    if (!g_Fake.cond.wait_for(lock, kBound, [] { return g_Fake.waiting; })) Hung("the pump never waited");
}

TEST_F(MessageQueueTest, EventsPumpedAtTheStartOfAPeekAreTakenByThatPeek)
{
    ResetFake(2);
    cBoundedThread([] {
        plat::SetThreadEventPump(FakePump, FakeWake);
        MSG m{};
        ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
        EXPECT_EQ(m.message, WM_APP + 1);
        EXPECT_EQ(m.wParam, 0u);
        ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
        EXPECT_EQ(m.wParam, 1u);
        EXPECT_FALSE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
    }).Join();
    EXPECT_EQ(g_Fake.wakes, 0) << "a pump posting to its own thread needs no wake";
}

TEST_F(MessageQueueTest, APumpingThreadsWaitWakesOnPostsSendsAndOutsideEvents)
{
    struct Case {
        const char* name;
        void (*act)(DWORD thread, HWND window);
        UINT expected;   // the first message the waiting GetMessageA returns
        bool wakeCalled;
    } cases[] = {
        {"post", [](DWORD thread, HWND) { PostThreadMessageA(thread, WM_USER + 3, 0, 0); }, WM_USER + 3, true},
        {"send",
         [](DWORD thread, HWND window) {
             EXPECT_EQ(SendMessageA(window, WM_USER, 8, 0), 17);
             PostThreadMessageA(thread, WM_USER + 4, 0, 0);
         },
         WM_USER + 4, true},
        {"outside event",
         [](DWORD, HWND) {
             std::lock_guard lock(g_Fake.lock);
             g_Fake.outside = 1;
             g_Fake.cond.notify_all();
         },
         WM_APP + 1, false},
    };
    for (const auto& c : cases) {
        SetUp();
        ResetFake(0);
        cHandOver<DWORD> id;
        cHandOver<HWND> window;
        UINT first = 0;
        cBoundedThread pumping([&] {
            plat::SetThreadEventPump(FakePump, FakeWake);
            window.Set(plat::CreateWindowHandle(RecordingProc));
            id.Set(GetCurrentThreadId());
            MSG m{};
            if (GetMessageA(&m, nullptr, 0, 0) > 0) first = m.message;
        });
        const DWORD thread = id.Get();
        const HWND w = window.Get();
        WaitUntilPumpWaits();
        c.act(thread, w);
        pumping.Join();
        EXPECT_EQ(first, c.expected) << c.name;
        if (c.wakeCalled) {
            EXPECT_GE(g_Fake.wakes, 1) << c.name;
        }
    }
}

}  // namespace
