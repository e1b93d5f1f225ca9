#include <gtest/gtest.h>

#include <functional>

#include "data/role_accessors.h"
#include "flow/media_commands.h"
#include "flow/running_flow.h"
#include "objects/database_working_tables.h"
#include "objects/item_actions.h"
#include "tests/flow/flow_fixture.h"
#include "tests/support/restore.h"

namespace {

// A command of `kind` with its first parameters set.
cCommandData MediaCommand(int kind, std::initializer_list<int> params)
{
    cCommandData command = FlowCommand(kind);
    std::size_t i = 0;
    for (int value : params) command.m_Params.At(static_cast<int>(i++)) = value;
    return command;
}

// A stage chara (kind 1) aiming at player 1, on the one flow stage.
class MediaCommandsTest : public ::testing::Test {
protected:
    MediaCommandsTest()
    {
        m_Hero.m_Def.Reset();
        m_Chara.m_lpTarget = &m_Hero;
    }

    FlowStageFixture m_Stage;
    cHero& m_Hero{m_Stage.AddPlayerOne()};
    cChara& m_Chara{m_Stage.Chara()};
};

}  // namespace

TEST(MediaCommands, TheScreenColourCommandSetsTheStagesScreenColourFromItsEightValues)
{
    FlowStageFixture stage;
    cCommandData command = FlowCommand(COMMAND_SCREEN_COLOR);
    command.m_Params.assign({200, 100, 50, 40, 0, 3, 1, 2});
    stage.SetFlows({FlowOf(TRIGGER_NONE, {command})});
    cRunningFlow& running = stage.Chara().m_RunningFlows[0];
    running.Start(stage.Chara());
    const bool finished = running.Step(stage.Chara());
    const cScreenColor& colour = stage.Scene().m_ScreenColor;
    EXPECT_EQ(colour.m_bActive, 1);
    EXPECT_EQ(colour.m_bStarted, 1);
    EXPECT_EQ((std::vector<int>{colour.m_byRed, colour.m_byGreen, colour.m_byBlue}), (std::vector<int>{200, 100, 50}));
    EXPECT_EQ(colour.m_nStrength, 40);
    EXPECT_EQ(colour.m_nFrames, 18) << "tenths of a second at 60 frames";
    EXPECT_EQ(colour.m_nMode, 1);
    EXPECT_EQ(colour.m_nRepeats, 2);
    EXPECT_TRUE(finished) << "the command ran in its one step and the flow went on to its end";
}

