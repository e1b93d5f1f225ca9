#include <gtest/gtest.h>

#include <vector>

#include "objects/hero.h"
#include "tests/play/block_stage.h"

namespace {

using qbtest::cRequestLog;

// Player 1 standing on block (12, 12), which carries the effect.
struct EffectStand {
    explicit EffectStand(int subSteps) : stage(subSteps), hero(stage.AddPlayerOne())
    {
        cBlockStage::DrawBlocks({"#"}, 12, 12);
        hero.m_lpFloorCell = &cBlockStage::CellAt(12, 12);
        hero.m_lpFloorCell2 = hero.m_lpFloorCell;
        hero.m_lpPrevFloorCell = hero.m_lpFloorCell;
        hero.m_bFalling = 0;
    }
    cBlockCell& Cell() { return cBlockStage::CellAt(12, 12); }

    cBlockStage stage;
    cHero& hero;
};

struct EffectCase {
    const char* name;
    int subSteps;
    int kind, value, hitMode, flying;
    double vx, inertiaX, vy;      // velocity x and inertia x are set afresh before every sub-step
    std::vector<double> vxAfter;  // after each sub-step
    std::vector<double> vyAfter;
    std::vector<double> inertiaAfter;
};

}  // namespace

// Each sub-step starts from the same velocity x, as the hero's update gives it; velocity y
// carries over, so the nudge at the end of an effect shows.
TEST(BlockEffects, ActFromTheirFirstSubStepForOneFrameAsTheTableSays)
{
    const EffectCase cases[] = {
        {"a conveyor right at b = 2 adds 0.5 twice, then starts again", 2, 5, 10, 1, 0, 0, -1, 0,
         {0.5, 0.5, 0.5}, {0, 1, 1}, {0, 0, 0}},
        {"a conveyor right keeps a positive inertia", 1, 5, 10, 1, 0, 0, 2, 0, {1, 1}, {1, 2}, {2, 2}},
        {"a conveyor left at b = 1 takes 1 every sub-step", 1, 4, 10, 1, 0, 1, 2, 0, {0, 0}, {1, 2}, {0, 0}},
        {"a conveyor left at b = 4 takes 0.25", 4, 4, 10, 1, 0, 0, -2, 0, {-0.25, -0.25, -0.25, -0.25, -0.25},
         {0, 0, 0, 1, 1}, {-2, -2, -2, -2, -2}},
        {"a speed block of 50 halves velocity x in every sub-step", 4, 3, 50, 1, 0, 2, 0, 0, {1, 1, 1, 1, 1},
         {0, 0, 0, 1, 1}, {0, 0, 0, 0, 0}},
        {"rising at the end of an effect is not nudged", 2, 3, 200, 1, 0, 1, 0, -3, {2, 2}, {-3, -3}, {0, 0}},
        {"a block whose conditions fail does nothing", 2, 5, 10, 0, 0, 0, -1, 0, {0, 0}, {0, 0}, {-1, -1}},
        {"a flying hero is never affected", 2, 5, 10, 1, 1, 0, -1, 0, {0, 0}, {0, 0}, {-1, -1}},
        {"a kind outside 1 to 5 does nothing", 1, 6, 10, 1, 0, 0, -1, 0, {0, 0}, {0, 0}, {-1, -1}},
        {"a kind byte of 0xFF is -1 and does nothing", 1, 255, 10, 1, 0, 0, -1, 0, {0}, {0}, {-1}},
    };
    for (const EffectCase& c : cases) {
        EffectStand stand(c.subSteps);
        stand.Cell().m_nEffect = static_cast<BYTE>(c.kind);
        stand.Cell().m_nEffectValue = c.value;
        stand.Cell().m_nHitMode = c.hitMode;
        cHero& hero = stand.hero;
        hero.m_bFlying = c.flying;
        hero.m_dVY = c.vy;
        std::vector<double> vx;
        std::vector<double> vy;
        std::vector<double> inertia;
        for (std::size_t step = 0; step < c.vxAfter.size(); ++step) {
            hero.m_dVX = c.vx;
            hero.m_dInertiaX = c.inertiaX;
            EXPECT_EQ(stand.stage.Scene().ApplyBlockEffect(hero), 0) << c.name;
            vx.push_back(hero.m_dVX);
            vy.push_back(hero.m_dVY);
            inertia.push_back(hero.m_dInertiaX);
        }
        EXPECT_EQ(vx, c.vxAfter) << c.name;
        EXPECT_EQ(vy, c.vyAfter) << c.name;
        EXPECT_EQ(inertia, c.inertiaAfter) << c.name;
    }
}

TEST(BlockEffects, ASpringJumpsItsHeightOnceWithItsSound)
{
    for (int subSteps : {1, 2, 4}) {
        EffectStand stand(subSteps);
        stand.Cell().m_nEffect = 1;
        stand.Cell().m_nEffectValue = 0x104;   // the low byte: 4 half-blocks
        cHero& hero = stand.hero;
        cRequestLog requests;
        ASSERT_EQ(stand.stage.Scene().ApplyBlockEffect(hero), 0);
        const STAGESPEED speed = CurrentStageSpeed();
        const double jump = JumpSpeedForHeightHbl(4, 0, speed);
        EXPECT_LT(jump, 0) << subSteps;
        EXPECT_DOUBLE_EQ(hero.m_dVY, jump) << subSteps;
        EXPECT_EQ(hero.m_nJumpHold, StepsToApex(jump, speed)) << subSteps;
        EXPECT_EQ(hero.m_bJumpUsed, 1);
        EXPECT_EQ(hero.m_bJumpRise, 1);
        EXPECT_EQ(hero.m_bJumpReady, 0);
        EXPECT_EQ(cRequestLog::s_Sounds, std::vector<int>{10}) << subSteps;
        // In the air the next sub-step finds no floor.
        hero.m_lpFloorCell = nullptr;
        stand.stage.Scene().ApplyBlockEffect(hero);
        EXPECT_EQ(cRequestLog::s_Sounds.size(), 1u) << subSteps;
    }
}

