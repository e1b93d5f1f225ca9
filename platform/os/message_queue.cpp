// Window messages: posting, sending, taking and dispatching, window handles and the window
// thread's calls, over the per-thread queues.
#include "platform/os/messages.h"

#include <atomic>
#include <unistd.h>
#include "platform/os/thread_queue.h"
#include "platform/os/timer.h"
#include "platform/ui/icon.h"
#include "platform/ui/window.h"

using plat::cPendingWakes;
using plat::cThreadState;
using plat::Registry;

namespace {

std::atomic<DWORD> s_dwWindowThreadId{0};

MSG MakeMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return MSG{hWnd, msg, wParam, lParam, timeGetTime(), POINT{0, 0}};
}

// The filters of PeekMessageA and GetMessageA; WM_QUIT passes every filter.
bool Matches(const MSG& m, HWND hWnd, UINT filterMin, UINT filterMax)
{
    if (m.message == WM_QUIT) return true;
    if (hWnd && m.hwnd != hWnd) return false;
    if (filterMin == 0 && filterMax == 0) return true;
    return m.message >= filterMin && m.message <= filterMax;
}

// Appends to a thread's posted queue (lock held); false when the thread has no queue.
bool PostLocked(cThreadState& target, const MSG& m, cPendingWakes& wakes)
{
    if (!target.m_bHasQueue) return false;
    target.m_Posted.push_back(m);
    ++target.m_nPostCount;
    wakes.Notify(target);
    return true;
}

// Takes the first posted message that passes the filters (lock held). A quit request made by
// PostQuitMessage comes only when no other message is waiting.
bool TakeMessage(cThreadState& self, MSG& out, HWND hWnd, UINT filterMin, UINT filterMax, bool remove)
{
    self.m_nSeenPostCount = self.m_nPostCount;
    for (auto it = self.m_Posted.begin(); it != self.m_Posted.end(); ++it) {
        if (!Matches(*it, hWnd, filterMin, filterMax)) continue;
        out = *it;
        if (remove) self.m_Posted.erase(it);
        return true;
    }
    if (!self.m_bQuit) return false;
    out = MakeMessage(nullptr, WM_QUIT, static_cast<WPARAM>(self.m_nQuitCode), 0);
    if (remove) self.m_bQuit = false;
    return true;
}

// The owner of a live window, null for an unknown or destroyed one.
std::shared_ptr<cThreadState> WindowOwner(HWND hWnd)
{
    std::lock_guard lock(Registry().m_Lock);
    auto it = Registry().m_Windows.find(hWnd);
    return it == Registry().m_Windows.end() ? nullptr : it->second.m_lpOwner;
}

// Calls the window's procedure on the calling thread; 0 when the window is gone.
LRESULT CallWindow(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    WNDPROC proc = nullptr;
    {
        std::lock_guard lock(Registry().m_Lock);
        auto it = Registry().m_Windows.find(hWnd);
        if (it != Registry().m_Windows.end()) proc = it->second.m_lpProc;
    }
    return proc ? proc(hWnd, msg, wParam, lParam) : 0;
}

// The start of a call that takes from the calling thread's queue: its event pump drained (when
// asked), its queue made, stopped while it is suspended. Takes the lock; null for a thread that
// is ending.
std::shared_ptr<cThreadState> EnterTakingCall(std::unique_lock<std::mutex>& lock, bool drain = true)
{
    auto self = plat::CurrentThreadState();
    if (!self) return nullptr;
    if (drain) plat::PumpPendingEvents(*self);
    plat::EnterMessageCall(lock);
    return self;
}

}  // namespace

BOOL PostMessageA(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    const MSG m = MakeMessage(hWnd, msg, wParam, lParam);
    cPendingWakes wakes;
    std::unique_lock lock(Registry().m_Lock, std::defer_lock);
    auto self = plat::EnterMessageCall(lock);
    if (!hWnd) return self && PostLocked(*self, m, wakes);
    auto it = Registry().m_Windows.find(hWnd);
    if (it == Registry().m_Windows.end()) return FALSE;
    return PostLocked(*it->second.m_lpOwner, m, wakes);
}

BOOL PostThreadMessageA(DWORD threadId, UINT msg, WPARAM wParam, LPARAM lParam)
{
    const MSG m = MakeMessage(nullptr, msg, wParam, lParam);
    cPendingWakes wakes;
    std::unique_lock lock(Registry().m_Lock, std::defer_lock);
    plat::EnterMessageCall(lock);
    auto it = Registry().m_Threads.find(threadId);
    if (it == Registry().m_Threads.end()) return FALSE;
    return PostLocked(*it->second, m, wakes);
}

void PostQuitMessage(int exitCode)
{
    std::unique_lock lock(Registry().m_Lock, std::defer_lock);
    auto self = plat::EnterMessageCall(lock);
    if (!self || !self->m_bHasQueue) return;
    self->m_bQuit = true;
    self->m_nQuitCode = exitCode;
    ++self->m_nPostCount;
}

