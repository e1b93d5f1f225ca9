// Raising a flow trigger on a chara: every flow of that trigger that is idle and may start, and
// whose start conditions and key conditions hold, starts.
#include "flow/triggers.h"

#include <atomic>

#include "data/command_info.h"
#include "data/role_accessors.h"
#include "objects/chara.h"
#include "play/play_scene.h"
#include "shell/input.h"

namespace {


std::atomic<TRIGGEROBSERVER> s_Observer{nullptr};

// The first direction key held now (0 to 9), 0 when none.
int HeldDirectionKey(const cInput& input)
{
    for (int key = 0; key < INPUT_DIRECTION_LOGS; ++key) {
        if (input.m_DirectionKeyLog.At(key).At(0).nPressed) return key;
    }
    return 0;
}

}  // namespace

void SetTriggerObserver(TRIGGEROBSERVER observer)
{
    s_Observer.store(observer);
}

void cChara::RaiseTrigger(int trigger)
{
    if (TRIGGEROBSERVER observer = s_Observer.load(std::memory_order_relaxed)) observer(*this, trigger);
    cPlayScene* scene = g_lpPlayScene.load(std::memory_order_relaxed);
    if (scene) scene->m_lpCurChara = this;
    // By index: a flow that starts may run commands, but the list itself stays in place.
    for (std::size_t i = 0; i < m_RunningFlows.size(); ++i) {
        cRunningFlow& flow = m_RunningFlows[i];
        if (flow.Trigger() != trigger) continue;
        // Marked before any other test, so a flow is tested at most once a frame.
        if (!FlowRetestSwitch()) {
            if (flow.m_bTriedThisFrame) continue;
            flow.m_bTriedThisFrame = 1;
        }
        if (flow.m_bRunning || flow.m_bPaused || flow.m_bStoppedForever || flow.m_bStartedThisFrame) continue;
        const int group = flow.Group();
        if (trigger == TRIGGER_ALWAYS && group != 0 && (m_GroupStarted.At(group) || m_GroupThisFrame.At(group)))
            continue;
        if (!scene || !scene->CheckFlowConditions(flow, *this)) continue;
        if (!CheckKeyConditions(flow)) continue;
        const int player = (m_nKind == 0) ? CharaClass(m_Def) : 0;
        flow.m_nStartKey = HeldDirectionKey(g_Input.At(player));
        flow.Start(*this);
    }
    if (scene) {
        scene->m_lpCurChara = nullptr;
        scene->m_lpCurFlow = nullptr;
        scene->m_lpCurEntry = nullptr;
    }
}
