#pragma once
// Multimedia timer and performance counter; the clock behind them can be replaced by tests
// and by the harness's virtual clock.
#include <atomic>
#include "platform/os/windows_types.h"

DWORD timeGetTime();                       // milliseconds, wraps at 2^32
UINT timeBeginPeriod(UINT period);         // always succeeds (0)
UINT timeEndPeriod(UINT period);
void Sleep(DWORD milliseconds);            // 0 yields; a suspended thread stops here first
DWORD GetTickCount();
BOOL QueryPerformanceCounter(LARGE_INTEGER* count);          // microseconds of the clock
BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency);    // 1,000,000
void GetLocalTime(SYSTEMTIME* time);       // the calendar's local date and time

namespace plat {

// A replaceable source of time in microseconds; timeGetTime is its value / 1000 cut to
// 32 bits. SleepMilliseconds waits (or advances) for Sleep.
class cClock {
public:
    virtual ~cClock() = default;
    virtual std::uint64_t NowMicroseconds() = 0;
    virtual void SleepMilliseconds(DWORD ms) = 0;
    // A clock that does not follow wall time: nothing may then wait on the display either.
    virtual bool IsVirtual() const { return true; }
};

cClock& SystemClock();
// Replaces the clock for the whole process; null puts the system clock back.
void SetClock(cClock* clock);
// False while the system clock runs the process.
bool ClockIsVirtual();

// A clock that only moves when told to, for tests and the harness.
class cManualClock : public cClock {
public:
    std::uint64_t NowMicroseconds() override;
    void SleepMilliseconds(DWORD ms) override;   // advances the clock by ms
    void Advance(std::uint64_t microseconds);
    void Set(std::uint64_t microseconds);        // e.g. near 2^32 ms to see timeGetTime wrap
private:
    std::atomic<std::uint64_t> m_nNow{0};
};

}  // namespace plat
