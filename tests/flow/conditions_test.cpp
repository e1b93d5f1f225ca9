#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "data/save_data.h"
#include "platform/os/random.h"
#include "tests/flow/flow_fixture.h"

namespace {

cConditionData Condition(int kind, int holder, int item, int shortValue, int value, int op)
{
    cConditionData condition;
    condition.m_nKind = static_cast<std::int8_t>(kind);
    condition.m_nHolder = static_cast<BYTE>(holder);
    condition.m_nItem = static_cast<BYTE>(item);
    condition.m_nVariable = static_cast<std::int16_t>(shortValue);
    condition.m_nOperand = value;
    condition.m_nOperator = static_cast<std::int8_t>(op);
    return condition;
}

// A status condition on common variable 1 with a random operand in 0..9: one draw, and it
// holds exactly when the variable is at least 10.
cConditionData RandomDraw(bool holds)
{
    cConditionData condition = Condition(4, 0, 0, 1, 0, 2);
    condition.m_nValueSource = 1;
    condition.m_nVariableScope = 0;
    condition.m_nOperandSource = 1;
    condition.m_nRandomMin = 0;
    condition.m_nRandomMax = 9;
    if (!holds) condition.m_nVariable = 2;
    return condition;
}

// How many draws lead from one generator state to another.
int DrawsBetween(unsigned int before, unsigned int after)
{
    for (int draws = 0; draws < 20; ++draws) {
        if (before == after) return draws;
        before = before * 214013u + 2531011u;
    }
    return -1;
}

class ConditionFixture : public FlowStageFixture {
public:
    ConditionFixture()
    {
        g_SaveData.m_Variables.assign(256, 0);
        g_SaveData.m_Variables[1] = 100;
        g_SaveData.m_Variables[2] = -100;
        Scene().m_StageVars.assign(255, 0);
    }
};

}  // namespace

TEST(FlowConditions, ListsStopAtTheFirstConditionThatDecidesAndDrawOnlyUpToIt)
{
    struct Case {
        int mode;
        std::vector<bool> holds;
        bool result;
        int draws;
    } cases[] = {
        {0, {true, false, true}, false, 2},
        {0, {true, true, true}, true, 3},
        {1, {false, true, false}, true, 2},
        {1, {false, false, false}, false, 3},
        {1, {}, true, 0},    // an empty list holds
        {2, {}, true, 0},
        {2, {true, true}, false, 0},   // another mode never holds
    };
    for (const Case& c : cases) {
        ConditionFixture stage;
        cSafeVector<cConditionData> list;
        for (bool holds : c.holds) list.push_back(RandomDraw(holds));
        const unsigned int before = plat::RandomState();
        EXPECT_EQ(stage.Scene().CheckConditionList(list, c.mode, stage.Chara()), c.result) << c.mode;
        EXPECT_EQ(DrawsBetween(before, plat::RandomState()), c.draws) << c.mode;
    }
}

TEST(FlowConditions, HeldConditionsOfACheckOnceFlowAreNotTestedAgain)
{
    ConditionFixture stage;
    cFlowData flow = FlowOf(TRIGGER_HIT_BLOCK, {FlowCommand(COMMAND_WAIT)});
    flow.m_Conditions.push_back(Condition(3, 0, 0, 0, 1, 0));
    flow.m_bCheckOnce = 1;
    stage.SetFlows({flow});
    cChara& chara = stage.Chara();
    cRunningFlow& running = chara.m_RunningFlows[0];
    EXPECT_FALSE(stage.Scene().CheckFlowConditions(running, chara));
    chara.m_Vars[0] = 1;
    EXPECT_TRUE(stage.Scene().CheckFlowConditions(running, chara));
    EXPECT_EQ(running.m_bConditionsHeld, 1);
    chara.m_Vars[0] = 0;
    EXPECT_TRUE(stage.Scene().CheckFlowConditions(running, chara));
    chara.m_Def.m_Flows[0].m_bCheckOnce = 0;
    EXPECT_FALSE(stage.Scene().CheckFlowConditions(running, chara));
}

