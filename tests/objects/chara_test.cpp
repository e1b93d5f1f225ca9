#include <gtest/gtest.h>

#include <list>
#include <memory>
#include <vector>

#include "data/command_data.h"
#include "data/database.h"
#include "data/move_part.h"
#include "objects/chara.h"
#include "tests/objects/chara_fixture.h"
#include "tests/objects/stage_speed_fixture.h"
#include "tests/stage/stage_fixture.h"

namespace {

// An animation-set database of `sets` entries; entry n has n + 1 animations of 3 frames of
// 2 tenths each, frame numbers 10 * animation + frame.
void SetUpAnimeSets(int sets)
{
    g_Database.m_AnimeSets.clear();
    for (int n = 0; n < sets; ++n) {
        cAnimeSetData set;
        set.m_Slots.clear();
        for (int a = 0; a <= n; ++a) {
            cAnimeData animation;
            animation.m_Frames.clear();
            for (int f = 0; f < 3; ++f) {
                cAnimeFrameData frame;
                frame.m_nFrame = 10 * a + f;
                frame.m_nDuration = 2;
                animation.m_Frames.push_back(frame);
            }
            set.m_Slots.push_back(animation);
        }
        g_Database.m_AnimeSets.push_back(set);
    }
}

}  // namespace

TEST(CharaSetUp, TemplateGivesHpSpAndTheDerivedValues)
{
    SetUpAnimeSets(1);
    const STAGESPEED speed = SpeedOfLevel(2);
    cCharaData definition = CharaTemplate(120, 30);
    definition.m_bSyncAutoScroll = 1;
    definition.m_nSightRange = 3;
    definition.m_nEaseOfStopping = 40;

    cChara hero;
    cChara chara;
    chara.m_nHp = 7;
    chara.InitFromDefinition(&definition, 100.5, 200, 2, &hero, speed);
    EXPECT_EQ(chara.m_nHp, 120);
    EXPECT_EQ(chara.m_nSp, 30);
    EXPECT_EQ(chara.m_bScrollRelative, 1);
    EXPECT_EQ(chara.m_nSightRadius, 48);
    EXPECT_EQ(chara.m_dDecel, 40 * 0.01 / 4.0);
    EXPECT_EQ(chara.m_sCopyIndex, 2);
    EXPECT_EQ(chara.m_dHomeX, 100.5);
    EXPECT_EQ(chara.m_nWallSide, -1);
    EXPECT_EQ(chara.m_bFalling, 1);
    EXPECT_EQ(chara.m_Vars.size(), 9u);
    EXPECT_EQ(chara.m_GroupStarted.size(), 27u);
    EXPECT_EQ(chara.m_lpTarget, &hero);

    cChara bare;
    bare.m_Def.m_nMaxHp = 55;
    bare.InitFromDefinition(nullptr, 0, 0, 0, &hero, speed);
    EXPECT_EQ(bare.m_nHp, 0);
    EXPECT_EQ(bare.m_nSp, 0);
    EXPECT_EQ(bare.m_Def.m_nMaxHp, 55);   // the definition is not touched

    // Placed twice from one template, each chara is registered once.
    chara.InitFromDefinition(&definition, 0, 0, 0, &hero, speed);
    EXPECT_EQ(hero.m_TargetedBy, (cSafeVector<cChara*>{&chara, &bare}));
}

