#pragma once
// The program's own threads. Each is a global cThread; a non-null m_hThread is the only
// "running" mark other code tests. A thread is never killed: it ends by leaving its body.
#include <atomic>

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

    // Starts proc(arg) at once; false (and m_hThread null) when no thread was made.
    bool Start(plat::ThreadProc proc, void* arg);
    // Polls every 1 ms until the thread has ended, then closes the handle.
    void WaitEnd();
    bool Suspend();
    bool Resume();
    // Asks the thread to end with WM_QUIT, re-posted every 1 ms. A thread still running after
    // 200 polls is logged and left running (see LeftThreadsRunning).
    void Exit();

    // Posts WM_THREAD_START until it is taken, i.e. the thread has its queue. sleepBetween:
    // Sleep(0) between tries. False when the thread ended before it made its queue.
    bool PostStartUntilReceived(bool sleepBetween);

    DWORD m_dwThreadId = 0;
    std::atomic<HANDLE> m_hThread{nullptr};
};

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
