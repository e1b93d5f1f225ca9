#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "data/condition_data.h"
#include "objects/item.h"
#include "platform/os/random.h"
#include "play/draw_sandbox.h"
#include "play/play_scene.h"
#include "tests/stage/stage_fixture.h"

namespace {

class CharaActivation : public qbtest::cStageTest {
protected:
    // A flying chara (the airborne rule of walkers stays out of the way) with wake switch
    // `wakeSwitch` (-1 none), placed at block (column, 0) and then moved to stage x `x`.
    cStageChara& Add(double x, int wakeSwitch, int keepAwake = 0)
    {
        cCharaData definition = CharaTemplate();
        definition.m_nFlying = 1;
        definition.m_bGroupSwitch = wakeSwitch >= 0 ? 1 : 0;
        definition.m_nGroupSwitch = static_cast<std::int16_t>(wakeSwitch >= 0 ? wakeSwitch : 0);
        definition.m_nActivation = static_cast<BYTE>(keepAwake);
        Scene().PlaceChara(0, 0, definition, nullptr);
        cStageChara& chara = Scene().m_Charas.back();
        MoveTo(chara, x);
        return chara;
    }
    static void MoveTo(cGameObject& object, double x)
    {
        object.m_dRight += x - object.m_dX;
        object.m_dX = x;
    }

    // Kinds, value sources and operators of the condition records used here.
    enum { KIND_STAGE_VARIABLE = 2, KIND_CHARA_VARIABLE = 3, KIND_STATUS = 4, OPERATOR_EQUAL = 0, OPERATOR_AT_LEAST = 2 };

    // Variable `variable` (of the stage, or of the subject chara) equals `value`.
    static cConditionData VariableIs(int kind, int variable, int value)
    {
        cConditionData condition;
        condition.m_nKind = static_cast<std::int8_t>(kind);
        condition.m_nVariable = static_cast<std::int16_t>(variable);
        condition.m_nOperand = value;
        condition.m_nOperator = OPERATOR_EQUAL;
        return condition;
    }
    // Stage variable 0 is at least a random number from 0 to 9: one draw each test.
    static cConditionData StageVariableAtLeastRandom()
    {
        cConditionData condition;
        condition.m_nKind = KIND_STATUS;
        condition.m_nValueSource = 1;
        condition.m_nVariableScope = 1;
        condition.m_nVariable = 0;
        condition.m_nOperandSource = 1;
        condition.m_nRandomMin = 0;
        condition.m_nRandomMax = 9;
        condition.m_nOperator = OPERATOR_AT_LEAST;
        return condition;
    }

    // A chara, an item and a block cell in view, each carrying `condition` and the switch.
    struct CARRIERS {
        cStageChara* lpChara;
        cItem* lpItem;
        cBlockCell* lpCell;
        int nCell;
    };
    CARRIERS AddCarriers(const cConditionData& condition, int checkOnce)
    {
        cCharaData chara = CharaTemplate();
        chara.m_nFlying = 1;
        chara.m_Conditions.assign(1, condition);
        chara.m_bCheckOnce = static_cast<BYTE>(checkOnce);
        Scene().PlaceChara(0, 0, chara, nullptr);
        cItemData item = ItemTemplate();
        item.m_Conditions.assign(1, condition);
        item.m_bCheckOnce = static_cast<BYTE>(checkOnce);
        Scene().PlaceItem(2, 0, item);
        const int column = 14;   // stage block 4, margins included
        const int row = 12;
        cBlockCell& cell = CellAt(column, row);
        static_cast<cBlockData&>(cell) = SolidBlock();
        cell.m_Conditions.assign(1, condition);
        cell.m_bCheckOnce = static_cast<BYTE>(checkOnce);
        cell.m_byOwn = 0;
        return {&Scene().m_Charas.back(), &Scene().m_Items.back(), &cell,
                static_cast<int>(g_BlockGrid.CellIndex(column, row))};
    }
    // Present: a chara or item active, a block solid for the objects of layer 0.
    static int BlockPresent(const CARRIERS& c) { return g_BlockGrid.HitModeAt(c.nCell, 0) != 0 ? 1 : 0; }

