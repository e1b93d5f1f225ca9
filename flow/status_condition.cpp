#include "flow/status_condition.h"

#include <cstdint>

#include "data/condition_data.h"
#include "data/role_accessors.h"
#include "flow/status_ops.h"
#include "flow/status_values.h"
#include "objects/chara.h"
#include "play/play_scene.h"

namespace {

// The operand by its source; false where the status command would do nothing.
bool ConditionOperand(const cConditionData& c, cChara& chara, int& operand)
{
    operand = 0;
    switch (c.m_nOperandSource) {
    case 0: operand = c.m_nOperand; return true;
    case 1:
        // The bounds in their stored order: a maximum below the minimum gives a negative width,
        // and C's remainder keeps the result from the minimum up.
        operand = RandomOperand(c.m_nRandomMin, c.m_nRandomMax);
        return true;
    case 2: return ReadStatusOperand(chara, c.m_nOperandHolder, c.m_nOperandItem, c.m_nOperandVariable, operand);
    case 3:
        if (const int* variable = VariableField(c.m_nOperandScope, c.m_nOperandVariable)) operand = *variable;
        return true;
    default: return true;
    }
}

// The operand as a percentage of a maximum, or of 0 for every other value.
int PercentOperand(int operand, int maximum)
{
    int value = PercentRound(maximum, operand);
    return ClampValue(value, 0, 999999);
}

}  // namespace

bool EvalStatusCondition(cConditionData& condition, cChara& chara)
{
    int operand = 0;
    if (!ConditionOperand(condition, chara, operand)) return false;
    condition.m_nOperand = operand;
    const int op = condition.m_nOperator;

    if (condition.m_nValueSource == 1) {
        const int* variable = VariableField(condition.m_nVariableScope, condition.m_nVariable);
        if (!variable) return false;
        if (condition.m_bPercent != 0) operand = 0;
        return CompareByOperator(*variable, operand, op);
    }

    if (condition.m_nHolder == 2) {
        if (condition.m_nItem == SYSTEM_LIVES && LivesUnlimited()) return false;
        // The time is compared as it stands, with or without a time limit.
        const int* value = SystemValueField(condition.m_nItem);
        if (!value) return false;
        if (condition.m_bPercent != 0) operand = 0;
        return CompareByOperator(*value, operand, op);
    }

    cChara* owner = (condition.m_nHolder == 1) ? chara.m_lpTarget : &chara;
    if (!owner) return false;
    const int status = condition.m_nItem;
    if (status < 0 || status >= kStatusCount) return true;
    const int value = CharaStatusField(*owner, status, condition.m_nVariable).Read();
    if (status == STATUS_STOP) return ComparePercentShort(value, 0, condition, 0, 200);
    if (status == STATUS_SCORE) return ComparePercentInt(value, 0, condition, -999999, 999999);
    if (condition.m_bPercent != 0) {
        if (status == STATUS_HP) operand = PercentOperand(operand, CharaMaxHp(owner->m_Def));
        else if (status == STATUS_SP) operand = PercentOperand(operand, CharaMaxSp(owner->m_Def));
        else operand = 0;
    }
    const int width = StatusWidth(status);
    if (width == 8) return CompareByOperator8(value, operand, op);
    if (width == 16) return CompareByOperator16(value, operand, op);
    return CompareByOperator(value, operand, op);
}
