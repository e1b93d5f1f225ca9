#pragma once
// Multimedia timer and performance counter; the clock behind them can be replaced by tests
// and by the harness's virtual clock.
#include <atomic>
#include "platform/windows_types.h"

DWORD timeGetTime();                       // milliseconds, wraps at 2^32
UINT timeBeginPeriod(UINT period);         // always succeeds (0)
UINT timeEndPeriod(UINT period);
void Sleep(DWORD milliseconds);
DWORD GetTickCount();
BOOL QueryPerformanceCounter(LARGE_INTEGER* count);
BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency);

namespace plat {

// A replaceable source of time. Now() is in milliseconds, SleepFor advances or waits.
class cClock {
public:
    virtual ~cClock() = default;
    virtual std::uint64_t NowMicroseconds() = 0;
    virtual void SleepMilliseconds(DWORD ms) = 0;
};

cClock& SystemClock();
// Replaces the clock for the whole process; null puts the system clock back.
void SetClock(cClock* clock);

// A clock that only moves when told to, for tests and the harness.
class cManualClock : public cClock {
public:
    std::uint64_t NowMicroseconds() override;
    void SleepMilliseconds(DWORD ms) override;   // advances the clock by ms
    void Advance(std::uint64_t microseconds);
    void Set(std::uint64_t microseconds);
private:
    std::atomic<std::uint64_t> m_nNow{0};
};

}  // namespace plat