    void SetUp() override { Scene().m_StageVars.assign(kStageVars, 0); }
};

// The camera shows stage x 320 to 959.
constexpr double kInView = 400;
constexpr double kOutOfView = 1000;

TEST_F(CharaActivation, ACharaInViewWakesEveryCharaSharingItsSwitchWhateverTheirOrder)
{
    cStageChara& before = Add(kOutOfView, 5);
    cStageChara& seen = Add(kInView, 5);
    cStageChara& other = Add(kOutOfView, 6);
    cStageChara& none = Add(kOutOfView, -1);
    Scene().UpdateCharaActivation();
    EXPECT_EQ(seen.m_bAwake, 1);
    EXPECT_EQ(before.m_bAwake, 1);
    EXPECT_EQ(before.m_bInView, 0);
    EXPECT_EQ(other.m_bAwake, 0);
    EXPECT_EQ(none.m_bAwake, 0);
    EXPECT_EQ(Scene().m_ActivityTable.At(5), 1);
    EXPECT_EQ(Scene().m_ActivityTable.At(6), 0);

    // The table is rebuilt every pass: once the chara in view leaves it, the other sleeps.
    MoveTo(seen, kOutOfView);
    Scene().UpdateCharaActivation();
    EXPECT_EQ(seen.m_bAwake, 0);
    EXPECT_EQ(before.m_bAwake, 0);
}

TEST_F(CharaActivation, KeepAwakeCharasStayAwakeOutOfViewOnceWoken)
{
    cStageChara& kept = Add(kInView, -1, 1);
    cStageChara& plain = Add(kInView, -1, 0);
    cStageChara& never = Add(kOutOfView, -1, 1);
    Scene().UpdateCharaActivation();
    MoveTo(kept, kOutOfView);
    MoveTo(plain, kOutOfView);
    Scene().UpdateCharaActivation();
    EXPECT_EQ(kept.m_bAwake, 1);
    EXPECT_EQ(plain.m_bAwake, 0);
    EXPECT_EQ(never.m_bAwake, 0);
}

TEST_F(CharaActivation, WalkingCharasStayAwakeWhileRisingOrFallingAfterWaking)
{
    Scene().PlaceChara(0, 0, CharaTemplate(), nullptr);
    cStageChara& walker = Scene().m_Charas.back();
    walker.m_bFalling = 0;
    MoveTo(walker, kOutOfView);
    Scene().UpdateCharaActivation();
    EXPECT_EQ(walker.m_bAwake, 0);
    walker.m_bJumpRise = 1;     // a jump wakes it even before it was ever seen
    Scene().UpdateCharaActivation();
    EXPECT_EQ(walker.m_bAwake, 1);
    walker.m_bJumpRise = 0;
    walker.m_bFalling = 1;      // and, woken once, a fall keeps it awake
    Scene().UpdateCharaActivation();
    EXPECT_EQ(walker.m_bAwake, 1);
    walker.m_bFalling = 0;
    Scene().UpdateCharaActivation();
    EXPECT_EQ(walker.m_bAwake, 0);
}

TEST_F(CharaActivation, AWakeSwitchBeyondTheTableGoesThroughTheCheckedAccess)
{
    cStageChara& seen = Add(kInView, 75);
    cStageChara& sharer = Add(kOutOfView, 75);
    Scene().UpdateCharaActivation();
    EXPECT_EQ(Scene().m_ActivityTable.size(), 60u);
    EXPECT_EQ(Scene().m_ActivityTable.At(0), 1);   // the checked access's element
    EXPECT_EQ(seen.m_bAwake, 1);
    EXPECT_EQ(sharer.m_bAwake, 1);
}

TEST_F(CharaActivation, CheckOnceKeepsAnObjectPresentOnceItsConditionsHeldAndOnlyThen)
{
    for (int checkOnce : {0, 1}) {
        Scene().m_Charas.clear();
        Scene().m_Items.clear();
        const CARRIERS c = AddCarriers(VariableIs(KIND_STAGE_VARIABLE, 0, 1), checkOnce);
        Scene().m_StageVars.At(0) = 0;
        Scene().UpdateActivation();
        EXPECT_EQ(c.lpChara->m_bActive, 0) << checkOnce;
        EXPECT_EQ(c.lpChara->m_bAwake, 0) << checkOnce;
        EXPECT_EQ(c.lpItem->m_bActive, 0) << checkOnce;
        EXPECT_EQ(BlockPresent(c), 0) << "an absent block is passable; check-once " << checkOnce;

        // Holding once sets every latch, with or without check-once.
        Scene().m_StageVars.At(0) = 1;
        Scene().UpdateActivation();
        EXPECT_EQ(c.lpChara->m_bActive, 1) << checkOnce;
        EXPECT_EQ(c.lpChara->m_bOnScreen, 1) << checkOnce;
        EXPECT_EQ(c.lpItem->m_bActive, 1) << checkOnce;
        EXPECT_EQ(c.lpItem->m_bOnScreen, 1) << checkOnce;
        EXPECT_EQ(BlockPresent(c), 1) << checkOnce;
        EXPECT_EQ(c.lpChara->m_byAppeared, 1) << checkOnce;
        EXPECT_EQ(c.lpItem->m_byAppeared, 1) << checkOnce;
        EXPECT_EQ(c.lpCell->m_byOwn, 1) << checkOnce;

        // Once they stop holding, only check-once keeps the objects.
        Scene().m_StageVars.At(0) = 0;
        Scene().UpdateActivation();
        EXPECT_EQ(c.lpChara->m_bActive, checkOnce);
        EXPECT_EQ(c.lpChara->m_bOnScreen, checkOnce);
        EXPECT_EQ(c.lpItem->m_bActive, checkOnce);
        EXPECT_EQ(c.lpItem->m_bOnScreen, checkOnce);
        EXPECT_EQ(BlockPresent(c), checkOnce);
        EXPECT_EQ(c.lpChara->m_byAppeared, 1) << "never cleared; check-once " << checkOnce;
        EXPECT_EQ(c.lpCell->m_byOwn, 1) << checkOnce;
    }
}

TEST_F(CharaActivation, CharaConditionsTestTheCharaWhileBlockAndItemConditionsTestPlayerOne)
{
    const CARRIERS c = AddCarriers(VariableIs(KIND_CHARA_VARIABLE, 0, 1), 0);
    m_Player.m_Vars.assign(c.lpChara->m_Vars.size(), 0);
    c.lpChara->m_Vars.At(0) = 1;
    Scene().UpdateActivation();
    EXPECT_EQ(c.lpChara->m_bActive, 1);
    EXPECT_EQ(c.lpItem->m_bActive, 0);
    EXPECT_EQ(BlockPresent(c), 0);

    c.lpChara->m_Vars.At(0) = 0;
    m_Player.m_Vars.At(0) = 1;
    Scene().UpdateActivation();
    EXPECT_EQ(c.lpChara->m_bActive, 0);
    EXPECT_EQ(c.lpItem->m_bActive, 1);
    EXPECT_EQ(BlockPresent(c), 1);
}

TEST_F(CharaActivation, PlayerOneAndShotsAreAlwaysActiveAndObjectsTestTheirView)
{
    m_Player.m_bActive = m_Player.m_bOnScreen = m_Player.m_nActivationPass = 0;
    MoveTo(m_Player, kOutOfView);
    cShot& seen = Scene().m_ShotLists.m_Shots.emplace_back();
    MoveTo(seen, kInView);
    seen.m_dY = 400;
    seen.m_dBottom = 410;
    cShot& away = Scene().m_ShotLists.m_Shots.emplace_back(seen);
    MoveTo(away, kOutOfView);
    Scene().PlaceItem(0, 0, ItemTemplate());
    cItem& item = Scene().m_Items.back();
    MoveTo(item, kOutOfView);
    Scene().UpdateActivation();
    EXPECT_EQ(m_Player.m_bActive, 1);
    EXPECT_EQ(m_Player.m_bOnScreen, 1) << "player 1 counts as on screen wherever it is";
    EXPECT_EQ(m_Player.m_nActivationPass, 1);
    EXPECT_EQ(seen.m_bActive, 1);
    EXPECT_EQ(seen.m_bOnScreen, 1);
    EXPECT_EQ(away.m_bActive, 1);
    EXPECT_EQ(away.m_bOnScreen, 0);
    EXPECT_EQ(item.m_bActive, 1);
    EXPECT_EQ(item.m_bOnScreen, 0);
}

TEST_F(CharaActivation, ADrawOutsideThePlayFrameLeavesTheGeneratorAndTheLatchesAsTheyWere)
{
    const CARRIERS c = AddCarriers(StageVariableAtLeastRandom(), 1);
    Scene().m_StageVars.At(0) = 9;
    srand(12345);
    const unsigned int seed = plat::RandomState();
    {
        cDrawSandbox sandbox;
        EXPECT_EQ(Scene().CheckBlockConditions(*c.lpCell), 1);
        EXPECT_EQ(Scene().CheckCharaConditions(*c.lpChara), 1);
        EXPECT_EQ(Scene().CheckItemConditions(*c.lpItem), 1);
        EXPECT_NE(plat::RandomState(), seed) << "the tests drew their random operands";
    }
    EXPECT_EQ(plat::RandomState(), seed);
    EXPECT_EQ(c.lpCell->m_byOwn, 0);
    EXPECT_EQ(c.lpChara->m_byAppeared, 0);
    EXPECT_EQ(c.lpItem->m_byAppeared, 0);

    // The READY, pause and modal-loop draws go through the sandbox.
    Scene().m_nState = PLAYSTATE_READY;
    Scene().Draw(0, 1, 0, 1);
    EXPECT_EQ(plat::RandomState(), seed);
    EXPECT_EQ(c.lpCell->m_byOwn, 0);

    // The play frame's own test draws and latches.
    EXPECT_EQ(Scene().CheckBlockConditions(*c.lpCell), 1);
    EXPECT_NE(plat::RandomState(), seed);
    EXPECT_EQ(c.lpCell->m_byOwn, 1);
}

TEST_F(CharaActivation, BeingDrawnByThePlayFrameWhileItsConditionsHoldKeepsACheckOnceBlockForGood)
{
    const CARRIERS c = AddCarriers(VariableIs(KIND_STAGE_VARIABLE, 0, 1), 1);
    Scene().m_nState = PLAYSTATE_PLAY;
    Scene().m_StageVars.At(0) = 1;
    Scene().Draw(0, 1, 0, 1);
    EXPECT_EQ(c.lpCell->m_byOwn, 0) << "a draw outside the play frame sets no latch";
    Scene().Draw(1, 0, 1, 1);
    EXPECT_EQ(c.lpCell->m_byOwn, 1);
    Scene().m_StageVars.At(0) = 0;
    EXPECT_EQ(BlockPresent(c), 1);
}

const cBlockData* s_lpDrawnBlock = nullptr;
void RecordBlockDrawn(cBlockData& block, DDSURFACEDATA*, int, int) { s_lpDrawnBlock = &block; }

TEST_F(CharaActivation, ACheckOnceBlockThatAppearedStaysDrawnByTheDrawsOutsideThePlayFrame)
{
    const CARRIERS c = AddCarriers(VariableIs(KIND_STAGE_VARIABLE, 0, 1), 1);
    c.lpCell->m_nImageNumber = 1;
    Scene().m_nState = PLAYSTATE_PLAY;
    Scene().m_StageVars.At(0) = 1;
    Scene().Draw(1, 0, 1, 1);
    ASSERT_EQ(c.lpCell->m_byOwn, 1);
    Scene().m_StageVars.At(0) = 0;
    Scene().m_nState = PLAYSTATE_READY;
    s_lpDrawnBlock = nullptr;
    const BLOCKPICTURE previous = SetBlockPicture(RecordBlockDrawn);
    Scene().Draw(0, 1, 0, 1);
    SetBlockPicture(previous);
    EXPECT_EQ(s_lpDrawnBlock, static_cast<const cBlockData*>(c.lpCell)) << "its latch holds in the READY draw too";
}

// How many draws of the generator lead from one state to another (-1: more than 20).
int ActivationDrawsBetween(unsigned int before, unsigned int after)
{
    for (int draws = 0; draws <= 20; ++draws, before = before * 214013u + 2531011u)
        if (before == after) return draws;
    return -1;
}

TEST_F(CharaActivation, TheBlockDrawTestsAHiddenBlocksConditionsBeforeItsHiddenByte)
{
    // A hidden check-once block whose conditions hold: the play frame's draw takes the random
    // operand and latches the block, and still draws nothing.
    const CARRIERS c = AddCarriers(StageVariableAtLeastRandom(), 1);
    c.lpCell->m_bHidden = 1;
    Scene().m_StageVars.At(0) = 9;
    Scene().m_nState = PLAYSTATE_PLAY;
    srand(12345);
    const unsigned int before = plat::RandomState();
    s_lpDrawnBlock = nullptr;
    const BLOCKPICTURE previous = SetBlockPicture(RecordBlockDrawn);
    Scene().DrawBlocks(&g_BackBuffer, 0);
    SetBlockPicture(previous);
    EXPECT_EQ(ActivationDrawsBetween(before, plat::RandomState()), 1);
    EXPECT_EQ(c.lpCell->m_byOwn, 1);
    EXPECT_EQ(s_lpDrawnBlock, nullptr);
}

TEST_F(CharaActivation, TheInsideTestAsksAllFourCornersAndThenTheCellTheyChose)
{
    // Four solid cells under the chara, each testing a random operand whenever it is asked.
    Scene().m_StageVars.At(0) = 9;
    for (int column : {14, 15}) {
        for (int row : {12, 13}) {
            cBlockCell& cell = CellAt(column, row);
            static_cast<cBlockData&>(cell) = SolidBlock();
            cell.m_Conditions.assign(1, StageVariableAtLeastRandom());
        }
    }
    Scene().PlaceChara(0, 0, CharaTemplate(), nullptr);
    cStageChara& chara = Scene().m_Charas.back();
    chara.m_BlockSpan.left = 14;
    chara.m_BlockSpan.right = 15;
    chara.m_BlockSpan.top = 12;
    chara.m_BlockSpan.bottom = 13;
    srand(12345);
    const unsigned int before = plat::RandomState();
    EXPECT_EQ(Scene().IsInSolid(chara), 1);
    EXPECT_EQ(ActivationDrawsBetween(before, plat::RandomState()), 5);
}

TEST(BlockConditionTest, BlockRecordsTestTheirConditionsOnlyWhileAStageSceneLives)
{
    cBlockData block;
    block.m_nImageNumber = 1;
    block.m_nHitMode = 1;
    cConditionData condition;
    condition.m_nKind = 2;   // stage variable 0 is 1: it is 0
    condition.m_nOperand = 1;
    block.m_Conditions.assign(1, condition);
    {
        cChara player;
        auto scene = std::make_unique<cPlayScene>();
        scene->m_lpPlayerOne = &player;
        scene->m_StageVars.assign(kStageVars, 0);
        g_lpPlayScene = scene.get();
        EXPECT_EQ(block.GetHitMode(0), 0);
        g_lpPlayScene = nullptr;
    }
    EXPECT_EQ(block.GetHitMode(0), 1) << "without a stage, conditions count as holding";
}

}  // namespace
