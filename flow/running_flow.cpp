#include "flow/running_flow.h"

#include "objects/chara.h"
#include "shell/not_built_yet.h"

void cFlowCommandEntry::Reset()
{
    m_nRemaining = m_nDuration;
    m_bDone = 0;
    m_nFacingRequest = 0;
    m_bStarted = 0;
    m_dAccumulator1 = 0;
    m_dAccumulator2 = 0;
    m_dVX = 0;
    m_dVY = 0;
}

bool cRunningFlow::Step()
{
    LogNotBuiltYet("flow commands");
    return false;
}

bool cRunningFlow::Stop(cChara& chara)
{
    if (!m_bRunning) return false;
    m_bRunning = 0;
    for (cFlowCommandEntry& entry : m_Entries) entry.m_nRemaining = 0;
    if (m_lpFlow && m_lpFlow->m_nGroup != 0) {
        chara.m_GroupEnded.At(m_lpFlow->GroupFlagIndex()) = 1;
        chara.m_bGroupEnded = 1;
    }
    return true;
}
