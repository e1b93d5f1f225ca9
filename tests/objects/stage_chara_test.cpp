#include "objects/stage_chara.h"

#include <gtest/gtest.h>

#include <vector>

#include "data/stage_data.h"
#include "tests/stage/stage_fixture.h"
#include "tests/stage/stage_fixture.h"

namespace {

class StageCharaTest : public ::testing::Test {
protected:
    StageCharaTest()
    {
        g_StageData.Reset();
        g_StageData.SetSpeedLevel(10);
    }

    // A walking stage chara of the default stage sizes: bounds 16 x 24 bottom-aligned, so the
    // drawing offsets are (8, 8).
    static cCharaData Template() { return qbtest::StageCharaTemplate(); }

    qbtest::cViewStage m_View;
};

TEST_F(StageCharaTest, ATemplateWithScaleZeroSpawnsAtScaleOneAndNowHoldsOne)
{
    cCharaData definition = Template();
    definition.m_nGiantScale = 0;
    cStageChara chara;
    chara.Spawn(7, definition, nullptr, 0, 0, 0);
    EXPECT_EQ(definition.m_nGiantScale, 1);
    EXPECT_EQ(chara.m_nSerial, 7);
    EXPECT_EQ(chara.m_nWidth, 16);
    EXPECT_EQ(chara.m_nHeight, 24);
    EXPECT_EQ(chara.m_nDrawOffsetX, 8);
    EXPECT_EQ(chara.m_nDrawOffsetY, 8);
}

TEST_F(StageCharaTest, TheBodyBoxFollowsItsModeAndTheShotBoxIsCentred)
{
    struct Case { int mode; HITBOX body; } cases[] = {
        // offset x = 16 - 8 - w / 2; bottom-aligned y = 32 - 8 - h, centred y = 16 - 8 - h / 2
        {0, {{}, 2, 0, 12, 24, 2, 0, 12, 24}},      // the stage's chara box, bottom-aligned
        {1, {{}, -7, -7, 30, 30, -7, -7, 30, 30}},  // the shot box size, centred
        {2, {{}, 0, 0, 16, 16, 0, 0, 16, 16}},      // the other charas' shot box, centred
        {3, {{}, -8, -8, 32, 32, -8, -8, 32, 32}},  // the whole cell, centred
        {4, {}},                                    // no body box
    };
    for (const auto& c : cases) {
        cCharaData definition = Template();
        definition.m_nContactRange = static_cast<std::int8_t>(c.mode);
        cStageChara chara;
        chara.Spawn(0, definition, nullptr, 0, 0, 0);
        const HITBOX& b = chara.m_BodyBox;
        EXPECT_EQ((std::vector<int>{b.nOffsetX, b.nOffsetY, b.nWidth, b.nHeight, b.nBaseOffsetX, b.nBaseOffsetY,
                                    b.nBaseWidth, b.nBaseHeight}),
                  (std::vector<int>{c.body.nOffsetX, c.body.nOffsetY, c.body.nWidth, c.body.nHeight,
                                    c.body.nBaseOffsetX, c.body.nBaseOffsetY, c.body.nBaseWidth,
                                    c.body.nBaseHeight}))
            << "mode " << c.mode;
        EXPECT_EQ(chara.m_ShotBox.nOffsetX, -7);
        EXPECT_EQ(chara.m_ShotBox.nWidth, 30);
    }
}

TEST_F(StageCharaTest, ContactRangeTwoTakesTheStagesBoxOfTheOtherCharasShots)
{
    // Four shot boxes of their own sizes: the third is the one of the charas' shots.
    g_StageData.m_nShotBox1W = 10;
    g_StageData.m_nShotBox1H = 12;
    g_StageData.m_nShotBox2W = 14;
    g_StageData.m_nShotBox2H = 6;
    g_StageData.m_nShotBox3W = 20;
    g_StageData.m_nShotBox3H = 8;
    g_StageData.m_nShotBox4W = 6;
    g_StageData.m_nShotBox4H = 30;
    for (int flying : {0, 2}) {
        cCharaData definition = Template();
        definition.m_nContactRange = 2;
        definition.m_nFlying = static_cast<BYTE>(flying);
        cStageChara chara;
        chara.Spawn(0, definition, nullptr, 0, 0, 0);
        // Drawn 8 dots in on both axes either way: centred, 16 - 8 - 10 and 16 - 8 - 4.
        const HITBOX& b = chara.m_BodyBox;
        EXPECT_EQ((std::vector<int>{b.nOffsetX, b.nOffsetY, b.nWidth, b.nHeight}), (std::vector<int>{-2, 4, 20, 8}))
            << "move type " << flying;
    }
}

TEST_F(StageCharaTest, ABlockCharaIsOneWholeCellWithNoBodyBox)
{
    g_StageData.m_nCharaBodyW = 20;
    cCharaData definition = Template();
    definition.m_bWholeCellBoxes = 1;
    definition.m_nContactRange = 3;
    cStageChara chara;
    chara.Spawn(0, definition, nullptr, 0, 0, 0);
    EXPECT_EQ(chara.m_nWidth, 32);
    EXPECT_EQ(chara.m_nHeight, 32);
    EXPECT_EQ(chara.m_nDrawOffsetX, 0);
    EXPECT_EQ(chara.m_BodyBox.nWidth, 0);
    EXPECT_EQ(chara.m_ShotBox.nOffsetX, 0);
    EXPECT_EQ(chara.m_ShotBox.nWidth, 32);
    EXPECT_EQ(chara.m_ShotBox.nHeight, 32);
}

TEST_F(StageCharaTest, TheActivationModeChoosesTheAxesOfTheViewTest)
{
    // The camera shows x 0..639 and y 0..479; the chara stands right of it, inside vertically.
    struct Case { int mode; int inView; } cases[] = {{0, 0}, {1, 0}, {2, 1}, {3, 1}};
    for (const auto& c : cases) {
        cCharaData definition = Template();
        definition.m_nScreenRange = static_cast<std::int8_t>(c.mode);
        cStageChara chara;
        chara.Spawn(0, definition, nullptr, 0, 0, 0);
        chara.m_dX = 1000;
        chara.m_dRight = 1015;
        chara.m_dY = 100;
        chara.m_dBottom = 123;
        cSafeVector<std::uint8_t> switches(60, 0);
        EXPECT_EQ(chara.CheckActive(switches), c.inView) << c.mode;
    }
}

TEST_F(StageCharaTest, MovesReportTheEdgesAStageCharaStopsAt)
{
    struct Case { int flying; double x; double vx; double y; double vy; int resultX; int resultY; } cases[] = {
        {0, 2, -5, 500, 0, 4, 0},      // stopped at the stage's left side
        {0, 100, 1, 500, 0, 2, 0},     // left of the playfield
        {0, 500, 1, 940, 0, 0, 7},     // a walker below the playfield fell out
        {0, 500, 1, 2, -5, 0, 3},      // a walker at the stage's top
        {1, 500, 1, 2, -5, 0, 8},      // a flyer at the stage's top
        {1, 500, 1, 950, 0, 0, 5},     // a flyer (16 x 16) below the playfield
        {1, 500, 1, 1260, 5, 0, 8},    // a flyer at the stage's bottom
    };
    for (const auto& c : cases) {
        cCharaData definition = Template();
        definition.m_nFlying = static_cast<BYTE>(c.flying);
        cStageChara chara;
        chara.Spawn(0, definition, nullptr, 0, 0, 0);
        chara.m_dX = c.x;
        chara.m_dVX = c.vx;
        chara.m_dY = c.y;
        chara.m_dVY = c.vy;
        EXPECT_EQ(chara.MoveX(), c.resultX) << c.x;
        EXPECT_EQ(chara.MoveY(), c.resultY) << c.y;
    }
}

TEST_F(StageCharaTest, ADownwardKnockBackEndsOnAFloorBlockThatIsSolidForTheChara)
{
    // A deadly block is solid for the other charas (kind 1) and kills any other kind.
    struct Case { int hitMode; int kind; bool stands; } cases[] = {
        {1, 1, true}, {2, 1, true}, {0, 1, false}, {1, 0, true}, {2, 0, false},
    };
    for (const auto& c : cases) {
        cCharaData definition = Template();
        definition.m_nOperator = static_cast<BYTE>(c.kind);
        cStageChara chara;
        chara.Spawn(0, definition, nullptr, 0, 0, 0);
        chara.m_dX = 500;
        chara.m_dY = 500;
        cBlockData floor;
        floor.m_nImageNumber = 1;
        floor.m_nHitMode = static_cast<BYTE>(c.hitMode);
        chara.m_lpFloorCell = &floor;
        chara.m_Knockback.dSpeedY = 2;
        chara.MoveY();
        EXPECT_EQ(chara.m_Knockback.dSpeedY, c.stands ? 0 : 2) << c.hitMode << " kind " << c.kind;
        EXPECT_EQ(chara.m_dVY, c.stands ? 0 : 2) << c.hitMode << " kind " << c.kind;
    }
}

TEST_F(StageCharaTest, StartJumpIsRefusedWhileTheCharaIsBusyInTheAir)
{
    cCommandData command;
    cFlowCommandEntry jump;
    jump.m_lpCommand = &command;
    jump.m_dSpeed = -7.5;
    struct Case { const char* state; int falling, ceiling, knocked, airborne; bool jumps; } cases[] = {
        {"on the ground", 0, 0, 0, 0, true},
        {"falling", 1, 0, 0, 0, false},
        {"stopped by a ceiling", 0, 1, 0, 0, false},
        {"knocked back", 0, 0, 1, 0, false},
        {"one sub-step without floor", 0, 0, 0, 1, false},
    };
    for (const auto& c : cases) {
        cCharaData definition = Template();
        cStageChara chara;
        chara.Spawn(0, definition, nullptr, 0, 0, 0);
        chara.m_bFalling = c.falling;
        chara.m_bCeilingStop = c.ceiling;
        chara.m_Knockback.bKnocked = c.knocked;
        chara.m_nAirborne = c.airborne;
        chara.m_bRiding = 1;
        chara.StartJump(jump);
        EXPECT_EQ(chara.m_dVY, c.jumps ? -7.5 : 0) << c.state;
        EXPECT_EQ(chara.m_bJumpRise, c.jumps ? 1 : 0) << c.state;
        EXPECT_EQ(chara.m_bJumpUsed, c.jumps ? 1 : 0) << c.state;
        EXPECT_EQ(chara.m_bRiding, c.jumps ? 0 : 1) << c.state;
    }
}

TEST_F(StageCharaTest, TheItemIconShowsOnCounts64To96OfEvery96Frames)
{
    cItemData itemDefinition;
    itemDefinition.Reset();
    cItem item;
    item.InitFromDefinition(0, itemDefinition, 1);
    cCharaData definition = Template();
    cStageChara carrier;
    carrier.Spawn(0, definition, &item, 0, 0, 0);
    carrier.m_bOnScreen = 1;
    carrier.m_ScreenRect = INTRECT{100, 200, 131, 231};
    cStageChara empty;
    empty.Spawn(1, definition, nullptr, 0, 0, 0);
    empty.m_bOnScreen = 1;

    std::vector<int> shown;
    for (int frame = 1; frame <= 192; ++frame) {
        int x = 0;
        int y = 0;
        if (carrier.StepMarkIcon(x, y)) {
            shown.push_back(frame);
            EXPECT_EQ(x, 100 + 16 - 8);
            EXPECT_EQ(y, 200 - 16);
        }
        EXPECT_EQ(empty.StepMarkIcon(x, y), 0);
    }
    ASSERT_EQ(shown.size(), 66u);
    EXPECT_EQ(shown.front(), 64);
    EXPECT_EQ(shown[32], 96);
    EXPECT_EQ(shown[33], 64 + 96);
    EXPECT_EQ(shown.back(), 192);
}

}  // namespace
