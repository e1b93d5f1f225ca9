#include "shell/thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "platform/os/timer.h"
#include "shell/log.h"
#include "tests/support/temp_folder.h"
#include "tests/support/wait.h"

namespace {

// Lines of the error-check log, switched on in a folder of the test's own.
class ThreadWithLog : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_Folder.ChangeInto();
        SetEcLogFile(1, "EC_Game.txt");
    }
    void TearDown() override { SetEcLogFile(0, "EC_Game.txt"); }
    std::vector<std::string> LogLines() const
    {
        std::vector<std::string> lines;
        if (!m_Folder.Exists("EC_Game.txt")) return lines;
        const std::string text = m_Folder.ReadFile("EC_Game.txt");
        std::size_t start = 0;
        for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
            lines.push_back(text.substr(start, end - start));
        return lines;
    }
    qbtest::cTempFolder m_Folder;
};

TEST_F(ThreadWithLog, AnIdleObjectDoesNothing)
{
    cThread idle;
    EXPECT_TRUE(idle.Suspend());
    EXPECT_TRUE(idle.Resume());
    idle.WaitEnd();
    idle.Exit();
    EXPECT_EQ(idle.m_hThread.load(), nullptr);
    EXPECT_FALSE(idle.PostStartUntilReceived(false));
    EXPECT_TRUE(LogLines().empty()) << "Exit of an idle object writes no line";
}

// Leaves its loop on WM_QUIT, drops everything else.
std::atomic<int> g_nStartMessages{0};
unsigned ObeyingBody(void*)
{
    for (;;) {
        MSG msg;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) return 1;
            if (msg.message == WM_THREAD_START) ++g_nStartMessages;
        }
        Sleep(1);
    }
}

TEST_F(ThreadWithLog, StartHandshakeAndExitOfAThreadThatObeys)
{
    cThread thread;
    ASSERT_TRUE(thread.Start(ObeyingBody, nullptr));
    EXPECT_NE(thread.m_hThread.load(), nullptr);
    EXPECT_NE(thread.m_dwThreadId.load(), 0u);
    EXPECT_TRUE(thread.PostStartUntilReceived(true));
    EXPECT_TRUE(qbtest::WaitUntil([] { return g_nStartMessages.load() >= 1; }));

    thread.Exit();
    EXPECT_EQ(thread.m_hThread.load(), nullptr);
    EXPECT_EQ(LogLines(), (std::vector<std::string>{"Exit A", "Exit B", "Exit C", "Exit D", "Exit E"}));
}

TEST_F(ThreadWithLog, WaitEndReturnsOnceTheThreadHasEnded)
{
    cThread thread;
    ASSERT_TRUE(thread.Start([](void*) -> unsigned { return 7; }, nullptr));
    thread.WaitEnd();
    EXPECT_EQ(thread.m_hThread.load(), nullptr);
}

TEST_F(ThreadWithLog, AThreadThatHasEndedFailsTheHandshakeInsteadOfPostingForEver)
{
    for (bool sleepBetween : {false, true}) {
        cThread thread;
        ASSERT_TRUE(thread.Start([](void*) -> unsigned { return 0; }, nullptr));
        // Its queue went with it: no post can be taken any more.
        ASSERT_EQ(WaitForSingleObject(thread.m_hThread.load(), INFINITE), WAIT_OBJECT_0);
        EXPECT_FALSE(thread.PostStartUntilReceived(sleepBetween));
        thread.WaitEnd();
    }
}

TEST_F(ThreadWithLog, AThreadThatReturnsAtOnceNeverLeavesItsStarterPostingForEver)
{
    for (bool sleepBetween : {false, true}) {
        cThread thread;
        ASSERT_TRUE(thread.Start([](void*) -> unsigned { return 0; }, nullptr));
        // Taken before the thread let its queue go, or refused once it has ended: either way
        // the handshake returns.
        thread.PostStartUntilReceived(sleepBetween);
        thread.WaitEnd();
        EXPECT_EQ(thread.m_hThread.load(), nullptr);
    }
}

// Keeps running after WM_QUIT until the test lets it go.
std::atomic<bool> g_bLetGo{false};
std::atomic<bool> g_bStubbornEnded{false};
unsigned StubbornBody(void*)
{
    while (!g_bLetGo.load()) {
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
        Sleep(1);
    }
    g_bStubbornEnded.store(true);
    return 0;
}