TEST_F(MediaCommandsTest, VanishingEndsTheHerosHpOrAsksForAnotherCharasRemoval)
{
    struct Case {
        const char* what;
        int subject;          // 0 the running chara, 1 its target
        bool runnerIsHero;
        int heroHp, removeRequest, statusChanged;
    } cases[] = {
        {"a chara on itself", 0, false, 10, 1, 0},
        {"a chara on its target, the hero", 1, false, 0, 0, 1},
        {"the hero on itself", 0, true, 0, 0, 0},
        {"the hero on its target, a chara", 1, true, 10, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        m_Hero.m_nHp = 10;
        m_Chara.m_bRemoveRequest = 0;
        m_Stage.Scene().m_bStatusChanged = 0;
        m_Hero.m_lpTarget = &m_Chara;
        cChara& runner = c.runnerIsHero ? static_cast<cChara&>(m_Hero) : m_Chara;
        cCommandData command = MediaCommand(COMMAND_STATUS2, {c.subject, 0, 55});
        ExecCmdStatusOperation2(runner, command);
        EXPECT_EQ(m_Hero.m_nHp, c.heroHp);
        EXPECT_EQ(m_Chara.m_bRemoveRequest, c.removeRequest);
        EXPECT_EQ(m_Stage.Scene().m_bStatusChanged, c.statusChanged);
        m_Hero.m_lpTarget = nullptr;
    }
}

TEST_F(MediaCommandsTest, SwitchesOfTheDefinitionKeepTheValuesLowByte)
{
    struct Case {
        const char* what;
        int selector;
        std::function<int(const cCharaData&)> read;
    } cases[] = {
        {"invisible", 1, CharaInvisible},
        {"fixed facing", 2, CharaFixedFacing},
        {"invincibility", 4, CharaInvincibility},
        {"scroll synchronisation", 6, CharaScrollRelative},
    };
    for (const Case& c : cases) {
        for (int value : {0x102, 0, -1}) {
            SCOPED_TRACE(std::string(c.what) + " " + std::to_string(value));
            cCommandData command = MediaCommand(COMMAND_STATUS2, {0, c.selector, value});
            ExecCmdStatusOperation2(m_Chara, command);
            EXPECT_EQ(c.read(m_Chara.m_Def), value & 0xFF);
        }
    }
    // The object's own flag takes the byte unsigned as well.
    cCommandData sync = MediaCommand(COMMAND_STATUS2, {0, 6, -1});
    ExecCmdStatusOperation2(m_Chara, sync);
    EXPECT_EQ(m_Chara.m_bScrollRelative, 255);
}

TEST_F(MediaCommandsTest, FlyingChangesOnlyTheHero)
{
    cCommandData command = MediaCommand(COMMAND_STATUS2, {0, 3, 1});
    ExecCmdStatusOperation2(m_Chara, command);
    EXPECT_EQ(CharaMoveType(m_Chara.m_Def), 0) << "a stage chara is left as it is";
    EXPECT_EQ(m_Chara.m_bFlying, 0);
    ExecCmdStatusOperation2(m_Hero, command);
    EXPECT_EQ(CharaMoveType(m_Hero.m_Def), 1);
    EXPECT_EQ(m_Hero.m_bFlying, 1);
    // Through the target: the chara's target is player 1.
    cCommandData walk = MediaCommand(COMMAND_STATUS2, {1, 3, 0});
    ExecCmdStatusOperation2(m_Chara, walk);
    EXPECT_EQ(m_Hero.m_bFlying, 0);
}

TEST_F(MediaCommandsTest, GrowingScalesTheCharaFromItsStoredScale)
{
    m_Chara.m_nBaseWidth = 20;
    m_Chara.m_nBaseHeight = 30;
    m_Chara.m_nWidth = 20;
    m_Chara.m_nHeight = 30;
    SetCharaStoredScale(m_Chara.m_Def, 1);
    cCommandData command = MediaCommand(COMMAND_STATUS2, {0, 5, 3});
    ExecCmdStatusOperation2(m_Chara, command);
    EXPECT_EQ(CharaStoredScale(m_Chara.m_Def), 3);
    EXPECT_EQ(m_Chara.m_nWidth, 60);
    EXPECT_EQ(m_Chara.m_nHeight, 90);
    // The hero's box overlays follow its new size.
    m_Hero.m_nBaseWidth = 16;
    m_Hero.m_nBaseHeight = 16;
    ExecCmdStatusOperation2(m_Hero, command);
    ASSERT_FALSE(m_Hero.m_Overlays.empty());
    bool boundsShown = false;
    for (const HEROOVERLAY& overlay : m_Hero.m_Overlays) {
        if (overlay.nKind != 0) continue;
        boundsShown = true;
        EXPECT_EQ(overlay.nWidth, 48);
        EXPECT_EQ(overlay.nHeight, 48);
    }
    EXPECT_TRUE(boundsShown);
}

TEST_F(MediaCommandsTest, TheSystemSubjectSwitchesTheStagesAutoScroll)
{
    g_StageData.m_nAutoScrollSpeedX = 10;
    g_StageData.m_nAutoScrollSpeedY = 20;
    cCommandData horizontal = MediaCommand(COMMAND_STATUS2, {2, 0, 1});
    ExecCmdStatusOperation2(m_Chara, horizontal);
    EXPECT_EQ(g_StageData.m_bAutoScrollX, 1);
    EXPECT_EQ(m_Stage.Scene().m_ScrollX.m_bAuto, 1);
    EXPECT_EQ(m_Stage.Scene().m_ScrollY.m_bAuto, 0);
    cCommandData vertical = MediaCommand(COMMAND_STATUS2, {2, 1, 1});
    ExecCmdStatusOperation2(m_Chara, vertical);
    EXPECT_EQ(g_StageData.m_bAutoScrollY, 1);
    EXPECT_EQ(m_Stage.Scene().m_ScrollY.m_bAuto, 1);
    cCommandData off = MediaCommand(COMMAND_STATUS2, {2, 0, 0});
    ExecCmdStatusOperation2(m_Chara, off);
    EXPECT_EQ(m_Stage.Scene().m_ScrollX.m_bAuto, 0);
}

TEST_F(MediaCommandsTest, AMissingTargetOrAnUnknownSelectorChangesNothing)
{
    m_Chara.m_lpTarget = nullptr;
    const cCharaData before = m_Chara.m_Def;
    for (const auto& params : {std::vector<int>{1, 0, 0}, std::vector<int>{1, 1, 1}, std::vector<int>{0, 7, 1},
                               std::vector<int>{0, -1, 1}, std::vector<int>{2, 2, 1}}) {
        cCommandData command = FlowCommand(COMMAND_STATUS2);
        command.m_Params.assign(params.begin(), params.end());
        ExecCmdStatusOperation2(m_Chara, command);
    }
    EXPECT_EQ(m_Chara.m_bRemoveRequest, 0);
    EXPECT_EQ(CharaInvisible(m_Chara.m_Def), CharaInvisible(before));
    EXPECT_EQ(m_Stage.Scene().m_bStatusChanged, 0);
    EXPECT_EQ(g_StageData.m_bAutoScrollX + g_StageData.m_bAutoScrollY, 0);
}

TEST_F(MediaCommandsTest, TheGraphicChangeCutsEachValueToItsSignedWidth)
{
    cCommandData command = MediaCommand(COMMAND_CHANGE_GRAPHIC, {0x1FF, 0x18000, 0x2FFFF});
    ExecCmdChangeGraphic(m_Chara, command);
    EXPECT_EQ(m_Chara.m_nImageExtra, -1) << "the kind's low byte, signed";
    EXPECT_EQ(static_cast<std::int8_t>(CharaImageKind(m_Chara.m_Def)), -1);
    EXPECT_EQ(m_Chara.m_nImage, -32768) << "the number's low 16 bits, signed";
    EXPECT_EQ(CharaImageNumber(m_Chara.m_Def), -32768);
    EXPECT_EQ(CharaBaseImage(m_Chara.m_Def), -1);

    cCommandData plain = MediaCommand(COMMAND_CHANGE_GRAPHIC, {4, 7, 2});
    ExecCmdChangeGraphic(m_Chara, plain);
    EXPECT_EQ((std::vector<int>{m_Chara.m_nImageExtra, CharaImageKind(m_Chara.m_Def), m_Chara.m_nImage,
                                CharaImageNumber(m_Chara.m_Def), CharaBaseImage(m_Chara.m_Def)}),
              (std::vector<int>{4, 4, 7, 7, 2}));
}

TEST_F(MediaCommandsTest, TheAnimeSetChangeTakesTheLow16BitsAndSkipsTheCurrentSet)
{
    g_Database.m_AnimeSets.assign(2, cAnimeSetData{});
    g_Database.m_AnimeSets[1].m_Slots.resize(2);
    cCommandData command = MediaCommand(COMMAND_CHANGE_ANIMESET, {0x10001});
    ExecCmdChangeAnimeSet(m_Chara, command);
    EXPECT_EQ(CharaAnimeSet(m_Chara.m_Def), 1);
    EXPECT_EQ(m_Chara.m_Animator.m_Patterns.size(), 2u) << "the set's two slots";
    m_Chara.m_Animator.m_nTick = 5;
    ExecCmdChangeAnimeSet(m_Chara, command);
    EXPECT_EQ(m_Chara.m_Animator.m_nTick, 5) << "the current set is not loaded again";
}

TEST_F(MediaCommandsTest, AnAnimeRunsAtTheFrontForTheFlowThatStartedIt)
{
    qbtest::cRestore<cSafeVector<cSafeVector<ANIMEFRAME>>> patterns{g_AnimePatterns};
    g_AnimePatterns.assign(3, cSafeVector<ANIMEFRAME>{{1, 6, 0}, {kAnimeEnd, 0, 0}});
    g_AnimePatterns[2] = {{7, 6, 0}, {8, 6, 0}, {kAnimeEnd, 0, 0}};
    cCharaAnimation older;
    older.nAnime = 1;
    older.nOwner = 42;
    m_Chara.m_Animations.push_back(older);

    m_Stage.SetFlows({FlowOf(TRIGGER_NONE, {MediaCommand(COMMAND_ANIME, {2})})});
    cRunningFlow& running = m_Chara.m_RunningFlows[0];
    running.Start(m_Chara);
    running.Step(m_Chara);

    ASSERT_EQ(m_Chara.m_Animations.size(), 2u);
    const cCharaAnimation& started = m_Chara.m_Animations.front();
    EXPECT_EQ(started.nOwner, running.m_nSerial);
    EXPECT_EQ((std::vector<int>{started.bScheduled, started.nPlay, started.nCommandFrames, started.bStopped}),
              (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(started.bBegun, 1) << "started at once with force";
    ASSERT_EQ(started.animator.m_Patterns.size(), 1u);
    EXPECT_EQ(started.animator.m_Patterns[0][0].frame, 7) << "the anime's own pattern";
    EXPECT_EQ(m_Chara.CurrentFrame(1), 7) << "drawn ahead of the one started before it";
    m_Chara.StopAnimation(running.m_nSerial);
    EXPECT_EQ(m_Chara.m_Animations.size(), 1u) << "its flow's stop takes it away";
}

TEST_F(MediaCommandsTest, AnAnimeStartedOutsideTheFlowsBelongsToNoFlow)
{
    qbtest::cRestore<cSafeVector<cSafeVector<ANIMEFRAME>>> patterns{g_AnimePatterns};
    g_AnimePatterns.assign(1, cSafeVector<ANIMEFRAME>{{3, 6, 0}, {kAnimeEnd, 0, 0}});
    m_Stage.Scene().m_lpCurFlow = nullptr;
    cCommandData action = MediaCommand(COMMAND_ANIME, {0});
    action.m_nKind = static_cast<std::int8_t>(COMMAND_ANIME - kItemActionCommandOffset);
    RunItemAction(m_Hero, action);
    ASSERT_EQ(m_Hero.m_Animations.size(), 1u);
    EXPECT_EQ(m_Hero.m_Animations.front().nOwner, -1);
    // No flow's serial is -1: stopping the animations of the hero's flows leaves it playing.
    for (int serial = 0; serial < 4; ++serial) m_Hero.StopAnimation(serial);
    EXPECT_EQ(m_Hero.m_Animations.size(), 1u);
}

TEST_F(MediaCommandsTest, TheBackgroundCommandShowsHidesOrTogglesTheNumberedBackground)
{
    struct Case {
        const char* what;
        int number, action;
        std::vector<int> shown;
    } cases[] = {
        {"show the second", 2, 0, {1, 1}},
        {"hide the first", 1, 1, {0, 0}},
        {"toggle the first", 1, 2, {0, 0}},
        {"toggle the second", 2, 2, {1, 1}},
        {"number 0 names none", 0, 2, {1, 0}},
        {"a negative number names none", -1, 2, {1, 0}},
        {"a number past the list names none", 3, 2, {1, 0}},
        {"an unknown action does nothing", 1, 3, {1, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        g_StageData.m_Backgrounds.assign(2, cBackgroundData{});
        g_StageData.m_Backgrounds[1].m_bShow = 0;
        cCommandData command = MediaCommand(COMMAND_BACKGROUND, {c.number, c.action});
        ExecCmdChangeBackground(m_Chara, command);
        EXPECT_EQ((std::vector<int>{g_StageData.m_Backgrounds[0].m_bShow, g_StageData.m_Backgrounds[1].m_bShow}),
                  c.shown);
    }
    // Toggling twice restores the switch.
    cCommandData toggle = MediaCommand(COMMAND_BACKGROUND, {2, 2});
    ExecCmdChangeBackground(m_Chara, toggle);
    ExecCmdChangeBackground(m_Chara, toggle);
    EXPECT_EQ(g_StageData.m_Backgrounds[1].m_bShow, 0);
}

TEST_F(MediaCommandsTest, TheSoundCommandPlaysTheLow16BitsUnlessItsCharaIsOffScreen)
{
    struct Case {
        const char* what;
        int onScreenOnly, onScreen, number;
        std::vector<int> played;   // sound-table entries
    } cases[] = {
        {"on screen", 1, 1, 5, {21}},
        {"off screen, on-screen only", 1, 0, 5, {}},
        {"off screen, anywhere", 0, 0, 5, {21}},
        {"the low 16 bits", 0, 1, 0x10003, {19}},
        {"number 0 plays nothing", 0, 1, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        qbtest::cRequestLog log;
        cCommandData command = MediaCommand(COMMAND_SOUND, {c.number});
        command.m_bSoundOnScreenOnly = static_cast<BYTE>(c.onScreenOnly);
        m_Chara.m_bOnScreen = c.onScreen;
        ExecCmdPlaySound(command, m_Chara);
        EXPECT_EQ(qbtest::cRequestLog::s_Sounds, c.played);
    }
}

TEST_F(MediaCommandsTest, AFlowsBgmCommandIsAStageBgmRequestWithItsLoopOption)
{
    qbtest::cRequestLog log;
    m_Stage.SetFlows({FlowOf(TRIGGER_NONE, {MediaCommand(COMMAND_BGM, {7, 0}), MediaCommand(COMMAND_BGM, {0, 1})})});
    cRunningFlow& running = m_Chara.m_RunningFlows[0];
    running.Start(m_Chara);
    running.Step(m_Chara);
    EXPECT_EQ(qbtest::cRequestLog::s_StageBgm, (std::vector<int>{7}));
    EXPECT_EQ(g_SaveData.m_bStageBgmLoop, 0);
    EXPECT_EQ(g_SaveData.m_nStageBgm, 7);
    running.Step(m_Chara);
    EXPECT_EQ(qbtest::cRequestLog::s_StageBgm, (std::vector<int>{7, 0})) << "0 stops the music";
    EXPECT_EQ(g_SaveData.m_bStageBgmLoop, 1);
}

TEST_F(MediaCommandsTest, ItemActionsReachTheCommandsWithTheHero)
{
    qbtest::cRequestLog log;
    g_StageData.m_Backgrounds.assign(1, cBackgroundData{});
    m_Hero.m_bOnScreen = 1;
    m_Hero.m_nHp = 10;
    struct Case {
        int command;
        std::initializer_list<int> params;
    } cases[] = {
        {COMMAND_CHANGE_GRAPHIC, {1, 9, 0}},
        {COMMAND_BACKGROUND, {1, 1}},
        {COMMAND_SOUND, {2}},
        {COMMAND_BGM, {3, 1}},
        {COMMAND_STATUS2, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        cCommandData action = MediaCommand(c.command, c.params);
        action.m_nKind = static_cast<std::int8_t>(c.command - kItemActionCommandOffset);
        EXPECT_EQ(RunItemAction(m_Hero, action), 0) << c.command;
    }
    EXPECT_EQ(m_Hero.m_nImage, 9);
    EXPECT_EQ(g_StageData.m_Backgrounds[0].m_bShow, 0);
    EXPECT_EQ(qbtest::cRequestLog::s_Sounds, (std::vector<int>{18}));
    EXPECT_EQ(qbtest::cRequestLog::s_StageBgm, (std::vector<int>{3}));
    EXPECT_EQ(m_Hero.m_nHp, 0);
}