TEST(FlowConditions, VariablesCompareWithTheConstantByTheOperator)
{
    ConditionFixture stage;
    g_SaveData.m_Variables[7] = -6;
    stage.Scene().m_StageVars[7] = INT_MIN;
    stage.Chara().m_Vars[7] = 5;
    struct Case {
        int kind, value, op;
        bool holds;
    } cases[] = {
        {1, -6, 0, true},  {1, -6, 1, false}, {1, 3, 6, true},   // -6 is a multiple of 3
        {1, 0, 6, true},   {1, 0, 7, false},  {1, -7, 2, true},  {1, -5, 4, false},
        {2, -1, 6, true},  {2, -1, 7, false}, {2, 0, 3, true},   // INT_MIN % -1 is 0
        {3, 5, 3, true},   {3, 6, 5, true},   {3, 5, 8, false},  // no operator 8
        {0, 0, 0, false},  {8, 0, 0, false},  {-1, 0, 0, false},
    };
    for (const Case& c : cases) {
        cConditionData condition = Condition(c.kind, 0, 0, 7, c.value, c.op);
        EXPECT_EQ(stage.Scene().CheckCondition(condition, stage.Chara()), c.holds)
            << c.kind << " " << c.value << " " << c.op;
    }
}

TEST(FlowConditions, SwitchesAndStatesOfTheCharaItsTargetOrTheStage)
{
    ConditionFixture stage;
    cChara& chara = stage.Chara();
    cChara target;
    target.m_nKind = 1;
    chara.m_Def.m_bTransparent = 1;
    chara.m_Def.m_nGiantScale = 3;
    target.m_Def.m_nInvincible = 2;
    g_StageData.m_bAutoScrollY = 1;
    chara.m_nDirection = 0;
    chara.m_bFalling = 0;
    chara.m_bJumpRise = 0;
    chara.m_bOnScreen = 1;
    target.m_nDirection = 1;
    target.m_bFlying = 1;
    struct Case {
        int kind, holder, item, value, op;
        bool withTarget;
        bool holds;
    } cases[] = {
        {5, 0, 1, 1, 0, false, true},   {5, 0, 5, 3, 0, false, true},   {5, 0, 5, 2, 4, false, true},
        {5, 0, 0, 0, 0, false, false},  // "disappear" is never a switch
        {5, 1, 4, 2, 0, true, true},    {5, 1, 4, 2, 0, false, false},  {5, 1, 4, 0, 1, false, false},
        {5, 2, 1, 1, 0, false, true},   {5, 2, 0, 0, 0, false, true},   {5, 2, 2, 0, 0, false, false},
        {6, 0, 0, 0, 0, false, true},   {6, 0, 1, 0, 0, false, false},  {6, 0, 1, 0, 1, false, true},
        {6, 0, 2, 0, 0, false, true},   {6, 0, 3, 0, 7, false, true},   {6, 0, 4, 0, 1, false, false},
        {6, 1, 1, 0, 0, true, true},    {6, 1, 2, 0, 0, true, false},   // flying never stands
        {6, 1, 1, 0, 0, false, false},  {6, 1, 1, 0, 1, false, false},  // no target, negated too
    };
    for (const Case& c : cases) {
        chara.m_lpTarget = c.withTarget ? &target : nullptr;
        cConditionData condition = Condition(c.kind, c.holder, c.item, c.value, 0, c.op);
        EXPECT_EQ(stage.Scene().CheckCondition(condition, chara), c.holds)
            << c.kind << " " << c.holder << " " << c.item << " " << c.value << " " << c.op;
    }
    chara.m_lpTarget = nullptr;
    chara.m_bRiding = 1;
    chara.m_bFalling = 1;
    cConditionData standing = Condition(6, 0, 2, 0, 0, 0);
    EXPECT_TRUE(stage.Scene().CheckCondition(standing, chara));   // riding counts as standing
}

