#include "shell/thread.h"

#include "platform/os/timer.h"
#include "shell/log.h"

namespace {

std::atomic<bool> s_bLeftRunning{false};

// While the window thread waits for another thread, requests that thread sends it are
// served, so a thread blocked in a request can still reach its WM_QUIT.
void ServeSentMessagesIfWindowThread()
{
    if (!plat::IsWindowThread()) return;
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
}

}  // namespace

cThread::~cThread() { Exit(); }

bool cThread::Start(plat::ThreadProc proc, void* arg)
{
    DWORD id = 0;
    HANDLE handle = plat::BeginThread(proc, arg, &id);
    if (handle) m_dwThreadId = id;
    m_hThread.store(handle);
    return handle != nullptr;
}

void cThread::WaitEnd()
{
    HANDLE handle = m_hThread.load();
    if (!handle) return;
    while (WaitForSingleObject(handle, 0) == WAIT_TIMEOUT) Sleep(1);
    CloseHandle(handle);
    m_hThread.store(nullptr);
}

bool cThread::Suspend()
{
    HANDLE handle = m_hThread.load();
    if (!handle) return true;
    return SuspendThread(handle) != static_cast<DWORD>(-1);
}

bool cThread::Resume()
{
    HANDLE handle = m_hThread.load();
    if (!handle) return true;
    return ResumeThread(handle) != static_cast<DWORD>(-1);
}

void cThread::Exit()
{
    HANDLE handle = m_hThread.load();
    if (!handle) return;
    // A suspended thread must run to see its WM_QUIT; a thread that has already ended cannot be
    // resumed and needs no resuming.
    while (!Resume() && WaitForSingleObject(handle, 0) == WAIT_TIMEOUT) Sleep(1);
    EcLogF("Exit A");
    PostThreadMessageA(m_dwThreadId, WM_QUIT, 0, 0);
    EcLogF("Exit B");
    EcLogF("Exit C");
    int polls = 0;
    while (WaitForSingleObject(handle, 0) == WAIT_TIMEOUT) {
        if (polls >= kThreadExitPolls) {
            // Never killed: a thread stopped mid-frame could leave shared state half-written.
            ReportLogEcho("thread %u did not end after WM_QUIT; left running", static_cast<unsigned>(m_dwThreadId));
            s_bLeftRunning.store(true);
            break;
        }
        ServeSentMessagesIfWindowThread();
        Sleep(1);
        PostThreadMessageA(m_dwThreadId, WM_QUIT, 0, 0);
        ++polls;
    }
    EcLogF("Exit D");
    CloseHandle(handle);
    m_hThread.store(nullptr);
    EcLogF("Exit E");
}

bool cThread::PostStartUntilReceived(bool sleepBetween)
{
    HANDLE handle = m_hThread.load();
    if (!handle) return false;
    while (!PostThreadMessageA(m_dwThreadId, WM_THREAD_START, 0, 0)) {
        if (WaitForSingleObject(handle, 0) != WAIT_TIMEOUT) return false;
        if (sleepBetween) Sleep(0);
    }
    return true;
}

bool LeftThreadsRunning() { return s_bLeftRunning.load(); }

void SuspendAllThreads()
{
    thGame.Suspend();
    thPause.Suspend();
    thRanking.Suspend();
    thStageLoad.Suspend();
}

void ResumeAllThreads()
{
    thGame.Resume();
    thPause.Resume();
    thRanking.Resume();
    thStageLoad.Resume();
}
