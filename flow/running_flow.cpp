#include "flow/running_flow.h"

#include "data/command_info.h"
#include "flow/command_table.h"
#include "objects/chara.h"
#include "play/play_scene.h"
#include "shell/error_box.h"
#include "shell/game_arithmetic.h"

namespace {

int KindOf(const cFlowCommandEntry& entry)
{
    return entry.m_lpCommand ? static_cast<int>(entry.m_lpCommand->m_nKind) : static_cast<int>(COMMAND_NONE);
}

bool IsParallel(const cFlowCommandEntry& entry)
{
    return entry.m_lpCommand && entry.m_lpCommand->m_bParallel == 1;
}

// A message that waits for the key and stays: consecutive ones chain without the opening delay.
bool IsChainingMessage(const cFlowCommandEntry& entry)
{
    if (KindOf(entry) != COMMAND_MESSAGE) return false;
    const cSafeVector<std::int32_t>& params = entry.m_lpCommand->m_Params;
    return params.At(6) == 0 && params.At(15) == 0;
}

}  // namespace

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
    // Each run of the entry counts its steps from 0: a sword swings once per run, a tenth-second
    // command acts at the first step of every run, and a homing move starts its points afresh.
    m_nStepCounter = 0;
}

bool cFlowCommandEntry::Execute(cChara& chara)
{
    if (cPlayScene* scene = Scene()) scene->m_lpCurEntry = this;
    DispatchFlowCommand(chara, *this);
    // Read after the handler: a flow operation that restarted this flow has zeroed it.
    m_nRemaining = WrapSub(m_nRemaining, 1);
    if (m_nRemaining > 0) return false;
    m_nRemaining = 0;
    return true;
}

void cRunningFlow::Start(cChara& chara)
{
    m_bRunning = 1;
    m_nCurrent = 0;
    m_nSteps = 0;
    m_bMessageChain = 0;
    for (cFlowCommandEntry& entry : m_Entries) entry.m_bDone = 0;
    m_bStartedThisFrame = 1;
    const int group = Group();
    if (Trigger() == TRIGGER_ALWAYS && group != 0) {
        chara.m_GroupStarted.At(group) = 1;
        chara.m_GroupThisFrame.At(group) = 1;
    }
    if (m_Entries.empty() || Trigger() != TRIGGER_BEFORE_STAGE) return;

    if (cPlayScene* scene = Scene()) scene->m_lpCurFlow = this;
    m_bAbort = 0;
    for (cFlowCommandEntry& entry : m_Entries) {
        if (KindOf(entry) < COMMAND_FLOW_OPERATION || !IsParallel(entry)) continue;
        if (!entry.Execute(chara)) DebugErrorBoxF("使用時間0なので、ここにくることはあり得ないはず！");
        if (m_bAbort) break;
        entry.m_bDone = 1;
    }
    Stop(chara);
}

bool cRunningFlow::Step(cChara& chara)
{
    if (cPlayScene* scene = Scene()) scene->m_lpCurFlow = this;
    m_bAbort = 0;
    const int last = static_cast<int>(m_Entries.size()) - 1;
    // The bound is read again at every turn: a parallel entry at the current index moves it on,
    // so the entries after it start in the same step.
    for (int i = 0; i <= m_nCurrent; ++i) {
        if (i > last) continue;
        cFlowCommandEntry& entry = m_Entries[static_cast<std::size_t>(i)];
        if (entry.m_bDone) continue;
        const bool parallel = IsParallel(entry);
        if (entry.m_nRemaining == 0) {
            entry.Reset();
            if (!parallel && !IsChainingMessage(entry)) m_bMessageChain = 0;
        }
        if (parallel) {
            if (entry.Execute(chara)) {
                entry.m_bDone = 1;
                if (i == last) return true;
            }
            if (i == m_nCurrent) ++m_nCurrent;
            if (m_bAbort) return false;
            continue;
        }
        if (!entry.Execute(chara)) {
            if (m_bAbort) return false;
            continue;
        }
        entry.m_bDone = 1;
        if (IsChainingMessage(entry)) m_bMessageChain = 1;
        if (i == last) return true;
        ++m_nCurrent;
        break;
    }
    if (last >= 0 && m_Entries[static_cast<std::size_t>(last)].m_bDone) return true;
    m_nSteps = WrapAdd(m_nSteps, 1);
    return false;
}

bool cRunningFlow::Stop(cChara& chara)
{
    if (!m_bRunning) return false;
    m_bRunning = 0;
    EndEntries(chara);
    return true;
}

void cRunningFlow::StopForever(cChara& chara)
{
    m_bStoppedForever = 1;
    if (m_bRunning) EndEntries(chara);
}

void cRunningFlow::EndEntries(cChara& chara)
{
    for (cFlowCommandEntry& entry : m_Entries) entry.m_nRemaining = 0;
    const int group = Group();
    if (group != 0) {
        chara.m_GroupEnded.At(group) = 1;
        chara.m_bGroupEnded = 1;
    }
}
