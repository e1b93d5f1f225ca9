#include "flow/status_ops.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "data/command_data.h"
#include "data/condition_data.h"
#include "data/role_accessors.h"
#include "flow/status_values.h"
#include "objects/chara.h"
#include "shell/game_arithmetic.h"

namespace {

// The operation on a value of the width of T: the operand cut to it, every result stored in
// it (wrapping), then the clamp.
template <class T>
int ApplyInWidth(T& v, int a, int op, int low, int high)
{
    const int operand = static_cast<T>(a);
    int x = v;
    switch (op) {
    case 0: x = operand; break;
    case 1: x = WrapAdd(x, operand); break;
    case 2: x = WrapSub(x, operand); break;
    case 3: {
        // Saturation is judged on the product as the width holds it.
        const int product = static_cast<T>(WrapMul(x, operand));
        const bool sameSign = (x >= 0) == (operand >= 0);
        if (sameSign && product < 0) x = high;
        else if (!sameSign && product > 0) x = low;
        else x = product;
        break;
    }
    case 4:
        if (operand != 0) x = WrapDiv(x, operand);
        break;
    case 5:
        if (operand != 0) x = WrapMod(x, operand);
        break;
    case 6: x = PercentRound(x, operand); break;
    default: break;
    }
    v = static_cast<T>(x);
    const int before = v;
    int clamped = before;
    ClampValue(clamped, low, high);
    v = static_cast<T>(clamped);
    return before;
}

// Applies the operation to a status field of any width with the status list's range.
void ApplyToField(const STATUSFIELD& field, int a, int op, int status)
{
    int low = 0;
    int high = 0;
    StatusRange(status, low, high);
    if (field.nWidth == 8) {
        std::int8_t v = static_cast<std::int8_t>(field.Read());
        ApplyOperation8(v, a, op, low, high);
        field.Write(v);
    } else if (field.nWidth == 16) {
        std::int16_t v = static_cast<std::int16_t>(field.Read());
        ApplyOperation16(v, a, op, low, high);
        field.Write(v);
    } else {
        int v = field.Read();
        ApplyOperation(v, a, op, low, high);
        field.Write(v);
    }
}

int PercentInWidth(int value, int a, int width)
{
    if (width == 8) return PercentRound8(value, a);
    if (width == 16) return PercentRound16(value, a);
    return PercentRound(value, a);
}

// The condition's operand, or its percentage of base clamped to low..high.
int ConditionPercentOperand(const cConditionData& condition, int (*percent)(int, int), int base, int low, int high)
{
    int operand = condition.m_nOperand;
    if (condition.m_bPercent == 0) return operand;
    operand = percent(base, operand);
    return ClampValue(operand, low, high);
}

}  // namespace

int RandomOperand(int lo, int hi)
{
    const int r = rand();
    const int width = WrapAdd(WrapSub(hi, lo), 1);
    if (width == 0) return WrapAdd(lo, r);
    return WrapAdd(lo, WrapMod(r, width));
}

int ClampValue(int& value, int low, int high)
{
    if (value < low) value = low;
    else if (value > high) value = high;
    return value;
}

std::int8_t ClampChar(std::int8_t& value, std::int8_t low, std::int8_t high)
{
    if (value < low) value = low;
    else if (value > high) value = high;
    return value;
}

bool CompareByOperator(int a, int b, int op)
{
    switch (op) {
    case 0: return a == b;
    case 1: return a != b;
    case 2: return a >= b;
    case 3: return a <= b;
    case 4: return a > b;
    case 5: return a < b;
    // |INT_MIN| wraps to INT_MIN, whose remainder is 0 for exactly the divisors of 2^31.
    case 6: return b == 0 || WrapMod(WrapAbs(a), b) == 0;
    case 7: return b != 0 && WrapMod(WrapAbs(a), b) != 0;
    default: return false;
    }
}

bool CompareByOperator8(int a, int b, int op)
{
    return CompareByOperator(static_cast<std::int8_t>(a), static_cast<std::int8_t>(b), op);
}

bool CompareByOperator16(int a, int b, int op)
{
    return CompareByOperator(static_cast<std::int16_t>(a), static_cast<std::int16_t>(b), op);
}

int PercentRound(int a, int b)
{
    const double percent = static_cast<double>(WrapMul(a, b)) * 0.01;
    return TruncToInt(std::round(percent));
}

int PercentRound8(int a, int b)
{
    return PercentRound(static_cast<std::int8_t>(a), b);
}

int PercentRound16(int a, int b)
{
    return PercentRound(static_cast<std::int16_t>(a), b);
}

int ApplyOperation(int& v, int a, int op, int low, int high)
{
    std::int32_t value = v;
    const int before = ApplyInWidth(value, a, op, low, high);
    v = value;
    return before;
}

int ApplyOperation8(std::int8_t& v, int a, int op, int low, int high)
{
    return ApplyInWidth(v, a, op, low, high);
}

int ApplyOperation16(std::int16_t& v, int a, int op, int low, int high)
{
    return ApplyInWidth(v, a, op, low, high);
}

