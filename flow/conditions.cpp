// The start conditions of flows: variable comparisons, status conditions, the chara's switches
// and states, and distances to player 1 or the target.
#include "data/flow_data.h"
#include "data/role_accessors.h"
#include "data/save_data.h"
#include "data/stage_data.h"
#include "flow/status_condition.h"
#include "flow/status_ops.h"
#include "objects/chara.h"
#include "play/play_scene.h"
#include "shell/game_arithmetic.h"

namespace {

enum CONDITIONKIND {
    CONDITION_COMMON_VARIABLE = 1,
    CONDITION_STAGE_VARIABLE,
    CONDITION_CHARA_VARIABLE,
    CONDITION_STATUS,
    CONDITION_SWITCH,
    CONDITION_STATE,
    CONDITION_DISTANCE,
};

// Subject 0 the chara itself, 1 its target (none without one).
cChara* SubjectOf(cChara& chara, int subject)
{
    return (subject == 1) ? chara.m_lpTarget : &chara;
}

struct SPAN {
    int nLow;
    int nHigh;
};

// The span the chara reaches on one axis from its centre: a side that is widened reaches half
// its drawn size plus the distance further.
SPAN ReachOf(int start, int size, int distance, bool widenLow, bool widenHigh)
{
    const int half = size / 2;
    const int centre = WrapAdd(start, half);
    const int reach = WrapAdd(half, distance);
    return {widenLow ? WrapSub(centre, reach) : centre, widenHigh ? WrapAdd(centre, reach) : centre};
}

// Whether the span overlaps the reference's extent [low, high], narrowed by its draw offset.
bool Overlaps(SPAN span, int low, int high, int offset)
{
    return span.nLow <= WrapSub(high, offset) && WrapAdd(low, offset) <= span.nHigh;
}

}  // namespace

bool cStageConditions::CheckFlowConditions(cRunningFlow& flow, cChara& chara)
{
    if (!flow.m_lpFlow) return true;
    cFlowData& record = *flow.m_lpFlow;
    if (record.m_Conditions.empty()) return true;
    if (record.m_bCheckOnce && flow.m_bConditionsHeld) return true;
    if (!CheckConditionList(record.m_Conditions, record.m_nConditionRule, chara)) return false;
    flow.m_bConditionsHeld = 1;
    return true;
}

bool cStageConditions::CheckConditionList(cSafeVector<cConditionData>& conditions, int mode, cChara& chara)
{
    if (conditions.empty()) return true;
    if (mode == 0) {
        for (cConditionData& condition : conditions) {
            if (!CheckCondition(condition, chara)) return false;
        }
        return true;
    }
    if (mode == 1) {
        for (cConditionData& condition : conditions) {
            if (CheckCondition(condition, chara)) return true;
        }
    }
    return false;
}

bool cStageConditions::CheckCondition(cConditionData& condition, cChara& chara)
{
    cPlayScene& scene = SceneOf(this);
    switch (condition.m_nKind) {
        case CONDITION_COMMON_VARIABLE:
            return CompareByOperator(g_SaveData.m_Variables.At(condition.m_nVariable), condition.m_nOperand,
                                     condition.m_nOperator);
        case CONDITION_STAGE_VARIABLE:
            return CompareByOperator(scene.m_StageVars.At(condition.m_nVariable), condition.m_nOperand,
                                     condition.m_nOperator);
        case CONDITION_CHARA_VARIABLE:
            return CompareByOperator(chara.m_Vars.At(condition.m_nVariable), condition.m_nOperand,
                                     condition.m_nOperator);
        case CONDITION_STATUS:
            return EvalStatusCondition(condition, chara);
        case CONDITION_SWITCH:
            return chara.TestValueCondition(condition);
        case CONDITION_STATE:
            return chara.TestStateCondition(condition);
        case CONDITION_DISTANCE:
            return chara.TestPositionCondition(condition);
        default:
            return false;
    }
}

bool cChara::TestValueCondition(const cConditionData& condition)
{
    int value = 0;
    if (condition.m_nHolder == 2) {
        switch (condition.m_nItem) {
            case 0: value = g_StageData.m_bAutoScrollX; break;
            case 1: value = g_StageData.m_bAutoScrollY; break;
            default: return false;
        }
    } else {
        const cChara* subject = SubjectOf(*this, condition.m_nHolder);
        if (!subject) return false;
        const cCharaData& definition = subject->m_Def;
        switch (condition.m_nItem) {
            case 1: value = definition.m_bTransparent; break;
            case 2: value = definition.m_bFixedFacing; break;
            case 3: value = definition.m_nFlying; break;
            case 4: value = definition.m_nInvincible; break;
            case 5: value = definition.m_nGiantScale; break;
            case 6: value = definition.m_bSyncAutoScroll; break;
            default: return false;
        }
    }
    return CompareByOperator(value, condition.m_nVariable, condition.m_nOperator);
}

bool cChara::TestStateCondition(const cConditionData& condition)
{
    const cChara* subject = SubjectOf(*this, condition.m_nHolder);
    if (!subject) return false;
    bool result = false;
    switch (condition.m_nItem) {
        case 0: result = subject->m_nDirection == 0; break;
        case 1: result = subject->m_nDirection == 1; break;
        case 2:
            result = !subject->m_bFlying && (subject->m_bRiding || (!subject->m_bFalling && !subject->m_bJumpRise));
            break;
        case 3: result = (subject->m_nKind == 0) ? subject->IsOnScreen() != 0 : subject->m_bOnScreen != 0; break;
        default: return false;
    }
    return (condition.m_nOperator == 1) ? !result : result;
}

bool cChara::TestPositionCondition(const cConditionData& condition)
{
    const cChara* reference = (condition.m_nHolder == 1) ? m_lpTarget : PlayerOne();
    if (!reference) return false;
    // Half-blocks to dots, wrapping as the 32-bit product does.
    const int distance = WrapMul(condition.m_nOperand, 16);
    UpdateScreenRect();
    const INTRECT& own = m_ScreenRect;
    const INTRECT& other = reference->m_ScreenRect;
    const bool left = m_nDirection == 0;
    bool result = false;
    switch (condition.m_nArea) {
        case 0:
        case 1:
        case 2:
        case 3:
        case 4:
        case 5: {
            // Modes 3 to 5 are 0 to 2 on the vertical axis, where facing left looks up.
            const bool vertical = condition.m_nArea >= 3;
            const int sides = vertical ? condition.m_nArea - 3 : condition.m_nArea;
            const bool front = sides == 1;
            const bool back = sides == 2;
            const bool widenLow = sides == 0 || (front && left) || (back && !left);
            const bool widenHigh = sides == 0 || (front && !left) || (back && left);
            if (vertical) {
                const SPAN span = ReachOf(own.top, m_nDrawHeight, distance, widenLow, widenHigh);
                result = Overlaps(span, other.top, other.bottom, reference->m_nDrawOffsetY);
            } else {
                const SPAN span = ReachOf(own.left, m_nDrawWidth, distance, widenLow, widenHigh);
                result = Overlaps(span, other.left, other.right, reference->m_nDrawOffsetX);
            }
            break;
        }
        case 6: {
            const double dx = (m_dX + m_nWidth / 2) - (reference->m_dX + reference->m_nWidth / 2);
            const double dy = (m_dY + m_nHeight / 2) - (reference->m_dY + reference->m_nHeight / 2);
            result = GameSqrt(dx * dx + dy * dy) <= distance;
            break;
        }
        default:
            return false;
    }
    switch (condition.m_nOperator) {
        case 0: return result;
        case 1: return !result;
        default: return false;
    }
}
