// The chara's flow list upkeep, its animation set and the frame update every chara shares.
#include <cstddef>

#include "data/database.h"
#include "data/role_accessors.h"
#include "objects/chara.h"
#include "play/play_scene.h"
#include "shell/game_arithmetic.h"

void cChara::SetAnimeSet(int set, int force)
{
    if (force == 0 && set == CharaAnimeSet(m_Def)) return;
    SetCharaAnimeSet(m_Def, set);
    m_Animator.FreePatterns();
    // A number with its top bit set is negative as the 16-bit value it is: the checked access
    // reports it, as it does a number past the end, and takes entry 0.
    const cAnimeSetData& entry = g_Database.m_AnimeSets.At(static_cast<std::int16_t>(set));
    for (const cAnimeData& animation : entry.m_Slots) {
        cSafeVector<ANIMEFRAME> pattern;
        for (const cAnimeFrameData& frame : animation.m_Frames)
            pattern.push_back({frame.m_nFrame, WrapMul(frame.m_nDuration, 6), 1});
        pattern.push_back({kAnimeRestart, 0, 1});
        m_Animator.m_Patterns.push_back(std::move(pattern));
    }
    m_Animator.m_nEntry = 0;
    m_Animator.m_nTick = 0;
}

void cChara::RebindRunningFlows()
{
    for (std::size_t i = 0; i < m_RunningFlows.size(); ++i) {
        cRunningFlow& running = m_RunningFlows[i];
        running.m_nIndex = static_cast<int>(i);
        cFlowData* record = (i < m_Def.m_Flows.size()) ? &m_Def.m_Flows[i] : nullptr;
        running.m_lpFlow = record;
        for (std::size_t k = 0; k < running.m_KeyConditions.size(); ++k) {
            running.m_KeyConditions[k] =
                (record && k < record->m_KeyConditions.size()) ? &record->m_KeyConditions[k] : nullptr;
        }
        for (std::size_t k = 0; k < running.m_Entries.size(); ++k) {
            running.m_Entries[k].m_lpCommand =
                (record && k < record->m_Commands.size()) ? &record->m_Commands[k] : nullptr;
        }
    }
}

void cChara::CopyRunningFlows(const cSafeVector<cRunningFlow>& source)
{
    ForgetSceneReferences(0, false);
    m_RunningFlows = source;
    RebindRunningFlows();
}

void cChara::RemoveFlow(int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= m_RunningFlows.size()) {
        m_RunningFlows.At(index);   // reported by the checked access; nothing is removed
        return;
    }
    cRunningFlow& flow = m_RunningFlows[static_cast<std::size_t>(index)];
    flow.Stop(*this);
    StopAnimation(flow.m_nSerial);
    ForgetSceneReferences(index, false);
    if (static_cast<std::size_t>(index) < m_Def.m_Flows.size()) m_Def.m_Flows.erase(m_Def.m_Flows.begin() + index);
    m_RunningFlows.erase(m_RunningFlows.begin() + index);
    RebindRunningFlows();
}

int cChara::RemoveFlowsByGroup(int group)
{
    if (group == 0) {
        for (cRunningFlow& flow : m_RunningFlows) flow.Stop(*this);
        ForgetSceneReferences(0, false);
        m_Def.m_Flows.clear();
        m_RunningFlows.clear();
        m_Animations.clear();
        RebindRunningFlows();
        return 0;
    }
    for (std::size_t i = 0; i < m_RunningFlows.size();) {
        const cFlowData* record = m_RunningFlows[i].m_lpFlow;
        if (record && record->m_nGroup == group) {
            RemoveFlow(static_cast<int>(i));
        } else {
            ++i;
        }
    }
    return -1;
}

void cChara::ResetFlowFrameFlags()
{
    for (cRunningFlow& flow : m_RunningFlows) {
        flow.m_bTriedThisFrame = 0;
        flow.m_bStartedThisFrame = 0;
    }
    m_GroupThisFrame.assign(kFlowGroupFlags, 0);
}

bool cChara::UpdateCommon(int restricted, bool hero, const APPROACHSCROLL& scroll)
{
    cPlayScene* scene = g_lpPlayScene.load(std::memory_order_relaxed);
    if (scene) {
        scene->m_lpCurChara = this;
        // The play frame sweeps for the dead after this update only when its flows asked.
        scene->m_bStatusChanged = 0;
    }

    // A walking chara keeps its vertical velocity in every case.
    const bool flying = m_bFlying != 0;
    if (!scroll.bCarry && m_bScrollRelative) {
        m_dVX = scroll.dSx;
        if (flying) m_dVY = scroll.dSy;
    } else if (!scroll.bCarry || !hero) {
        m_dVX = 0;
        if (flying) m_dVY = 0;
    } else if (!flying) {
        m_dVX = 0;
    } else {
        m_dVX = scroll.dSx;
        m_dVY = scroll.dSy;
    }

    m_bGravityHold = 0;
    m_bDecelX = 1;
    m_bDecelY = 1;
    m_bHidden = 0;
    m_bMoved = 0;
    if (m_nCrushGrace > 0) --m_nCrushGrace;

    StartFlowAnimations();
    for (std::size_t i = 0; i < m_RunningFlows.size(); ++i) {
        cRunningFlow& flow = m_RunningFlows[i];
        if (!flow.m_bRunning) continue;
        if (flow.m_Entries.empty()) {
            flow.Stop(*this);
            continue;
        }
        if (flow.m_bPaused || flow.m_bStoppedForever) continue;
        const int trigger = flow.m_lpFlow ? flow.m_lpFlow->m_nTrigger : 0;
        if (restricted != 0 && trigger != 3) continue;
        if (flow.Step(*this)) flow.Stop(*this);
        // Died inside its own flow, or asked to be removed.
        if (restricted == 0 && trigger != 3 && m_nHp < 1) return true;
        if (!hero && m_bRemoveRequest) return true;
    }

    if (scene) {
        scene->m_lpCurChara = nullptr;
        scene->m_lpCurFlow = nullptr;
        scene->m_lpCurEntry = nullptr;
    }
    AfterFlows();

    if (m_bFlowRemoval) {
        for (std::size_t i = m_RunningFlows.size(); i-- > 0;) {
            if (m_RunningFlows[i].m_bDeleted) RemoveFlow(static_cast<int>(i));
        }
        m_bFlowRemoval = 0;
    }
    if (m_bGroupEnded) {
        for (int group = 0; group < kFlowGroupFlags; ++group) {
            if (m_GroupEnded.At(group)) {
                m_GroupEnded.At(group) = 0;
                m_GroupStarted.At(group) = 0;
            }
        }
        m_bGroupEnded = 0;
    }

    if (m_bMoved == 0 && m_dInertiaX == 0 && m_dInertiaY == 0) m_Animator.ChangePattern(flying ? 2 : 0, 1);
    return m_nHp < 1;
}