TEST(BlockEffects, KindTwoSetsTheNoJumpFlagAndEveryOtherStartClearsIt)
{
    struct Case {
        int kind, hitMode, running;
        int noJump;
    } cases[] = {
        {2, 1, 0, 1},
        {3, 1, 0, 0},
        {0, 1, 0, 0},   // a plain block ends it too
        {0, 0, 0, 1},   // a block whose conditions fail starts nothing
        {0, 1, 1, 1},   // while an effect runs, nothing starts
    };
    for (const Case& c : cases) {
        EffectStand stand(2);
        stand.Cell().m_nEffect = static_cast<BYTE>(c.kind);
        stand.Cell().m_nHitMode = c.hitMode;
        stand.hero.m_bNoJump = 1;
        stand.hero.m_nBlockEffectSteps = c.running;
        stand.stage.Scene().ApplyBlockEffect(stand.hero);
        EXPECT_EQ(stand.hero.m_bNoJump, c.noJump) << c.kind << " " << c.hitMode << " " << c.running;
    }
}

namespace {

// An item in the common palette whose pickup plays database sound 3 (request 19).
void PutBlockItem(EffectStand& stand, int picture = 1)
{
    cItemData item;
    item.Reset();
    item.m_nImageNumber = static_cast<std::int16_t>(picture);
    item.m_nSound = 3;
    g_CommonPalette.m_Items.clear();
    g_CommonPalette.m_Items.push_back(item);
    stand.Cell().m_nItemSource = 1;
    stand.Cell().m_nItemIndex = 0;
}

struct BlockItemCase {
    const char* name;
    int subSteps, hitMode, flying, picture;
    int steps;
    int falling;                      // the falling flag through every sub-step
    int newCellAt;                    // the sub-step (from 1) at which the hero steps on another cell
    std::vector<int> appliedAt;       // sub-steps (from 1) in which the item was applied
};

}  // namespace

TEST(BlockItems, AreGivenOnArrivalEverySecondAndOnANewCellAsTheTableSays)
{
    const BlockItemCase cases[] = {
        {"standing still at b = 1 gives it every 60 sub-steps", 1, 1, 0, 1, 125, 0, 0, {1, 61, 121}},
        {"standing still at b = 2 gives it every 120 sub-steps", 2, 1, 0, 1, 245, 0, 0, {1, 121, 241}},
        {"stepping onto another cell gives it in the next sub-step", 1, 1, 0, 1, 30, 0, 10, {1, 11}},
        {"while falling the cool-down does not hold", 1, 1, 0, 1, 3, 1, 0, {1, 2, 3}},
        {"a block whose conditions fail gives nothing", 1, 0, 0, 1, 70, 0, 0, {}},
        {"a flying hero gets nothing", 1, 1, 1, 1, 70, 0, 0, {}},
        {"an item without a picture gives nothing but still cools down", 1, 1, 0, 0, 70, 0, 0, {}},
    };
    for (const BlockItemCase& c : cases) {
        EffectStand stand(c.subSteps);
        stand.Cell().m_nHitMode = c.hitMode;
        PutBlockItem(stand, c.picture);
        cHero& hero = stand.hero;
        hero.m_bFlying = c.flying;
        hero.m_nHp = 10;
        cBlockCell& otherCell = cBlockStage::CellAt(13, 12);
        cRequestLog requests;
        std::vector<int> applied;
        for (int step = 1; step <= c.steps; ++step) {
            hero.m_bFalling = c.falling;
            hero.m_dVY = 0;
            hero.m_lpPrevFloorCell = hero.m_lpFloorCell2;
            if (step == c.newCellAt) hero.m_lpFloorCell2 = &otherCell;
            const std::size_t before = cRequestLog::s_Sounds.size();
            ASSERT_EQ(stand.stage.Scene().ApplyBlockItemEffect(hero), 0) << c.name;
            if (cRequestLog::s_Sounds.size() != before) applied.push_back(step);
            if (step == c.newCellAt) {
                EXPECT_EQ(hero.m_nBlockItemCooldown, 0) << c.name;
                EXPECT_DOUBLE_EQ(hero.m_dVY, 1) << c.name;
            }
        }
        EXPECT_EQ(applied, c.appliedAt) << c.name;
        if (c.picture == 0) {
            EXPECT_GT(hero.m_nBlockItemCooldown, 0) << c.name;
        }
    }
}

TEST(BlockItems, SpawnClearsTheCoolDownAndTheRunningEffect)
{
    // A retry or a replay after earlier play must not inherit a cool-down it never recorded.
    cBlockStage stage;
    cHero hero;
    hero.m_nBlockItemCooldown = 37;
    hero.m_nBlockEffectKind = 5;
    hero.m_dBlockEffectValue = 0.5;
    hero.m_nBlockEffectSteps = 1;
    hero.m_bNoJump = 1;
    cCharaData placement;
    placement.Reset();
    hero.Spawn(1, placement, 0, 0);
    EXPECT_EQ(hero.m_nBlockItemCooldown, 0);
    EXPECT_EQ(hero.m_nBlockEffectKind, 0);
    EXPECT_EQ(hero.m_dBlockEffectValue, 0);
    EXPECT_EQ(hero.m_nBlockEffectSteps, 0);
    EXPECT_EQ(hero.m_bNoJump, 0);
}
