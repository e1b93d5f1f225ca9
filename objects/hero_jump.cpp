// The hero's jump: how long the key is held (or how fast the hero runs) decides its height.
#include "data/condition_data.h"
#include "objects/hero.h"
#include "play/play_scene.h"
#include "shell/game_arithmetic.h"
#include "shell/game_requests.h"
#include "shell/input.h"

namespace {

// The riding hero's jump is a little stronger: the single-precision 1.02.
constexpr double kRideJumpFactor = 1.0199999809265137;
constexpr double kCutJump = 0.3;

int Param(const cFlowCommandEntry& entry, int i)
{
    if (!entry.m_lpCommand) return 0;
    return entry.m_lpCommand->m_Params.At(i);
}

// The newest state of key i (10 direction histories, then the button histories): 1 held.
int KeyHeld(const cInput& input, int i)
{
    const cSafeVector<cSafeVector<KEYSAMPLE>>& logs = (i < INPUT_DIRECTION_LOGS) ? input.m_DirectionKeyLog : input.m_ButtonKeyLog;
    const int index = (i < INPUT_DIRECTION_LOGS) ? i : i - INPUT_DIRECTION_LOGS;
    if (index >= static_cast<int>(logs.size()) || logs[static_cast<std::size_t>(index)].empty()) return 0;
    return logs[static_cast<std::size_t>(index)][0].nPressed != 0 ? 1 : 0;
}

}  // namespace

int TestJumpKeys(const cInput& input, const cKeyConditionData& condition)
{
    int matches = 0;
    for (int i = 0; i < cKeyConditionData::kKeys; ++i) {
        const int state = condition.KeyState(i);
        if (state != 1 && state != 2) continue;
        const bool match = (state == 1) == (KeyHeld(input, i) != 0);
        switch (condition.m_nKeyRule) {
        case 0:
            if (!match) return 0;
            break;
        case 1:
            if (match) return 1;
            break;
        default:
            if (match) ++matches;
            break;
        }
    }
    if (condition.m_nKeyRule == 0) return 1;
    if (condition.m_nKeyRule == 1) return 0;
    return matches == 1 ? 1 : 0;
}

void cHero::StartJump(cFlowCommandEntry& entry)
{
    if (m_bFlying != 0 || m_bJumpHandled != 0) return;
    const STAGESPEED speed = CurrentStageSpeed();
    cPlayScene* scene = g_lpPlayScene.load(std::memory_order_relaxed);
    const cRunningFlow* flow = scene ? scene->m_lpCurFlow : nullptr;
    const bool keyConditions = flow && !flow->m_KeyConditions.empty() && flow->m_KeyConditions.back() != nullptr;
    const int mode = Param(entry, 0);

    bool held = (mode == 0);
    if (!held && keyConditions && m_lpInput) held = TestJumpKeys(*m_lpInput, *flow->m_KeyConditions.back()) != 0;

    if (mode == 2) {
        // The height follows the running speed, between the minimum and the full height.
        const double p1 = Param(entry, 1);
        const double p2 = Param(entry, 2);
        const double p3 = Param(entry, 3);
        const double p4 = Param(entry, 4);
        const double s = (m_dInertiaX < 0) ? -m_dInertiaX : m_dInertiaX;
        const double full = p1 / (10 * speed.dSteps);
        double height;
        if (s >= full) height = p2;
        else if (s <= p3 / (10 * speed.dSteps)) height = p4;
        else height = TruncToInt((p2 - p4) * s / full + p4);
        entry.m_dSpeed = JumpSpeedForHeight(height * 16, m_nKind, speed);
    }

    if (held && m_bNoJump == 0) {
        m_nJumpHold = WrapAdd(m_nJumpHold, 1);
        if (m_nJumpHold >= entry.m_nDuration && (m_bJumpUsed == 0 || m_bRiding != 0) && m_bJumpReady != 0 &&
            m_bCeilingStop == 0 && (m_dVY < 0 || m_bRiding != 0)) {
            m_bJumpUsed = 1;
            m_bJumpReady = 0;
        } else if (m_bFalling == 0 && m_nJumpHold <= speed.nSteps && (m_bJumpUsed == 0 || m_bRiding != 0) &&
                   m_bJumpReady != 0 && m_bCeilingStop == 0 && m_Knockback.bKnocked == 0 && entry.m_bStarted == 0) {
            m_bJumpRise = 1;
            bool jumped = false;
            if (m_bRiding == 0) {
                m_dVY = entry.m_dSpeed;
                jumped = true;
            } else if (scene && scene->m_nSubStep == speed.nSteps) {
                // Off a ride only in the frame's last sub-step, once the ride has moved.
                m_bRiding = 0;
                m_dVY = entry.m_dSpeed * kRideJumpFactor;
                jumped = true;
            }
            if (jumped) {
                entry.m_bStarted = 1;
                PlayDbSe(static_cast<WORD>(entry.m_lpCommand ? entry.m_lpCommand->m_nSound : 0));
            }
        }
    } else {
        if (m_nJumpHold > 0 && m_nJumpHold < entry.m_nDuration && m_bJumpUsed == 0 && m_bCeilingStop == 0 &&
            m_bNoJump == 0 && m_Knockback.bKnocked == 0) {
            // Released early: the jump is cut short, once.
            m_bRiding = 0;
            if (m_dVY < 0) m_dVY *= kCutJump;
            m_bJumpUsed = 1;
        }
        m_nJumpHold = 0;
        m_bJumpReady = 1;
        m_bCeilingStop = 0;
    }

    if (IsOnGround() != 0 && m_dVY >= 0 && (!keyConditions || !held)) {
        m_nJumpHold = 0;
        m_bJumpReady = 1;
        m_bCeilingStop = 0;
        m_Knockback.bKnocked = 0;
        if (!keyConditions) entry.m_bStarted = 0;
        else entry.m_nRemaining = 0;
    }
    m_bJumpHandled = 1;
}
