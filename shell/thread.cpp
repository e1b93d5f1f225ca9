#include "shell/thread.h"

#include <condition_variable>

#include "platform/os/timer.h"
#include "shell/log.h"

namespace {

std::atomic<bool> s_bLeftRunning{false};
std::atomic<bool> s_bFailNextStart{false};

// The start of a thread, held until its starter has published the id and the handle: lives on
// the starter's stack, which the new thread stops touching before the starter returns.
struct cStartGate {
    plat::ThreadProc proc = nullptr;
    void* arg = nullptr;
    std::mutex mutex;
    std::condition_variable changed;
    bool queued = false;   // the new thread has its message queue
    bool open = false;     // the starter has published id and handle
    bool passed = false;   // the new thread has taken proc and arg and left the gate
};

unsigned GatedBody(void* p)
{
    cStartGate& gate = *static_cast<cStartGate*>(p);
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // makes the queue
    plat::ThreadProc proc = nullptr;
    void* arg = nullptr;
    {
        std::unique_lock<std::mutex> lock(gate.mutex);
        gate.queued = true;
        gate.changed.notify_all();
        gate.changed.wait(lock, [&] { return gate.open; });
        proc = gate.proc;
        arg = gate.arg;
        gate.passed = true;
        gate.changed.notify_all();
    }
    return proc(arg);
}

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
    if (!proc || s_bFailNextStart.exchange(false)) {
        m_hThread.store(nullptr);
        return false;
    }
    cStartGate gate;
    gate.proc = proc;
    gate.arg = arg;
    DWORD id = 0;
    HANDLE handle = plat::BeginThread(GatedBody, &gate, &id);
    if (!handle) {
        m_hThread.store(nullptr);
        return false;
    }
    std::unique_lock<std::mutex> lock(gate.mutex);
    gate.changed.wait(lock, [&] { return gate.queued; });
    // The id first: a thread that sees the handle posts to the id.
    m_dwThreadId.store(id);
    m_hThread.store(handle);
    gate.open = true;
    gate.changed.notify_all();
    gate.changed.wait(lock, [&] { return gate.passed; });
    return true;
}

void cThread::Release(HANDLE handle)
{
    std::lock_guard<std::mutex> lock(m_ReleaseMutex);
    if (m_hThread.load() != handle) return;
    CloseHandle(handle);
    m_hThread.store(nullptr);
}

void cThread::WaitEnd()
{
    HANDLE handle = m_hThread.load();
    if (!handle) return;
    // Blocks rather than sleeping in steps: a harness's virtual clock moves with the sleeps of
    // the thread running frames, and must not move while that thread only waits.
    WaitForSingleObject(handle, INFINITE);
    Release(handle);
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
            ReportLogEcho("thread %u did not end after WM_QUIT; left running", static_cast<unsigned>(m_dwThreadId.load()));
            s_bLeftRunning.store(true);
            break;
        }
        ServeSentMessagesIfWindowThread();
        Sleep(1);
        PostThreadMessageA(m_dwThreadId, WM_QUIT, 0, 0);
        ++polls;
    }
    EcLogF("Exit D");
    Release(handle);
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

void FailNextThreadStart() { s_bFailNextStart.store(true); }

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
