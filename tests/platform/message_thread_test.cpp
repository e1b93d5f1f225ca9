// The window thread and suspension: whose thread a window is, nested suspend counts, where a
// suspended thread stops, and work run on the window thread while it serves sends.
#include "platform/os/messages.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>

#include "platform/os/timer.h"

#include "tests/platform/message_test_support.h"

namespace {

// Each file is a test suite of its own: gtest wants one fixture class per suite name.
class MessageThreadTest : public cMessageFixture {};

TEST_F(MessageThreadTest, WindowThreadIdIsItsOwnersWithThisProcess)
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

TEST_F(MessageThreadTest, SuspendCountsNestAndUnknownThreadsFail)
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

TEST_F(MessageThreadTest, SuspendedThreadStopsAtItsNextMessageCallOrSleep)
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

TEST_F(MessageThreadTest, RunOnWindowThreadRunsThereServingTheCallersSendsMeanwhile)
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

}  // namespace
