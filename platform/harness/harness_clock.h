#pragma once
// The harness's virtual clock: time moves by 1000 / frame rate ms at the start of each frame,
// so frame counters, the frame-rate text and pacing are the same on every run. A sleep on the
// thread that runs frames moves it on by the sleep (frame pacing waits on it); a sleep on any
// other thread really sleeps and leaves it alone.
#include <atomic>
#include <mutex>

#include "platform/os/timer.h"

namespace plat {

class cHarnessClock : public cClock {
public:
    std::uint64_t NowMicroseconds() override;
    void SleepMilliseconds(DWORD ms) override;

    // Called by the frame loop at the start of each frame, on its own thread.
    void StartFrame(int framesPerSecond);
    // The frame goes on on the calling thread (which another thread began): the clock moves
    // with this thread's sleeps from now on, and does not move now.
    void CarryFrame();

private:
    std::atomic<std::uint64_t> m_nNow{0};
    std::atomic<DWORD> m_dwFrameThread{0};
    std::mutex m_Mutex;
    std::uint64_t m_nFrameTime = 0;
    std::uint64_t m_nRemainder = 0;
};

}  // namespace plat
