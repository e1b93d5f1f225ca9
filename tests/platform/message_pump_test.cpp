// The event pump hook of the window thread: outside events taken by the next peek, and a
// waiting thread woken by posts, sends and outside events.
#include "platform/os/messages.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <utility>

#include "tests/platform/message_test_support.h"

namespace {

// Each file is a test suite of its own: gtest wants one fixture class per suite name.
class MessagePumpTest : public cMessageFixture {};

// A stand-in for the SDL side of the window thread: outside events that the pump turns into
// posted messages, and a wake that leaves an event pending.
struct cFakeEvents {
    std::mutex lock;
    std::condition_variable cond;
    int outside = 0;
    int wakeEvents = 0;
    int wakes = 0;
    bool waiting = false;
    int drains = 0;          // every call of the pump
    int waitingDrains = 0;   // those asked to wait
};
cFakeEvents g_Fake;

void FakePump(DWORD waitMs)
{
    std::unique_lock lock(g_Fake.lock);
    ++g_Fake.drains;
    if (waitMs > 0) {
        ++g_Fake.waitingDrains;
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
    g_Fake.drains = g_Fake.waitingDrains = 0;
}

void WaitUntilPumpWaits()
{
    std::unique_lock lock(g_Fake.lock);
    if (!g_Fake.cond.wait_for(lock, kBound, [] { return g_Fake.waiting; })) Hung("the pump never waited");
}

TEST_F(MessagePumpTest, EventsPumpedAtTheStartOfAPeekAreTakenByThatPeek)
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

TEST_F(MessagePumpTest, APumpingThreadsWaitWakesOnPostsSendsAndOutsideEvents)
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

// Every look at the outside events costs system calls and, under X, a trip to the server: the
// loop's fruitless peek looks once, and the wait that follows looks only inside its wait.
TEST_F(MessagePumpTest, AWaitAfterAFruitlessPeekLooksAtTheOutsideOnlyInItsWait)
{
    ResetFake(0);
    cHandOver<DWORD> id;
    cBoundedThread pumping([&] {
        plat::SetThreadEventPump(FakePump, FakeWake);
        MSG m{};
        EXPECT_FALSE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
        id.Set(GetCurrentThreadId());
        EXPECT_TRUE(WaitMessage());
        EXPECT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
        EXPECT_EQ(m.message, WM_USER + 5u);
    });
    const DWORD thread = id.Get();
    WaitUntilPumpWaits();
    PostThreadMessageA(thread, WM_USER + 5, 0, 0);
    pumping.Join();
    EXPECT_EQ(g_Fake.drains, 3) << "the first peek, the wait, the peek after it";
    EXPECT_EQ(g_Fake.waitingDrains, 1);
}

}  // namespace
