#include "shell/timing.h"

#include <atomic>
#include <cmath>
#include <cstdint>
#include <string>

#include "platform/os/timer.h"
#include "shell/format.h"

namespace {

constexpr int kRingSize = 16;

// A ring of the last 16 samples whose average is refreshed each time the ring comes round.
struct cSampleRing {
    DWORD adwSample[kRingSize] = {};
    int nIndex = 0;
    DWORD dwAverage = 0;

    void Add(DWORD sample)
    {
        adwSample[nIndex] = sample;
        if (++nIndex < kRingSize) return;
        nIndex = 0;
        std::uint64_t sum = 0;
        for (DWORD s : adwSample) sum += s;
        dwAverage = static_cast<DWORD>(sum >> 4);
    }
};

struct cTimingState {
    DWORD dwStopwatchStart = 0;
    DWORD dwLastLap = 1;

    unsigned int uStepCount = 0;

    bool bFpsStarted = false;
    DWORD dwFpsSecondStart = 0;
    DWORD dwFpsFrames = 0;
    DWORD dwFpsPublished = 0;

    bool bGateStarted = false;
    DWORD dwGateDue = 0;

    bool bPaceStarted = false;
    DWORD dwPaceSecondStart = 0;
    unsigned int uPaceFrame = 0;
    cSampleRing WorkRing;
    cSampleRing FpsRing;
    bool bOverlayDrawn = true;
};

cTimingState s_Timing;
std::atomic<PaceModeTest> s_IsDirect3D{nullptr};
std::atomic<PaceOverlayDraw> s_DrawOverlay{nullptr};

// Milliseconds from then to now, negative when now is earlier; right across the 32-bit wrap.
std::int32_t Elapsed(DWORD now, DWORD then) { return static_cast<std::int32_t>(now - then); }

}  // namespace

void StopwatchStart() { s_Timing.dwStopwatchStart = timeGetTime(); }

DWORD StopwatchLap(bool take)
{
    if (take) s_Timing.dwLastLap = timeGetTime() - s_Timing.dwStopwatchStart;
    return s_Timing.dwLastLap;
}

DWORD CountFps(bool count)
{
    cTimingState& t = s_Timing;
    if (!t.bFpsStarted) {
        t.bFpsStarted = true;
        t.dwFpsSecondStart = timeGetTime();
    }
    if (!count) return t.dwFpsPublished;
    const DWORD now = timeGetTime();
    if (Elapsed(now, t.dwFpsSecondStart) >= 1000) {
        t.dwFpsSecondStart = now;
        t.dwFpsPublished = t.dwFpsFrames;
        t.dwFpsFrames = 0;
        return t.dwFpsPublished;
    }
    ++t.dwFpsFrames;
    return t.dwFpsPublished;
}

int CountEvery(int mode, unsigned int n)
{
    unsigned int& counter = s_Timing.uStepCount;
    if (mode == 0) {
        counter = 0;
        return 0;
    }
    if (mode == 2) return counter == 0 ? 1 : 0;
    if (++counter >= n) {
        counter = 0;
        return 1;
    }
    return 0;
}

bool FrameRateGate(unsigned int rate)
{
    cTimingState& t = s_Timing;
    if (!t.bGateStarted) {
        t.bGateStarted = true;
        t.dwGateDue = timeGetTime();
    }
    const DWORD now = timeGetTime();
    if (rate == 0) return true;
    if (Elapsed(now, t.dwGateDue) < 0) return false;
    // The next frame counts from the moment the gate opened, not from the previous due time.
    t.dwGateDue = now + 1000 / rate;
    return true;
}

DWORD FrameRateGateDueIn(unsigned int rate)
{
    const cTimingState& t = s_Timing;
    if (rate == 0 || !t.bGateStarted) return 0;
    const std::int32_t left = -Elapsed(timeGetTime(), t.dwGateDue);
    return left > 0 ? static_cast<DWORD>(left) : 0;
}

DWORD PaceFrameDueIn(unsigned int fps)
{
    const cTimingState& t = s_Timing;
    if (fps == 0 || !t.bPaceStarted) return 0;
    const double due = t.uPaceFrame * (1000.0 / fps);
    const double left = due - Elapsed(timeGetTime(), t.dwPaceSecondStart);
    if (left <= 0) return 0;
    return static_cast<DWORD>(std::ceil(left));
}

bool PaceFrame(unsigned int fps, bool overlay, DDSURFACEDATA* glyphs)
{
    const PaceModeTest isDirect3D = s_IsDirect3D.load();
    if (!isDirect3D || !isDirect3D() || fps == 0) return true;

    cTimingState& t = s_Timing;
    if (!t.bPaceStarted) {
        t.bPaceStarted = true;
        t.dwPaceSecondStart = timeGetTime();
    }
    const bool drawOverlay = overlay && glyphs;
    if (drawOverlay && t.bOverlayDrawn) {
        t.bOverlayDrawn = false;
        t.WorkRing.Add(StopwatchLap(false));
        t.FpsRing.Add(CountFps(false));
    }

    const DWORD now = timeGetTime();
    const double due = t.uPaceFrame * (1000.0 / fps);
    if (Elapsed(now, t.dwPaceSecondStart) < due) return false;

    if (++t.uPaceFrame >= fps) {
        t.uPaceFrame = 0;
        t.dwPaceSecondStart = now;
    }

    if (drawOverlay) {
        if (const PaceOverlayDraw draw = s_DrawOverlay.load()) {
            std::string text;
            FormatString(text, "FPS-Ave %u(%u)\ndwTime_OneSec %u\nnFrameCt_OneSec %u", t.FpsRing.dwAverage,
                         t.WorkRing.dwAverage, t.dwPaceSecondStart, t.uPaceFrame);
            draw(glyphs, text.c_str());
        }
        t.bOverlayDrawn = true;
    }
    return true;
}

void SetPaceFrameHooks(PaceModeTest isDirect3D, PaceOverlayDraw drawOverlay)
{
    s_DrawOverlay.store(drawOverlay);
    s_IsDirect3D.store(isDirect3D);
}

void ResetTiming() { s_Timing = cTimingState(); }