TEST(CharaAnimeSet, PatternsComeFromTheSetInFramesWithARestart)
{
    SetUpAnimeSets(3);
    cChara chara;
    chara.SetAnimeSet(1, 1);
    ASSERT_EQ(chara.m_Animator.m_Patterns.size(), 2u);
    const cSafeVector<ANIMEFRAME>& pattern = chara.m_Animator.m_Patterns[1];
    ASSERT_EQ(pattern.size(), 4u);
    for (int f = 0; f < 3; ++f) {
        EXPECT_EQ(pattern[f].frame, 10 + f);
        EXPECT_EQ(pattern[f].duration, 12);
        EXPECT_EQ(pattern[f].bLock, 1);
    }
    EXPECT_EQ(pattern[3].frame, kAnimeRestart);
    EXPECT_EQ(pattern[3].duration, 0);
    EXPECT_EQ(pattern[3].bLock, 1);

    // The current set without force changes nothing; with force the patterns are rebuilt.
    chara.m_Animator.m_Patterns.pop_back();
    chara.SetAnimeSet(1, 0);
    EXPECT_EQ(chara.m_Animator.m_Patterns.size(), 1u);
    chara.SetAnimeSet(1, 1);
    EXPECT_EQ(chara.m_Animator.m_Patterns.size(), 2u);

    struct Case { int set; std::size_t patterns; } cases[] = {
        {2, 3u}, {3, 1u}, {0x8000, 1u}, {-1, 1u}, {0, 1u},   // out of range: entry 0
    };
    for (const auto& c : cases) {
        chara.SetAnimeSet(c.set, 1);
        EXPECT_EQ(chara.m_Animator.m_Patterns.size(), c.patterns) << c.set;
        EXPECT_EQ(chara.m_Animator.m_nEntry, 0);
        EXPECT_EQ(chara.m_Def.m_nAnimeSet, static_cast<std::int16_t>(c.set));
    }
}

TEST(CharaPlacement, BlockCellsAndCentres)
{
    qbtest::cViewStage view;
    struct Case { int scale; int column; int row; double x; double y; } cases[] = {
        {1, 0, 0, 320 + 4 + 0.5, 320 + 6},
        {1, 5, 2, 480 + 4 + 0.5, 384 + 6},
        {2, 5, 2, 480 + 4 + 0.5 - 10, 384 + 6 - 32 + 6},   // x by half the base width, y by the drawing
        {0, 5, 2, 480 + 4 + 0.5, 384 + 6},                 // a scale of 0 is 1
    };
    for (const auto& c : cases) {
        cChara chara;
        chara.m_Def.m_nGiantScale = static_cast<BYTE>(c.scale);
        chara.InitCommon(1, 1, 1, 0, 0, nullptr, 0, 4, 6, 20, 32, 32, 32, 1, 0, 0);
        chara.PlaceAtBlock(c.column, c.row);
        EXPECT_EQ(chara.m_dX, c.x) << c.scale << " " << c.column;
        EXPECT_EQ(chara.m_dY, c.y) << c.scale << " " << c.column;
    }

    cChara chara;
    chara.m_ScreenRect.left = 100;
    chara.m_ScreenRect.top = 50;
    chara.m_nDrawWidth = 32;
    chara.m_nDrawHeight = 33;
    chara.m_dX = 1000;
    chara.m_dY = 1000;
    cFlowCommandEntry state;
    state.m_dVX = 3;
    state.m_dVY = 4;
    chara.SnapCenter(320, 240, state);
    EXPECT_EQ(chara.m_dX, 1204);   // right by 320 - (100 + 16)
    EXPECT_EQ(chara.m_dY, 1174);   // down by 240 - (50 + 16)
    EXPECT_EQ(state.m_dVX, 0);
    EXPECT_EQ(state.m_dVY, 0);
}

TEST(CharaPlacement, BodyBoxIsCentredOrStandsOnTheCell)
{
    cChara chara;
    chara.m_nDrawOffsetX = 4;
    chara.m_nDrawOffsetY = 6;
    chara.SetBodyBox(1, 20, 24);
    EXPECT_EQ(chara.m_BodyBox.nOffsetX, 2);     // 16 - 4 - 10
    EXPECT_EQ(chara.m_BodyBox.nOffsetY, 2);     // 32 - 6 - 24
    EXPECT_EQ(chara.m_BodyBox.nBaseWidth, 20);
    chara.SetBodyBox(0, 20, 24);
    EXPECT_EQ(chara.m_BodyBox.nOffsetY, -2);    // 16 - 6 - 12
}

