// The millisecond timer, the tick count, Sleep and the performance counter, all read from one
// replaceable clock.
#include "platform/os/timer.h"

#include <cerrno>
#include <sched.h>
#include <time.h>
#include "platform/os/messages.h"

namespace plat {

namespace {

// CLOCK_MONOTONIC: time since boot, like the timer it stands in for. (POSIX calls rather than
// <chrono>, whose micro sign has no form in the program's narrow character set.)
class cSystemClock final : public cClock {
public:
    std::uint64_t NowMicroseconds() override
    {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        return static_cast<std::uint64_t>(now.tv_sec) * 1000000 + static_cast<std::uint64_t>(now.tv_nsec) / 1000;
    }
    bool IsVirtual() const override { return false; }
    void SleepMilliseconds(DWORD ms) override
    {
        if (ms == 0) {
            sched_yield();
            return;
        }
        timespec left{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000};
        while (nanosleep(&left, &left) != 0 && errno == EINTR) {
        }
    }
};

std::atomic<cClock*> s_lpClock{nullptr};

cClock& CurrentClock()
{
    cClock* clock = s_lpClock.load(std::memory_order_acquire);
    return clock ? *clock : SystemClock();
}

}  // namespace

cClock& SystemClock()
{
    // Never destroyed: static destructors of other objects still read the time and sleep.
    static cSystemClock* const clock = new cSystemClock;
    return *clock;
}

void SetClock(cClock* clock)
{
    s_lpClock.store(clock, std::memory_order_release);
}

bool ClockIsVirtual() { return CurrentClock().IsVirtual(); }

std::uint64_t cManualClock::NowMicroseconds()
{
    return m_nNow.load();
}

void cManualClock::SleepMilliseconds(DWORD ms)
{
    m_nNow += std::uint64_t{ms} * 1000;
    sched_yield();
}

void cManualClock::Advance(std::uint64_t microseconds)
{
    m_nNow += microseconds;
}

void cManualClock::Set(std::uint64_t microseconds)
{
    m_nNow = microseconds;
}

}  // namespace plat

DWORD timeGetTime()
{
    return static_cast<DWORD>(plat::CurrentClock().NowMicroseconds() / 1000);
}

DWORD GetTickCount()
{
    return timeGetTime();
}

UINT timeBeginPeriod(UINT)
{
    return 0;
}

UINT timeEndPeriod(UINT)
{
    return 0;
}

void Sleep(DWORD milliseconds)
{
    plat::StopWhileSuspended();
    plat::CurrentClock().SleepMilliseconds(milliseconds);
}

BOOL QueryPerformanceCounter(LARGE_INTEGER* count)
{
    if (!count) return FALSE;
    count->QuadPart = static_cast<LONGLONG>(plat::CurrentClock().NowMicroseconds());
    return TRUE;
}

BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency)
{
    if (!frequency) return FALSE;
    frequency->QuadPart = 1000000;
    return TRUE;
}

void GetLocalTime(SYSTEMTIME* time)
{
    if (!time) return;
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    localtime_r(&now.tv_sec, &local);
    time->wYear = static_cast<WORD>(local.tm_year + 1900);
    time->wMonth = static_cast<WORD>(local.tm_mon + 1);
    time->wDayOfWeek = static_cast<WORD>(local.tm_wday);
    time->wDay = static_cast<WORD>(local.tm_mday);
    time->wHour = static_cast<WORD>(local.tm_hour);
    time->wMinute = static_cast<WORD>(local.tm_min);
    time->wSecond = static_cast<WORD>(local.tm_sec);
    time->wMilliseconds = static_cast<WORD>(now.tv_nsec / 1000000);
}
