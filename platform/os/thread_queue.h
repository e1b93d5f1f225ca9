#pragma once
// The per-thread state behind the message functions: thread identity, the posted and sent
// queues, cooperative suspension and the waits that serve sent calls. Used by platform/ only.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>
#include "platform/os/messages.h"

namespace plat {

struct cThreadState;

// A call carried to another thread and run there inside one of its message calls: a sent
// message, or a function for the window thread. The sender waits until it is answered.
struct cSentCall {
    std::function<LRESULT()> m_Call;
    std::shared_ptr<cThreadState> m_lpSender;
    LRESULT m_nResult = 0;
    bool m_bDone = false;   // answered: run, or dropped because the receiver's queue went away
    bool m_bRan = false;
};

struct cThreadState {
    DWORD m_dwId = 0;
    bool m_bHasQueue = false;
    bool m_bReleased = false;       // final: the thread ended or gave its queue up
    DWORD m_dwSuspendCount = 0;
    std::deque<MSG> m_Posted;
    std::deque<std::shared_ptr<cSentCall>> m_Sent;
    bool m_bQuit = false;           // PostQuitMessage: WM_QUIT once no other message is posted
    int m_nQuitCode = 0;
    // Posts so far and at the last look into the queue: WaitMessage waits for a new one.
    std::uint64_t m_nPostCount = 0;
    std::uint64_t m_nSeenPostCount = 0;
    EventPump m_lpPump = nullptr;   // written under the lock, read unlocked only by the owner
    EventWake m_lpWake = nullptr;
    std::condition_variable m_Changed;
};

struct cWindowEntry {
    WNDPROC m_lpProc = nullptr;
    std::shared_ptr<cThreadState> m_lpOwner;
    bool m_bDestroying = false;
};

// All queues, windows and thread states sit under one lock: the traffic is a few messages a
// frame, and one lock keeps every cross-thread step simple to reason about.
struct cMessageRegistry {
    std::mutex m_Lock;
    std::unordered_map<DWORD, std::shared_ptr<cThreadState>> m_Threads;
    std::unordered_map<HWND, cWindowEntry> m_Windows;
    std::shared_ptr<cThreadState> m_lpWindowThread;
    DWORD m_dwNextThreadId = 1;
    std::uintptr_t m_nNextWindow = 0;
};

cMessageRegistry& Registry();

// The calling thread's state, made at its first use; null once the thread is ending.
std::shared_ptr<cThreadState> CurrentThreadState();

// Wakers of pumping threads, called once the registry lock is released: a waker may take the
// event system's own lock, which must never be taken inside ours. Declared before a lock guard,
// it rings when the guard has released the lock.
class cPendingWakes {
public:
    cPendingWakes() = default;
    cPendingWakes(const cPendingWakes&) = delete;
    cPendingWakes& operator=(const cPendingWakes&) = delete;
    ~cPendingWakes() { Ring(); }
    // Tells a thread that something changed for it (lock held).
    void Notify(cThreadState& target);
    // Calls the wakers collected so far (lock not held).
    void Ring();
private:
    std::vector<EventWake> m_Wakes;
};

// The start of a message call: the calling thread's state with its queue made (unless it was
// released), stopped while the thread is suspended. Takes the lock, which the caller keeps.
std::shared_ptr<cThreadState> EnterMessageCall(std::unique_lock<std::mutex>& lock);

// Drains the calling thread's event pump without waiting (lock not held).
void PumpPendingEvents(cThreadState& self);

// Waits until done() holds, serving the calls sent to this thread meanwhile and stopping while
// it is suspended. Called with the lock held, returns with it held. served, when given, is set
// once a sent call has been served.
void ServeUntil(std::unique_lock<std::mutex>& lock, cThreadState& self,
                const std::function<bool()>& done, bool* served = nullptr);

// Queues fn on target's sent queue and waits for the answer, serving sends to self meanwhile.
// The call comes back unanswered-and-not-run when target has no queue or self is null.
std::shared_ptr<cSentCall> CarryCall(const std::shared_ptr<cThreadState>& self,
                                     const std::shared_ptr<cThreadState>& target,
                                     std::function<LRESULT()> fn);

}  // namespace plat