TEST(CharaLanding, LandingAndCeilingSnapToTheBlockLineAndRaiseTheirTriggers)
{
    qbtest::cViewStage view;
    cChara chara;
    chara.m_nSerial = 7;
    // One flow for each block trigger; a trigger raised starts its flow.
    const int triggers[] = {9, 13, 14, 15};
    for (int trigger : triggers) {
        cFlowData flow;
        flow.m_nTrigger = static_cast<std::int8_t>(trigger);
        flow.m_Commands.resize(1);
        flow.m_Commands[0].m_nTime = 10;
        chara.m_Def.m_Flows.push_back(flow);
    }
    chara.LoadFlows(chara.m_Def.m_Flows, 1, 0, 0);
    const auto running = [&chara] {
        std::vector<int> flags;
        for (const cRunningFlow& flow : chara.m_RunningFlows) flags.push_back(flow.m_bRunning);
        return flags;
    };
    chara.m_nKind = 1;
    chara.m_dY = 100;
    chara.m_dBottom = 131.5;      // 131 mod 32 = 3: up by 4, the bottom rests on row 127
    chara.m_dVY = 3;
    chara.m_bFalling = chara.m_bJumpUsed = chara.m_bJumpRise = chara.m_bCeilingStop = 1;
    chara.m_nAirborne = 9;
    chara.m_Knockback.bKnocked = 1;
    chara.LandOnFloor();
    EXPECT_EQ(running(), (std::vector<int>{1, 1, 0, 1}));
    EXPECT_EQ(chara.m_dY, 96);
    EXPECT_EQ(chara.m_dVY, 0);
    EXPECT_EQ(chara.m_bContactDown, 1);
    EXPECT_EQ(chara.m_bFalling + chara.m_bJumpUsed + chara.m_bJumpRise + chara.m_nAirborne, 0);
    EXPECT_EQ(chara.m_bCeilingStop, 0);
    EXPECT_EQ(chara.m_Knockback.bKnocked, 0);

    chara.m_dY = 70.25;           // 70 mod 32 = 6: down by 26
    chara.HitCeiling();
    EXPECT_EQ(chara.m_dY, 96.25);
    EXPECT_EQ(chara.m_bCeilingStop, 1);
    EXPECT_EQ(chara.m_bContactUp, 1);
    EXPECT_EQ(running(), (std::vector<int>{1, 1, 1, 1}));

    cChara hero;
    hero.m_nKind = 0;
    hero.m_bCeilingStop = 1;
    hero.LandOnFloor();
    EXPECT_EQ(hero.m_bCeilingStop, 1);   // the hero's own frame resets it
}

TEST(CharaHpOfTemplate, InvincibilityComesFromTheDefinition)
{
    struct Case { int invincible; int delta; int force; int hp; } cases[] = {
        {0, -50, 0, 50}, {1, -50, 0, 100}, {2, -50, 0, 100}, {1, -50, 1, 50}, {1, 0, 0, 100},
    };
    for (const auto& c : cases) {
        cChara chara;
        chara.m_Def.m_nMaxHp = 100;
        chara.m_Def.m_nInvincible = static_cast<BYTE>(c.invincible);
        chara.m_nHp = 100;
        EXPECT_EQ(chara.AddHp(c.delta, c.force, 1), 0);
        EXPECT_EQ(chara.m_nHp, c.hp) << c.invincible << " " << c.force;
    }
}

TEST(CharaTargets, ACharaInItsListNodeLeavesNoAddressBehind)
{
    const STAGESPEED speed = SpeedOfLevel(1);
    const cCharaData definition = CharaTemplate();
    auto hero = std::make_unique<cChara>();
    std::list<cChara> charas;
    for (int i = 0; i < 3; ++i) {
        charas.emplace_back();
        charas.back().InitFromDefinition(&definition, 0, 0, i, hero.get(), speed);
    }
    EXPECT_EQ(hero->m_TargetedBy.size(), 3u);
    charas.pop_front();
    EXPECT_EQ(hero->m_TargetedBy.size(), 2u);
    charas.clear();
    EXPECT_TRUE(hero->m_TargetedBy.empty());
    hero.reset();

    // The other way round: the hero goes first and the charas lose their target.
    hero = std::make_unique<cChara>();
    charas.emplace_back();
    charas.back().InitFromDefinition(&definition, 0, 0, 0, hero.get(), speed);
    hero.reset();
    EXPECT_EQ(charas.back().m_lpTarget, nullptr);
    charas.clear();
}

