#pragma once
// The program's own threads. Each is a global cThread; a non-null m_hThread is the only
// "running" mark other code tests. A thread is never killed: it ends by leaving its body.
#include <atomic>
#include <mutex>

#include "platform/os/messages.h"
#include "platform/os/threads.h"

// Posted to a newly started thread until the post succeeds: the thread then has its queue.
constexpr UINT WM_THREAD_START = WM_APP;

class cThread {
public:
    cThread() = default;
    ~cThread();
    cThread(const cThread&) = delete;
    cThread& operator=(const cThread&) = delete;

    // Starts proc(arg); false (and m_hThread null) when no thread was made. The new thread has
    // its message queue, and m_dwThreadId and m_hThread are set, before proc runs: whoever sees
    // the handle can post to the thread, and the body can read its own id.
    bool Start(plat::ThreadProc proc, void* arg);
    // Waits until the thread has ended, then closes the handle (unless an Exit on
    // another thread has closed it meanwhile).
    void WaitEnd();
    bool Suspend();
    bool Resume();
    // Asks the thread to end with WM_QUIT, re-posted every 1 ms. A thread still running after
    // 200 polls is logged and left running (see LeftThreadsRunning).
    void Exit();

    // Posts WM_THREAD_START until it is taken, i.e. the thread has its queue. sleepBetween:
    // Sleep(0) between tries. False, at once, when the thread has ended (its queue went with it).
    bool PostStartUntilReceived(bool sleepBetween);

    std::atomic<DWORD> m_dwThreadId{0};
    std::atomic<HANDLE> m_hThread{nullptr};

private:
    // Closes the handle of the thread that has ended, once: the window thread's Exit and the
    // game thread's WaitEnd may both see the same end.
    void Release(HANDLE handle);
    std::mutex m_ReleaseMutex;
};

// Tests: the next cThread::Start fails as if no thread could be made.
void FailNextThreadStart();

// Polls a thread gets after WM_QUIT before it is given up on.
constexpr int kThreadExitPolls = 200;

// True once some cThread::Exit gave up on a thread that is still running: the process must
// then not release what that thread could still touch, and ends with _exit.
bool LeftThreadsRunning();

extern cThread thGame;
extern cThread thPause;
extern cThread thRanking;
extern cThread thStageLoad;

// cThread::Suspend / Resume of thGame, thPause, thRanking, thStageLoad, in that order.
void SuspendAllThreads();
void ResumeAllThreads();