TEST(FlowConditions, DistanceSpansWidenTheSidesTheModeNamesAndNarrowTheReferenceByItsOffset)
{
    ConditionFixture stage;
    cChara& chara = stage.Chara();
    chara.m_dX = 500;
    chara.m_dY = 500;
    chara.m_nDrawWidth = chara.m_nDrawHeight = 32;
    chara.UpdateScreenRect();
    const int left = chara.m_ScreenRect.left;
    const int top = chara.m_ScreenRect.top;
    cChara reference;
    stage.Scene().m_lpPlayerOne = &reference;

    // The reference's extent, its draw offset on that axis, the chara's facing.
    struct Case {
        const char* what;
        int mode, halfBlocks, from, to, offset, facing, op;
        bool holds;
    } cases[] = {
        {"touching on the right", 0, 0, 32, 60, 0, 1, 0, true},
        {"one dot apart", 0, 0, 33, 60, 0, 1, 0, false},
        {"narrowed by the offset", 0, 0, 24, 60, 8, 1, 0, true},
        {"narrowed past it", 0, 0, 24, 60, 9, 1, 0, false},
        {"a half-block further", 0, 1, 48, 60, 0, 1, 0, true},
        {"and one more dot", 0, 1, 49, 60, 0, 1, 0, false},
        {"on the left", 0, 1, -40, -16, 0, 1, 0, true},
        {"in front, facing right", 1, 1, 48, 60, 0, 1, 0, true},
        {"in front, behind it", 1, 1, -40, -16, 0, 1, 0, false},
        {"in front, facing left", 1, 1, -40, -16, 0, 0, 0, true},
        {"behind, facing right", 2, 1, -40, -16, 0, 1, 0, true},
        {"behind, ahead of it", 2, 1, 48, 60, 0, 1, 0, false},
        {"outside", 0, 0, 33, 60, 0, 1, 1, true},
        {"an unknown operator", 0, 0, 32, 60, 0, 1, 2, false},
        {"an unknown mode", 7, 0, 32, 60, 0, 1, 0, false},
        // The constant times 16 wraps to 0.
        {"a wrapped distance", 0, 0x10000000, 33, 60, 0, 1, 0, false},
    };
    for (const Case& c : cases) {
        chara.m_nDirection = c.facing;
        reference.m_ScreenRect = {left + c.from, top, left + c.to, top + 31};
        reference.m_nDrawOffsetX = c.offset;
        cConditionData condition = Condition(7, 0, 0, 0, c.halfBlocks, c.op);
        condition.m_nArea = static_cast<BYTE>(c.mode);
        EXPECT_EQ(stage.Scene().CheckCondition(condition, chara), c.holds) << c.what;
    }

    struct VerticalCase {
        int mode, from, to, facing;
        bool holds;
    } vertical[] = {
        {3, 48, 60, 1, true},  {3, -40, -16, 1, true}, {3, 49, 60, 1, false},
        {4, 48, 60, 1, true},  {4, 48, 60, 0, false},  {4, -40, -16, 0, true},
        {5, 48, 60, 1, false}, {5, -40, -16, 1, true}, {5, 48, 60, 0, true},
    };
    for (const VerticalCase& c : vertical) {
        chara.m_nDirection = c.facing;
        reference.m_ScreenRect = {left + 100, top + c.from, left + 120, top + c.to};
        reference.m_nDrawOffsetY = 0;
        cConditionData condition = Condition(7, 0, 0, 0, 1, 0);
        condition.m_nArea = static_cast<BYTE>(c.mode);
        EXPECT_EQ(stage.Scene().CheckCondition(condition, chara), c.holds) << c.mode << " " << c.from;
    }
}

TEST(FlowConditions, TheCircleMeasuresBetweenCentresAndATargetConditionNeedsATarget)
{
    ConditionFixture stage;
    cChara& chara = stage.Chara();
    chara.m_dX = 500;
    chara.m_dY = 500;
    chara.m_nWidth = chara.m_nHeight = 32;
    cChara target;
    target.m_nWidth = target.m_nHeight = 16;
    target.m_dY = 508;
    cConditionData circle = Condition(7, 1, 0, 0, 1, 0);
    circle.m_nArea = 6;
    cConditionData outside = circle;
    outside.m_nOperator = 1;
    EXPECT_FALSE(stage.Scene().CheckCondition(circle, chara));
    EXPECT_FALSE(stage.Scene().CheckCondition(outside, chara));   // no target: false either way
    chara.m_lpTarget = &target;
    target.m_dX = 524;   // centres 16 apart
    EXPECT_TRUE(stage.Scene().CheckCondition(circle, chara));
    target.m_dX = 525;
    EXPECT_FALSE(stage.Scene().CheckCondition(circle, chara));
    EXPECT_TRUE(stage.Scene().CheckCondition(outside, chara));
    chara.m_lpTarget = nullptr;
}