LRESULT SendMessageA(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto self = plat::CurrentThreadState();
    auto owner = WindowOwner(hWnd);
    if (!owner) return 0;
    if (owner == self) {
        plat::StopWhileSuspended();
        return CallWindow(hWnd, msg, wParam, lParam);
    }
    auto call = plat::CarryCall(self, owner, [=] { return CallWindow(hWnd, msg, wParam, lParam); });
    return call->m_nResult;
}

BOOL PeekMessageA(MSG* msg, HWND hWnd, UINT filterMin, UINT filterMax, UINT removeMsg)
{
    std::unique_lock lock(Registry().m_Lock, std::defer_lock);
    auto self = EnterTakingCall(lock);
    if (!self || !self->m_bHasQueue) return FALSE;
    plat::ServeUntil(lock, *self, [] { return true; });
    MSG taken{};
    if (!TakeMessage(*self, taken, hWnd, filterMin, filterMax, (removeMsg & PM_REMOVE) != 0)) return FALSE;
    if (msg) *msg = taken;
    return TRUE;
}

BOOL GetMessageA(MSG* msg, HWND hWnd, UINT filterMin, UINT filterMax)
{
    std::unique_lock lock(Registry().m_Lock, std::defer_lock);
    auto self = EnterTakingCall(lock);
    if (!self) return -1;
    MSG taken{};
    bool got = false;
    plat::ServeUntil(lock, *self, [&] {
        got = self->m_bHasQueue && TakeMessage(*self, taken, hWnd, filterMin, filterMax, true);
        return got || !self->m_bHasQueue;
    });
    if (!got) return -1;
    if (msg) *msg = taken;
    return taken.message == WM_QUIT ? 0 : 1;
}

BOOL WaitMessage()
{
    // No drain first: the pump's wait drains before it sleeps, and a wait that ends at once
    // (something came since the last look) leaves the events to the caller's next look.
    std::unique_lock lock(Registry().m_Lock, std::defer_lock);
    auto self = EnterTakingCall(lock, false);
    if (!self) return FALSE;
    bool served = false;
    plat::ServeUntil(lock, *self, [&] {
        return served || !self->m_bHasQueue || self->m_nPostCount != self->m_nSeenPostCount;
    }, &served);
    self->m_nSeenPostCount = self->m_nPostCount;
    return self->m_bHasQueue ? TRUE : FALSE;
}

BOOL TranslateMessage(const MSG*)
{
    return TRUE;
}

LRESULT DispatchMessageA(const MSG* msg)
{
    if (!msg || !msg->hwnd) return 0;
    plat::StopWhileSuspended();
    return CallWindow(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

LRESULT DefWindowProcA(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_CLOSE) DestroyWindow(hWnd);
    if (msg == WM_SETICON) return plat::ShowWindowIcon(hWnd, wParam, reinterpret_cast<HICON>(lParam));
    return 0;
}

DWORD GetWindowThreadProcessId(HWND hWnd, DWORD* processId)
{
    auto owner = WindowOwner(hWnd);
    if (!owner) return 0;
    if (processId) *processId = static_cast<DWORD>(getpid());
    return owner->m_dwId;
}

BOOL IsWindow(HWND hWnd)
{
    return WindowOwner(hWnd) ? TRUE : FALSE;
}

BOOL DestroyWindow(HWND hWnd)
{
    {
        std::lock_guard lock(Registry().m_Lock);
        auto it = Registry().m_Windows.find(hWnd);
        if (it == Registry().m_Windows.end() || it->second.m_bDestroying) return FALSE;
        it->second.m_bDestroying = true;
    }
    SendMessageA(hWnd, WM_DESTROY, 0, 0);
    std::lock_guard lock(Registry().m_Lock);
    Registry().m_Windows.erase(hWnd);
    return TRUE;
}

namespace plat {

HWND CreateWindowHandle(WNDPROC proc)
{
    std::unique_lock lock(Registry().m_Lock, std::defer_lock);
    auto self = EnterMessageCall(lock);
    if (!self || !self->m_bHasQueue) return nullptr;
    // Handles are numbers that are never reused and never dereferenced.
    const std::uintptr_t number = 0x10000 + 0x10 * ++Registry().m_nNextWindow;
    HWND hWnd = reinterpret_cast<HWND>(number);
    Registry().m_Windows[hWnd] = cWindowEntry{proc, self, false};
    return hWnd;
}

void SetWindowThread()
{
    std::unique_lock lock(Registry().m_Lock, std::defer_lock);
    auto self = EnterMessageCall(lock);
    if (!self) return;
    Registry().m_lpWindowThread = self;
    s_dwWindowThreadId = self->m_dwId;
}

bool IsWindowThread()
{
    const DWORD windowThread = s_dwWindowThreadId;
    return windowThread != 0 && windowThread == GetCurrentThreadId();
}

bool RunOnWindowThread(const std::function<void()>& fn)
{
    auto self = CurrentThreadState();
    std::shared_ptr<cThreadState> windowThread;
    {
        std::lock_guard lock(Registry().m_Lock);
        windowThread = Registry().m_lpWindowThread;
    }
    if (!windowThread || windowThread == self) {
        fn();
        return true;
    }
    auto call = CarryCall(self, windowThread, [&fn] {
        fn();
        return LRESULT{0};
    });
    return call->m_bRan;
}

}  // namespace plat
