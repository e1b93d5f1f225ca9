#include "platform/harness/harness_clock.h"

#include <cerrno>
#include <sched.h>
#include <time.h>

#include "platform/os/messages.h"

namespace plat {

std::uint64_t cHarnessClock::NowMicroseconds() { return m_nNow.load(); }

void cHarnessClock::SleepMilliseconds(DWORD ms)
{
    if (m_dwFrameThread.load() == GetCurrentThreadId()) {
        m_nNow.fetch_add(static_cast<std::uint64_t>(ms) * 1000);
        sched_yield();
        return;
    }
    timespec left{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
    while (nanosleep(&left, &left) != 0 && errno == EINTR) {}
}

void cHarnessClock::CarryFrame() { m_dwFrameThread.store(GetCurrentThreadId()); }

void cHarnessClock::StartFrame(int framesPerSecond)
{
    m_dwFrameThread.store(GetCurrentThreadId());
    if (framesPerSecond <= 0) framesPerSecond = 60;
    std::lock_guard<std::mutex> lock(m_Mutex);
    // Whole microseconds per frame, the remainder carried, so no time is lost over a second.
    m_nRemainder += 1000000;
    m_nFrameTime += m_nRemainder / static_cast<std::uint64_t>(framesPerSecond);
    m_nRemainder %= static_cast<std::uint64_t>(framesPerSecond);
    std::uint64_t now = m_nNow.load();
    while (now < m_nFrameTime && !m_nNow.compare_exchange_weak(now, m_nFrameTime)) {}
}

}  // namespace plat