bool ComparePercentInt(int value, int base, const cConditionData& condition, int low, int high)
{
    return CompareByOperator(value, ConditionPercentOperand(condition, PercentRound, base, low, high),
                             condition.m_nOperator);
}

bool ComparePercentShort(int value, int base, const cConditionData& condition, int low, int high)
{
    return CompareByOperator16(value, ConditionPercentOperand(condition, PercentRound16, base, low, high),
                               condition.m_nOperator);
}

int ExecCmdStatusOperation(cChara& chara, cCommandData& command)
{
    cSafeVector<std::int32_t>& p = command.m_Params;
    const int op = p.At(5);

    // The operand first: its random draw is made even when the command then does nothing.
    int a = 0;
    switch (p.At(6)) {
    case 0: a = p.At(7); break;
    case 1: {
        const int lo = std::min(p.At(8), p.At(9));
        const int hi = std::max(p.At(8), p.At(9));
        a = RandomOperand(lo, hi);
        break;
    }
    case 2:
        if (!ReadStatusOperand(chara, p.At(12), p.At(13), p.At(11), a)) return 0;
        break;
    case 3:
        if (const int* variable = VariableField(p.At(10), p.At(11))) a = *variable;
        break;
    default: break;
    }

    const int percentMode = p.At(14);
    if (p.At(0) == 1) {
        int* variable = VariableField(p.At(1), p.At(2));
        if (!variable) return 0;
        if (percentMode != 0) a = PercentRound(*variable, a);
        ApplyOperation(*variable, a, op, -999999, 999999);
        return 0;
    }
    if (p.At(0) != 0) return 0;

    if (p.At(3) == 2) {
        const int index = p.At(4);
        int* value = SystemValueField(index);
        if (!value) return 0;
        if (index == SYSTEM_LIVES && LivesUnlimited()) return 0;
        if (percentMode != 0) a = PercentRound(*value, a);
        int low = 0;
        int high = 0;
        SystemRange(index, low, high);
        ApplyOperation(*value, a, op, low, high);
        if (index == SYSTEM_SCROLLX) AfterScrollSpeedChange(0);
        if (index == SYSTEM_SCROLLY) AfterScrollSpeedChange(1);
        return 0;
    }

    cChara* target = (p.At(3) == 1) ? chara.m_lpTarget : &chara;
    if (!target) return 0;
    if (p.At(17) != 0 && CharaInvincibility(target->m_Def) != 0) return 0;
    const int status = p.At(4);
    switch (status) {
    case STATUS_HP:
    case STATUS_SP: {
        const bool hp = status == STATUS_HP;
        const int current = hp ? target->m_nHp : target->m_nSp;
        const int maximum = hp ? CharaMaxHp(target->m_Def) : CharaMaxSp(target->m_Def);
        int t = current;
        switch (p.At(15)) {
        case 0: ApplyOperation(t, a, op, 0, 999999); break;
        case 1: ApplyOperation(t, PercentRound(maximum, a), op, 0, 999999); break;
        case 2: ApplyOperation(t, PercentRound(current, a), op, 0, 999999); break;
        default: break;
        }
        const int show = p.At(16) == 1 ? 1 : 0;
        if (hp) {
            target->AddHp(WrapSub(t, current), 1, show);
            NoteHpChange(*target, chara);
        } else {
            target->AddSp(WrapSub(t, current), show);
        }
        return 0;
    }
    case STATUS_MAXHP:
    case STATUS_MAXSP: {
        const bool hp = status == STATUS_MAXHP;
        int& maximum = hp ? target->m_Def.m_nMaxHp : target->m_Def.m_nMaxSp;
        if (percentMode != 0) a = PercentRound(maximum, a);
        ApplyOperation(maximum, a, op, 0, 999999);
        int& current = hp ? target->m_nHp : target->m_nSp;
        if (current > maximum) current = maximum;
        if (hp) NoteHpChange(*target, chara);
        return 0;
    }
    case STATUS_SIGHT:
        if (!IsHero(*target)) return 0;
        [[fallthrough]];
    case STATUS_VARIABLE:
    case STATUS_CHARAID:
    case STATUS_Z:
    case STATUS_MARK:
    case STATUS_POWER:
    case STATUS_IMPACT:
    case STATUS_DEFENCE:
    case STATUS_IMPACTRESIST:
    case STATUS_STOP:
    case STATUS_SCORE: {
        const STATUSFIELD field = CharaStatusField(*target, status, p.At(2));
        if (field.nWidth == 8) a = static_cast<std::int8_t>(a);
        if (field.nWidth == 16) a = static_cast<std::int16_t>(a);
        if (percentMode != 0) a = PercentInWidth(field.Read(), a, field.nWidth);
        ApplyToField(field, a, op, status);
        if (status == STATUS_STOP) AfterStopChange(*target);
        if (status == STATUS_SIGHT) AfterSightChange(*target);
        return 0;
    }
    default: return 0;
    }
}
