#include "play/time_limit.h"

#include "shell/game_arithmetic.h"
#include "shell/timing.h"

namespace {

constexpr int kMaxPlayTime = 599999;
constexpr int kFramesPerSecond = 60;

}  // namespace

void cTimeLimit::Start(int limited, int seconds)
{
    if (limited) {
        m_bNoTimeLimit = 0;
        m_nTimeLeft = seconds;
    } else {
        m_nTimeLeft = kNoTimeLimit;
        m_bNoTimeLimit = 1;
    }
    m_nPlayFrames = m_nPlayTime = 0;
}

int cTimeLimit::TickTimeLimit(int delta)
{
    if (m_bNoTimeLimit) return 0;
    // The counter is the one the remaining-time display reads, so the time changes on the
    // frame the display turns over.
    if (!CountEvery(1, kFramesPerSecond)) return 0;
    m_nTimeLeft = WrapAdd(m_nTimeLeft, delta);
    if (m_nTimeLeft > kNoTimeLimit) m_nTimeLeft = kNoTimeLimit;
    if (m_nTimeLeft <= 0) {
        m_nTimeLeft = 0;
        return 1;
    }
    return 0;
}

void cTimeLimit::TickPlayTime()
{
    if (m_nPlayTime >= kMaxPlayTime) return;
    ++m_nPlayFrames;
    m_nPlayTime = static_cast<int>(static_cast<long long>(m_nPlayFrames) * 100 / 60);
    if (m_nPlayTime > kMaxPlayTime) m_nPlayTime = kMaxPlayTime;
}
