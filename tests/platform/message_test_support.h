#pragma once
// What the message tests share: values handed between threads with a bound, threads that
// must end, a window procedure that records what it saw, and the fixture that clears it. Each
// test file gets its own copy.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/os/messages.h"

namespace {

constexpr auto kBound = std::chrono::seconds(20);

[[noreturn]] inline void Hung(const char* what)
{
    std::fprintf(stderr, "hung: %s\n", what);
    std::abort();
}

// A value handed from one thread to another; the reader waits for it with a bound.
template <class T>
class cHandOver {
public:
    void Set(T value)
    {
        {
            std::lock_guard lock(m_Mutex);
            m_Value = std::move(value);
        }
        m_Cond.notify_all();
    }
    T Get()
    {
        std::unique_lock lock(m_Mutex);
        if (!m_Cond.wait_for(lock, kBound, [&] { return m_Value.has_value(); })) Hung("a value never came");
        return *m_Value;
    }
    template <class Duration>
    bool WaitFor(Duration bound)
    {
        std::unique_lock lock(m_Mutex);
        return m_Cond.wait_for(lock, bound, [&] { return m_Value.has_value(); });
    }
private:
    std::mutex m_Mutex;
    std::condition_variable m_Cond;
    std::optional<T> m_Value;
};
using cSignal = cHandOver<bool>;

// A thread that must end within the bound; a hang ends the test process with a message.
class cBoundedThread {
public:
    template <class F>
    explicit cBoundedThread(F body) : m_Thread([this, body] { body(); m_Ended.Set(true); }) {}
    ~cBoundedThread() { Join(); }
    void Join()
    {
        if (!m_Thread.joinable()) return;
        m_Ended.Get();
        m_Thread.join();   // the thread's queue is released by then
    }
private:
    cSignal m_Ended;
    std::thread m_Thread;
};

// What the window procedures saw.
struct cCall {
    DWORD threadId;
    UINT message;
    WPARAM wParam;
    const char* inside;   // the message call the handler ran inside, where the test marks it
};
std::mutex g_CallLock;
std::vector<cCall> g_Calls;
std::vector<std::string> g_Order;
thread_local const char* t_pInside = "";

inline void Note(const std::string& event)
{
    std::lock_guard lock(g_CallLock);
    g_Order.push_back(event);
}

inline std::vector<cCall> Calls()
{
    std::lock_guard lock(g_CallLock);
    return g_Calls;
}

// Records the call and answers 2 × wParam + 1, so that a caller can tell the answer came
// from the handler.
inline LRESULT RecordingProc(HWND, UINT msg, WPARAM wParam, LPARAM)
{
    {
        std::lock_guard lock(g_CallLock);
        g_Calls.push_back(cCall{GetCurrentThreadId(), msg, wParam, t_pInside});
        g_Order.push_back("handled " + std::to_string(wParam));
    }
    return static_cast<LRESULT>(2 * wParam + 1);
}

// Everything waiting in the calling thread's queue, in order.
inline std::vector<UINT> DrainQueue()
{
    std::vector<UINT> taken;
    MSG m{};
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) taken.push_back(m.message);
    return taken;
}

class cMessageFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::lock_guard lock(g_CallLock);
        g_Calls.clear();
        g_Order.clear();
    }
};

}  // namespace
