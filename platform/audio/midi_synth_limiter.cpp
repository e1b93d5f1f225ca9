#include "platform/audio/midi_synth_limiter.h"

#include <algorithm>
#include <cmath>

namespace plat {

namespace {

constexpr double kReleaseSeconds = 0.1;

}  // namespace

void cPeakLimiter::SetRate(int rate)
{
    m_fRelease = rate > 0 ? static_cast<float>(1.0 - std::exp(-1.0 / (kReleaseSeconds * rate))) : 1.0f;
}

void cPeakLimiter::Reset()
{
    std::fill(std::begin(m_Delay), std::end(m_Delay), 0.0f);
    std::fill(std::begin(m_Need), std::end(m_Need), 1.0f);
    std::fill(std::begin(m_Held), std::end(m_Held), 1.0f);
    m_nDelayAt = 0;
    m_nWindowAt = 0;
    m_dHeldSum = kWindow;
    m_fHeld = 1.0f;
}

// The frame that leaves the delay is the oldest of the window. Every held gain in the window is
// at most the gain that frame needs (each is the least need of a window that holds it), so
// their mean is too: the mean ramps the gain down over the look-ahead instead of in one step.
void cPeakLimiter::Process(float* stereo, int frames)
{
    for (int i = 0; i < frames; ++i) {
        float* frame = stereo + 2 * i;
        const float peak = std::max(std::fabs(frame[0]), std::fabs(frame[1]));
        m_Need[m_nWindowAt] = peak > kLimiterCeiling ? kLimiterCeiling / peak : 1.0f;
        const float least = *std::min_element(std::begin(m_Need), std::end(m_Need));
        m_fHeld = std::min(least, m_fHeld + (1.0f - m_fHeld) * m_fRelease);
        m_dHeldSum += m_fHeld - m_Held[m_nWindowAt];
        m_Held[m_nWindowAt] = m_fHeld;
        m_nWindowAt = (m_nWindowAt + 1) % kWindow;
        const float gain = static_cast<float>(std::min(1.0, m_dHeldSum / kWindow));

        float* delayed = m_Delay + 2 * m_nDelayAt;
        const float left = delayed[0], right = delayed[1];
        delayed[0] = frame[0];
        delayed[1] = frame[1];
        m_nDelayAt = (m_nDelayAt + 1) % kLimiterLookAhead;
        frame[0] = left * gain;
        frame[1] = right * gain;
    }
}

}  // namespace plat
