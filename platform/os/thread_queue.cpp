// Thread identity, the per-thread queues' life, cooperative suspension and the waits that
// serve sent calls.
#include "platform/os/thread_queue.h"

#include <algorithm>

namespace plat {

namespace {

// Plain thread_locals stay readable after the slot below is destroyed: static destructors on
// the main thread still ask for its id and post to other threads.
thread_local DWORD t_dwThreadId = 0;
thread_local bool t_bEnded = false;
thread_local bool t_bInPump = false;

void ReleaseQueue(const std::shared_ptr<cThreadState>& self);

// Owns the thread's state; its destructor is the thread's end.
struct cThreadSlot {
    std::shared_ptr<cThreadState> m_lpState;
    ~cThreadSlot()
    {
        if (m_lpState) {
            ReleaseQueue(m_lpState);
            std::lock_guard lock(Registry().m_Lock);
            Registry().m_Threads.erase(m_lpState->m_dwId);
        }
        t_bEnded = true;
    }
};
thread_local cThreadSlot t_Slot;

void ReleaseQueue(const std::shared_ptr<cThreadState>& self)
{
    cPendingWakes wakes;
    std::lock_guard lock(Registry().m_Lock);
    self->m_bReleased = true;
    self->m_bHasQueue = false;
    self->m_Posted.clear();
    self->m_bQuit = false;
    for (auto& call : self->m_Sent) {
        call->m_bDone = true;
        wakes.Notify(*call->m_lpSender);
    }
    self->m_Sent.clear();
    auto& windows = Registry().m_Windows;
    std::erase_if(windows, [&](const auto& entry) { return entry.second.m_lpOwner == self; });
}

void ParkWhileSuspended(std::unique_lock<std::mutex>& lock, cThreadState& self)
{
    self.m_Changed.wait(lock, [&] { return self.m_dwSuspendCount == 0; });
}

// Runs the oldest call sent to this thread; false when none is waiting.
bool ServeOneCall(std::unique_lock<std::mutex>& lock, cThreadState& self)
{
    if (self.m_Sent.empty()) return false;
    std::shared_ptr<cSentCall> call = std::move(self.m_Sent.front());
    self.m_Sent.pop_front();
    lock.unlock();
    const LRESULT result = call->m_Call();
    cPendingWakes wakes;
    lock.lock();
    call->m_nResult = result;
    call->m_bRan = true;
    call->m_bDone = true;
    wakes.Notify(*call->m_lpSender);
    lock.unlock();
    wakes.Ring();
    lock.lock();
    return true;
}

void RunPump(EventPump pump, DWORD waitMs)
{
    t_bInPump = true;
    pump(waitMs);
    t_bInPump = false;
}

// Blocks until something may have changed for this thread.
void WaitForChange(std::unique_lock<std::mutex>& lock, cThreadState& self)
{
    if (self.m_lpPump && !t_bInPump) {
        const EventPump pump = self.m_lpPump;
        lock.unlock();
        RunPump(pump, INFINITE);
        lock.lock();
    } else {
        self.m_Changed.wait(lock);
    }
}

cThreadState* FindThread(DWORD threadId)
{
    auto& threads = Registry().m_Threads;
    auto it = threads.find(threadId);
    return it == threads.end() ? nullptr : it->second.get();
}

}  // namespace

cMessageRegistry& Registry()
{
    // Never destroyed: threads and static destructors may still post while the process exits.
    static cMessageRegistry* const registry = new cMessageRegistry;
    return *registry;
}

std::shared_ptr<cThreadState> CurrentThreadState()
{
    if (t_bEnded) return nullptr;
    if (!t_Slot.m_lpState) {
        auto state = std::make_shared<cThreadState>();
        std::lock_guard lock(Registry().m_Lock);
        state->m_dwId = Registry().m_dwNextThreadId++;
        Registry().m_Threads.emplace(state->m_dwId, state);
        t_dwThreadId = state->m_dwId;
        t_Slot.m_lpState = std::move(state);
    }
    return t_Slot.m_lpState;
}

void cPendingWakes::Notify(cThreadState& target)
{
    target.m_Changed.notify_all();
    // A pump posting to its own thread needs no wake: its own call looks at the queue next.
    if (target.m_lpWake && target.m_dwId != t_dwThreadId &&
        std::find(m_Wakes.begin(), m_Wakes.end(), target.m_lpWake) == m_Wakes.end())
        m_Wakes.push_back(target.m_lpWake);
}

void cPendingWakes::Ring()
{
    std::vector<EventWake> wakes;
    wakes.swap(m_Wakes);
    for (EventWake wake : wakes) wake();
}

std::shared_ptr<cThreadState> EnterMessageCall(std::unique_lock<std::mutex>& lock)
{
    auto self = CurrentThreadState();
    lock.lock();
    if (self) {
        if (!self->m_bReleased) self->m_bHasQueue = true;
        ParkWhileSuspended(lock, *self);
    }
    return self;
}

void PumpPendingEvents(cThreadState& self)
{
    if (self.m_lpPump && !t_bInPump) RunPump(self.m_lpPump, 0);
}

void ServeUntil(std::unique_lock<std::mutex>& lock, cThreadState& self,
                const std::function<bool()>& done, bool* served)
{
    for (;;) {
        ParkWhileSuspended(lock, self);
        if (ServeOneCall(lock, self)) {
            if (served) *served = true;
            continue;
        }
        if (done()) return;
        WaitForChange(lock, self);
    }
}

std::shared_ptr<cSentCall> CarryCall(const std::shared_ptr<cThreadState>& self,
                                     const std::shared_ptr<cThreadState>& target,
                                     std::function<LRESULT()> fn)
{
    auto call = std::make_shared<cSentCall>();
    call->m_Call = std::move(fn);
    call->m_lpSender = self;
    if (!self) return call;   // a thread that has ended cannot wait for an answer
    std::unique_lock lock(Registry().m_Lock, std::defer_lock);
    EnterMessageCall(lock);
    if (!target->m_bHasQueue) return call;
    target->m_Sent.push_back(call);
    {
        cPendingWakes wakes;
        wakes.Notify(*target);
        lock.unlock();
        wakes.Ring();
        lock.lock();
    }
    ServeUntil(lock, *self, [&] { return call->m_bDone; });
    return call;
}

void EnsureThreadQueue()
{
    std::unique_lock lock(Registry().m_Lock, std::defer_lock);
    EnterMessageCall(lock);
}

void ReleaseThreadQueue()
{
    if (auto self = CurrentThreadState()) ReleaseQueue(self);
}

void SetThreadEventPump(EventPump pump, EventWake wake)
{
    auto self = CurrentThreadState();
    if (!self) return;
    std::lock_guard lock(Registry().m_Lock);
    self->m_lpPump = pump;
    self->m_lpWake = wake;
}

DWORD SuspendThreadById(DWORD threadId)
{
    std::lock_guard lock(Registry().m_Lock);
    cThreadState* thread = FindThread(threadId);
    if (!thread) return static_cast<DWORD>(-1);
    return thread->m_dwSuspendCount++;
}

DWORD ResumeThreadById(DWORD threadId)
{
    cPendingWakes wakes;
    std::lock_guard lock(Registry().m_Lock);
    cThreadState* thread = FindThread(threadId);
    if (!thread) return static_cast<DWORD>(-1);
    const DWORD previous = thread->m_dwSuspendCount;
    if (previous > 0 && --thread->m_dwSuspendCount == 0) wakes.Notify(*thread);
    return previous;
}

void StopWhileSuspended()
{
    // A thread without state has no id yet, so nobody can have suspended it.
    if (t_bEnded || !t_Slot.m_lpState) return;
    std::unique_lock lock(Registry().m_Lock);
    ParkWhileSuspended(lock, *t_Slot.m_lpState);
}

}  // namespace plat

DWORD GetCurrentThreadId()
{
    if (plat::t_dwThreadId == 0) plat::CurrentThreadState();
    return plat::t_dwThreadId;
}