TEST(CharaTargets, ACopyAimsAtTheSameTargetAndIsRegisteredThere)
{
    const STAGESPEED speed = SpeedOfLevel(1);
    const cCharaData definition = CharaTemplate();
    cChara hero;
    auto source = std::make_unique<cChara>();
    source->InitFromDefinition(&definition, 0, 0, 0, &hero, speed);
    {
        cChara copy(*source);
        EXPECT_EQ(copy.m_lpTarget, &hero);
        EXPECT_EQ(hero.m_TargetedBy.size(), 2u);
        EXPECT_TRUE(copy.m_TargetedBy.empty());
    }
    EXPECT_EQ(hero.m_TargetedBy, (cSafeVector<cChara*>{source.get()}));
    source.reset();
    EXPECT_TRUE(hero.m_TargetedBy.empty());

    // A copy of the hero has nobody aiming at it yet.
    cChara other;
    other.InitFromDefinition(&definition, 0, 0, 0, &hero, speed);
    cChara heroCopy(hero);
    EXPECT_TRUE(heroCopy.m_TargetedBy.empty());
}

TEST(CharaErase, AnErasedCharaIsNoLongerTheSceneCurrentOne)
{
    qbtest::cViewStage view;
    cCharaData definition = CharaTemplate();
    AddFlow(definition, 1, 2);
    auto chara = std::make_unique<cChara>();
    chara->m_Def = definition;
    MirrorFlows(*chara);
    view.Scene().m_lpCurChara = chara.get();
    view.Scene().m_lpCurFlow = &chara->m_RunningFlows[0];
    view.Scene().m_lpCurEntry = &chara->m_RunningFlows[0].m_Entries[1];
    chara.reset();
    EXPECT_EQ(view.Scene().m_lpCurChara, nullptr);
    EXPECT_EQ(view.Scene().m_lpCurFlow, nullptr);
    EXPECT_EQ(view.Scene().m_lpCurEntry, nullptr);
}

TEST(CharaMoveToward, TargetPointAxesAndArrivalSnap)
{
    cChara chara;
    chara.m_ScreenRect.left = 100;
    chara.m_ScreenRect.top = 200;
    chara.m_nDrawWidth = 32;
    chara.m_nDrawHeight = 32;
    cCommandData command;
    command.m_pMove = std::make_shared<cEdMove>();
    cFlowCommandEntry state;
    state.m_lpCommand = &command;
    state.m_nTargetX = 5;
    state.m_nTargetY = -7;
    struct Case { int noX, noY; double x, y; } cases[] = {
        {0, 0, 121, 209}, {1, 0, -1, 209}, {0, 1, 121, -1}, {1, 1, 121, -1},
    };
    for (const auto& c : cases) {
        command.m_pMove->m_bKeepX = static_cast<BYTE>(c.noX);
        command.m_pMove->m_bKeepY = static_cast<BYTE>(c.noY);
        double x = -1;
        double y = -1;
        chara.MoveTargetPoint(x, y, state);
        EXPECT_EQ(x, c.x) << c.noX << c.noY;
        EXPECT_EQ(y, c.y) << c.noX << c.noY;
    }

    // Three pixels left of the centre at speed 5 with the arrival test: velocity, facing
    // request, then the snap onto the point, which stops the motion.
    state.m_dSpeed = 5;
    chara.m_dX = 1000;
    chara.MoveToward(state, &chara, 113, 216, 0, 0);
    EXPECT_EQ(state.m_dVX, -5);
    EXPECT_EQ(state.m_nFacingRequest, 1);
    EXPECT_EQ(chara.m_dX, 1000);
    chara.MoveToward(state, &chara, 113, 216, 0, 1);
    EXPECT_EQ(chara.m_dX, 997);
    EXPECT_EQ(state.m_dVX, 0);
    chara.MoveTowardX(state, &chara, 200.5, 0, 1);
    EXPECT_EQ(state.m_dVX, 5);
    EXPECT_EQ(state.m_nFacingRequest, 2);
}