TEST_F(ThreadWithLog, AThreadThatIgnoresQuitIsLeftRunningNotKilled)
{
    g_bLetGo.store(false);
    g_bStubbornEnded.store(false);
    cThread thread;
    ASSERT_TRUE(thread.Start(StubbornBody, nullptr));
    ASSERT_TRUE(thread.PostStartUntilReceived(false));
    thread.Exit();

    EXPECT_EQ(thread.m_hThread.load(), nullptr);
    EXPECT_TRUE(LeftThreadsRunning());
    const std::vector<std::string> lines = LogLines();
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], "Exit A");
    EXPECT_EQ(lines[1], "Exit B");
    EXPECT_EQ(lines[2], "Exit C");
    EXPECT_NE(lines[3].find("left running"), std::string::npos) << lines[3];
    EXPECT_EQ(lines[4], "Exit D");
    EXPECT_EQ(lines[5], "Exit E");

    // It was not killed: it still runs, and ends by itself when let go.
    EXPECT_FALSE(g_bStubbornEnded.load());
    g_bLetGo.store(true);
    EXPECT_TRUE(qbtest::WaitUntil([] { return g_bStubbornEnded.load(); }));
}

TEST_F(ThreadWithLog, SuspendAndResumeOfARunningThreadSucceed)
{
    cThread thread;
    ASSERT_TRUE(thread.Start(ObeyingBody, nullptr));
    ASSERT_TRUE(thread.PostStartUntilReceived(false));
    EXPECT_TRUE(thread.Suspend());
    EXPECT_TRUE(thread.Resume());
    thread.Exit();
    EXPECT_EQ(LogLines().size(), 5u) << "ended on its WM_QUIT";
}

// What a body sees of its own cThread as it starts, and whether a WM_QUIT posted the moment
// Start returned, before the body called any message function, was there to take.
struct STARTSEEN {
    cThread* lpThread = nullptr;
    std::atomic<DWORD> dwSeenId{0};
    std::atomic<bool> bSawHandle{false};
    std::atomic<bool> bMayLook{false};
    std::atomic<bool> bSawQuit{false};
};

unsigned LookingBody(void* arg)
{
    STARTSEEN& seen = *static_cast<STARTSEEN*>(arg);
    seen.dwSeenId.store(seen.lpThread->m_dwThreadId.load());
    seen.bSawHandle.store(seen.lpThread->m_hThread.load() != nullptr);
    while (!seen.bMayLook.load()) std::this_thread::yield();
    MSG msg;
    seen.bSawQuit.store(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message == WM_QUIT);
    return 0;
}

TEST_F(ThreadWithLog, ABodyFindsItsIdHandleAndQueueInPlaceBeforeItRuns)
{
    cThread thread;
    STARTSEEN seen;
    seen.lpThread = &thread;
    ASSERT_TRUE(thread.Start(LookingBody, &seen));
    EXPECT_TRUE(PostThreadMessageA(thread.m_dwThreadId, WM_QUIT, 0, 0)) << "the queue exists once Start returns";
    seen.bMayLook.store(true);
    thread.WaitEnd();
    EXPECT_EQ(seen.dwSeenId.load(), thread.m_dwThreadId.load());
    EXPECT_TRUE(seen.bSawHandle.load());
    EXPECT_TRUE(seen.bSawQuit.load()) << "a WM_QUIT posted before the body's first message call is kept";
}

TEST_F(ThreadWithLog, AFailedStartLeavesNoThreadAndNoHandshakeToWaitFor)
{
    cThread thread;
    FailNextThreadStart();
    EXPECT_FALSE(thread.Start(ObeyingBody, nullptr));
    EXPECT_EQ(thread.m_hThread.load(), nullptr);
    EXPECT_FALSE(thread.PostStartUntilReceived(false));
    thread.WaitEnd();
    thread.Exit();
    // Only the next start fails.
    ASSERT_TRUE(thread.Start([](void*) -> unsigned { return 0; }, nullptr));
    thread.WaitEnd();
}

TEST_F(ThreadWithLog, ExitOnOneThreadAndWaitEndOnAnotherReleaseTheThreadOnce)
{
    for (int round = 0; round < 20; ++round) {
        cThread thread;
        ASSERT_TRUE(thread.Start(ObeyingBody, nullptr));
        std::atomic<bool> waited{false};
        std::thread waiter([&] {
            thread.WaitEnd();
            waited.store(true);
        });
        thread.Exit();
        waiter.join();
        EXPECT_TRUE(waited.load());
        EXPECT_EQ(thread.m_hThread.load(), nullptr);
    }
    for (const std::string& line : LogLines())
        EXPECT_EQ(line.find("left running"), std::string::npos) << "every thread ended on its WM_QUIT";
}

TEST(ThreadObjects, TheFourProgramThreadsStartIdle)
{
    for (cThread* thread : {&thGame, &thPause, &thRanking, &thStageLoad}) {
        EXPECT_EQ(thread->m_hThread.load(), nullptr);
        EXPECT_EQ(thread->m_dwThreadId.load(), 0u);
    }
    SuspendAllThreads();
    ResumeAllThreads();
}

}  // namespace
