// The clear of a stage: the tally and its extra lives, the places in the rankings, the ranking
// entry, the next part of a numbered series, and what each game mode does after the clear.
#include "play/stage_clear.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "data/option_data.h"
#include "data/ranking_data.h"
#include "data/stage_loader.h"
#include "play/modal_loop.h"
#include "play/stage_clear_seams.h"
#include "play/world_entry.h"
#include "shell/log.h"
#include "graphics/fill.h"
#include "tests/graphics/blit_reference.h"
#include "tests/scenes/front_end_fixture.h"
#include "tests/stage/stage_fixture.h"

namespace {

constexpr int kStageClearSound = 14;
constexpr int kExtraLifeSound = 15;
constexpr int kRankingSound = 16;

// What the clear's loops saw: each extra-life wait (its mode, frames and key wait, and the
// messages the stage held), and the ranking displays.
struct CLEARWAIT {
    int mode, frames, keyWait;
    std::size_t messages;
    int lastKind, lastSerial, lastFrames;   // the last message: its kind, the chara it follows, its frames
    bool operator==(const CLEARWAIT&) const = default;
};
std::vector<CLEARWAIT> s_ClearWaits;
int s_nRankingDisplays = 0;
// The loop lets the extra-life message go when its frames end, as the stage's messages do.
bool s_bWaitLetsGo = false;

void RecordClearWait(cPlayScene& scene)
{
    const WAITSTATE& wait = scene.m_Wait;
    std::list<cMessage>& messages = scene.m_MessageList.m_Messages;
    const cMessage& last = messages.back();
    s_ClearWaits.push_back({wait.nMode, wait.nFrames, wait.bKeyWait, messages.size(), last.m_nKind, last.m_nCharaSerial,
                            last.m_nFramesLeft});
    if (s_bWaitLetsGo) messages.pop_back();
}

void RecordRankingDisplay(cPlayScene&) { ++s_nRankingDisplays; }

void RecordClearLoop(cPlayScene& scene, MODALLOOP loop)
{
    if (loop == MODALLOOP_RANKING) RecordRankingDisplay(scene);
    else RecordClearWait(scene);
}

// The demo game's folder with a numbered series beside its stages: parts 1 and 2 of "Base",
// each with versions 001 and 692 (copies of the demo's first stage). The clear's loops are
// recorded instead of run.
class StageClear : public qbtest::cFrontEndTest {
protected:
    void SetUp() override
    {
        qbtest::cFrontEndTest::SetUp();
        SetModalLoopStandIn(RecordClearLoop);
        s_ClearWaits.clear();
        s_nRankingDisplays = 0;
        s_bWaitLetsGo = false;
        const std::string stage = m_Folder.ReadFile("data/stg4/Meadow.stg4_001");
        for (const char* name : {"Base-1.stg4_001", "Base-1.stg4_692", "Base-2.stg4_001", "Base-2.stg4_692"})
            m_Folder.WriteFile(std::string("data/stg4/") + name, stage);
        plat::FlushPathCache();
        g_StageData.m_ResultFlags.assign(RANKING_KINDS, 1);
        for (cModeResultData& mode : g_SystemData.m_ModeResults) {
            mode.m_bEnabled = 1;
            mode.m_ValueFlags.assign(RANKING_KINDS, 1);
        }
        g_SystemData.m_bExtraLifeByScore = 0;
        g_RankingData.SetDefaults();
        m_Fixture.AddPlayerOne();
        ClearRequests();
    }
    void TearDown() override
    {
        SetModalLoopStandIn(nullptr);
        qbtest::cFrontEndTest::TearDown();
    }

    // The progress of a stage of the series "Base" (part 1), or of a single stage.
    static void PlaySeriesStage(bool series)
    {
        g_SaveData.SetStageFile(series ? "data\\stg4\\Base-1.stg4" : "data\\stg4\\Meadow.stg4");
        g_SaveData.m_nSeriesNumber = 1;
    }
    static int Count(const std::vector<int>& sounds, int sound)
    {
        return static_cast<int>(std::count(sounds.begin(), sounds.end(), sound));
    }
    cPlayScene& Scene() { return m_Fixture.Scene(); }

    qbtest::cStageFixture m_Fixture;
    qbtest::cRestore<cOptionData> m_Options{g_OptionData};
};

TEST_F(StageClear, ExtraLivesComeOneByOneForEachStepTheTotalCrosses)
{
    struct Case { int oldTotal, score, step, byScore, lives; int livesAfter, shown; } cases[] = {
        {0, 1000, 500, 1, 3, 5, 2},          // two steps crossed: two lives, each with its sound
        {400, 100, 500, 1, 3, 4, 1},
        {400, 99, 500, 1, 3, 3, 0},
        {-1000, 2000, 500, 1, 3, 7, 4},       // quotients truncate toward zero: -2 to 2
        {1000, -600, 500, 1, 3, 3, 0},        // a falling total grants nothing
        {0, 1000, 0, 1, 3, 3, 0},             // no step
        {0, 1000, 500, 0, 3, 3, 0},           // switched off
        {0, 1000, 500, 1, 999999, 999999, 0},  // unlimited lives
        {0, 5000, 500, 1, 95, 99, 10},        // held at 99, every crossing still shown
        {0, 999999, 1, 1, 0, 99, 99},         // 999999 crossings: 99 shown, the lives as for all
        {0, 1000, 1, 1, -50, 99, 99},
    };
    for (bool letsGo : {false, true}) {
        s_bWaitLetsGo = letsGo;
        for (const Case& c : cases) {
            g_SystemData.m_bExtraLifeByScore = c.byScore;
            g_SystemData.m_nExtraLifeScore = c.step;
            g_SaveData.m_nResult1 = c.oldTotal;
            g_SaveData.m_nScore = c.score;
            g_SaveData.m_nLives = c.lives;
            cPlayScene& scene = m_Fixture.NewScene();
            // A message already on show, which the tally's own must not take with it.
            scene.m_MessageList.m_Messages.emplace_back();
            const cMessage* shownBefore = &scene.m_MessageList.m_Messages.front();
            ClearRequests();
            s_ClearWaits.clear();
            BeginStageClear(scene);
            EXPECT_EQ(g_SaveData.m_nLives, c.livesAfter) << c.oldTotal << " + " << c.score << " step " << c.step;
            std::vector<int> expected(1, kStageClearSound);
            expected.insert(expected.end(), static_cast<std::size_t>(c.shown), kExtraLifeSound);
            EXPECT_EQ(Sounds(), expected) << c.oldTotal << " + " << c.score << " step " << c.step;
            // Each life waits 30 frames without a key, with its 30-frame icon over player 1 after
            // the message already shown.
            const CLEARWAIT wait{4, 30, 0, 2, kMessageExtraLife, qbtest::cStageFixture::kPlayerOneSerial, 30};
            EXPECT_EQ(s_ClearWaits, std::vector<CLEARWAIT>(static_cast<std::size_t>(c.shown), wait))
                << c.oldTotal << " + " << c.score << " step " << c.step;
            ASSERT_EQ(scene.m_MessageList.m_Messages.size(), 1u) << letsGo;
            EXPECT_EQ(&scene.m_MessageList.m_Messages.front(), shownBefore) << letsGo;
        }
    }
}

TEST_F(StageClear, AClosingProgramStopsTheExtraLivesAfterTheOneShown)
{
    g_SystemData.m_bExtraLifeByScore = 1;
    g_SystemData.m_nExtraLifeScore = 100;
    g_SaveData.m_nScore = 300;
    g_SaveData.m_nLives = 2;
    Scene().m_nQuitRequest.store(1);
    BeginStageClear(Scene());
    EXPECT_EQ(g_SaveData.m_nLives, 3);
    EXPECT_EQ(Count(Sounds(), kExtraLifeSound), 1);
    EXPECT_TRUE(s_ClearWaits.empty()) << "no loop starts while the program closes";
    EXPECT_TRUE(Scene().m_MessageList.m_Messages.empty());
    EXPECT_EQ(TakeCloses(), 1);
}

TEST_F(StageClear, TheTallyAddsTheTimeLeftOnlyUnderATimeLimit)
{
    struct Case { int noLimit; int timeLeftTotal; } cases[] = {{0, 45}, {1, 5}};
    for (const Case& c : cases) {
        g_SaveData.m_nResult1 = 10;
        g_SaveData.m_nResult2 = 5;
        g_SaveData.m_nResult3 = 100;
        g_SaveData.m_nResult4 = g_SaveData.m_nResult5 = 1;
        g_SaveData.m_nScore = 7;
        cPlayScene& scene = m_Fixture.NewScene();
        scene.m_TimeLimit.m_bNoTimeLimit = c.noLimit;
        scene.m_TimeLimit.m_nTimeLeft = 40;
        scene.m_TimeLimit.m_nPlayTime = 250;
        Player.At(0).m_nHp = 12;
        Player.At(0).m_nSp = 3;
        TallyStageResult(scene);
        EXPECT_EQ(g_SaveData.m_nResult1, 17);
        EXPECT_EQ(g_SaveData.m_nResult2, c.timeLeftTotal) << c.noLimit;
        EXPECT_EQ(g_SaveData.m_nResult3, 350);
        EXPECT_EQ(g_SaveData.m_nResult4, 13);
        EXPECT_EQ(g_SaveData.m_nResult5, 4);
    }
}

TEST(ExtraLifeMessage, RemovingItErasesOnlyItsOwnNode)
{
    // before: messages already shown; taken: the loop let the extra-life message go; added:
    // messages placed after it. The others must all stay.
    struct Case { int before; bool taken; int added; } cases[] = {
        {0, false, 0}, {2, false, 0}, {2, false, 1}, {2, true, 0}, {0, true, 0}, {1, true, 2},
    };
    for (const Case& c : cases) {
        std::list<cMessage> messages(static_cast<std::size_t>(c.before));
        const MESSAGENODE node = ShowExtraLifeMessage(messages);
        if (c.taken) messages.pop_back();
        for (int i = 0; i < c.added; ++i) messages.emplace_back();
        std::vector<const cMessage*> others;
        for (const cMessage& m : messages)
            if (reinterpret_cast<MESSAGENODE>(&m) != node) others.push_back(&m);
        RemoveExtraLifeMessage(messages, node);
        std::vector<const cMessage*> after;
        for (const cMessage& m : messages) after.push_back(&m);
        EXPECT_EQ(after, others) << c.before << c.taken << c.added;
    }
}

TEST_F(StageClear, TheNextPartIsTheHighestVersionOfTheNumberedFile)
{
    const std::string longBase = "data\\stg4\\" + std::string(250, 'a') + ".";
    struct Case { const char* key; int series; int next; int part; const char* path; } cases[] = {
        {"data\\stg4\\Base.", 1, 2, 2, "data\\stg4\\Base-2.stg4_692"},
        {"data\\stg4\\Ridge.", 1, 2, 2, "data\\stg4\\Ridge-2.stg4_001"},   // the demo's own series
        {"data\\stg4\\Base.", 1, 2, 3, ""},   // no such part
        {"data\\stg4\\Base.", 0, 2, 2, ""},   // not a series
        {"data\\stg4\\Base.", 1, 0, 2, ""},   // no next stage asked for
        {"", 1, 2, 2, ""},                     // no base at all
        {".", 1, 2, 2, ""},
        {longBase.c_str(), 1, 2, 2, ""},       // a name that would not fit a path
    };
    for (const Case& c : cases) {
        g_SaveData.m_strStageKey = c.key;
        g_SaveData.m_bSeries = c.series;
        Scene().m_StageClear.m_nNextStage = c.next;
        std::string out = "stale";
        EXPECT_EQ(MakeNextStagePath(Scene(), out, c.part), *c.path != 0) << c.key << " " << c.part;
        EXPECT_EQ(out, c.path) << c.key << " " << c.part;
        EXPECT_EQ(IsLastStage(Scene(), c.part), *c.path == 0) << c.key << " " << c.part;
    }
}

TEST_F(StageClear, OnlyTheLastPartOfASeriesRanksAndOnlyInARankingMode)
{
    // next: the part the clear asks for (3 has no file); ranking: the game manager's flag.
    struct Case { int next; int ranking; int testPlay; int editor; bool results; bool ranked; } cases[] = {
        {2, 1, 0, 0, false, false}, {3, 1, 0, 0, true, true}, {0, 1, 0, 0, true, true},
        {0, 0, 0, 0, false, false}, {2, 0, 1, 0, true, true}, {0, 1, 1, 1, true, false},
    };
    qbtest::cRestore<std::atomic<int>> editor(g_bEditorLaunch);
    for (const Case& c : cases) {
        PlaySeriesStage(true);
        g_SaveData.m_nResult1 = 0;
        g_SaveData.m_nScore = 500;
        g_GameManager.m_bRanking = c.ranking;
        g_bTestPlay.store(c.testPlay);
        g_bEditorLaunch.store(c.editor);
        cPlayScene& scene = m_Fixture.NewScene();
        scene.m_StageClear.SizeResults();
        scene.m_StageClear.m_nNextStage = c.next;
        BeginStageClear(scene);
        const cStageClear& clear = scene.m_StageClear;
        EXPECT_EQ(clear.m_bRankingReady, c.ranked ? 1 : 0) << c.next << c.ranking << c.testPlay << c.editor;
        EXPECT_EQ(clear.m_RankPos, (cSafeVector<int>(5, c.ranked ? 0 : -1))) << c.next << c.ranking;
        EXPECT_EQ(clear.m_Results.At(0), c.results ? 500 : 0) << c.next << c.ranking << c.testPlay << c.editor;
    }
}

TEST_F(StageClear, AKindTheModeOrTheStageDoesNotRankKeepsNoPlace)
{
    g_GameManager.m_nPlayMode = PLAYMODE_STORY;
    g_GameManager.m_bRanking = 1;
    PlaySeriesStage(false);
    g_SystemData.m_ModeResults.At(PLAYMODE_STORY).m_ValueFlags = {1, 0, 1, 1, 1};
    g_StageData.m_ResultFlags = {1, 1, 0, 1};   // a short list: kind 4 reads as off
    g_RankingData.Table(RANKING_REMAINING_HP).Insert("top", 50);
    Player.At(0).m_nHp = 20;
    BeginStageClear(Scene());
    EXPECT_EQ(Scene().m_StageClear.m_RankPos, (cSafeVector<int>{0, -1, -1, 1, -1}));
}

TEST_F(StageClear, TheRankingNameIsEnteredOncePerClearAndItsFileWritten)
{
    g_GameManager.m_nPlayMode = PLAYMODE_STORY;
    g_GameManager.m_bRanking = 1;
    g_OptionData.m_nRankingMode = 1;   // the registered name, no dialog
    g_OptionData.m_strName = "abc";
    PlaySeriesStage(false);
    g_SaveData.m_nScore = 900;
    BeginStageClear(Scene());
    ASSERT_EQ(Scene().m_StageClear.m_bRankingReady, 1);
    ClearRequests();
    EnterRankingName(Scene());
    EnterRankingName(Scene());   // a second F3
    EXPECT_EQ(Sounds(), (std::vector<int>{kRankingSound}));
    EXPECT_EQ(s_nRankingDisplays, 1);
    EXPECT_EQ(Scene().m_StageClear.m_bRankingEntered, 1);
    cRankingData saved;
    ASSERT_EQ(saved.LoadForStage(PLAYMODE_STORY, "data\\stg4\\Meadow."), 1);
    const cSafeVector<cRankingEntry>& score = saved.Table(RANKING_SCORE).m_Entries;
    EXPECT_EQ(score.At(0).m_strName, "abc");
    EXPECT_EQ(score.At(0).m_nValue, 900);
    EXPECT_EQ(score.At(1).m_bUsed, 0) << "entered once";
    EXPECT_TRUE(Boxes().empty());

    // The next clear may enter again; without a window the typed name is the player's.
    g_OptionData.m_nRankingMode = 0;
    g_SaveData.m_strPlayerName = "zed";
    cPlayScene& next = m_Fixture.NewScene();
    BeginStageClear(next);
    EnterRankingName(next);
    EXPECT_EQ(next.m_StageClear.m_strRankingName, "zed");
    EXPECT_EQ(g_RankingData.Table(RANKING_SCORE).m_Entries.At(0).m_strName, "zed");
}

TEST_F(StageClear, AFailedSaveOfTheRankingsShowsABoxAndTheEntryStands)
{
    g_GameManager.m_nPlayMode = PLAYMODE_STORY;
    g_GameManager.m_bRanking = 1;
    g_OptionData.m_nRankingMode = 3;
    g_OptionData.m_strName = "abc";
    PlaySeriesStage(false);
    g_SaveData.m_nScore = 900;
    // A folder where the file should be: the save cannot take its place.
    std::filesystem::create_directories(m_Folder.Path() / "user_data/story/Meadow.rkg");
    plat::FlushPathCache();
    BeginStageClear(Scene());
    EnterRankingName(Scene());
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_NE(Boxes()[0].find("Meadow.rkg"), std::string::npos) << Boxes()[0];
    EXPECT_EQ(Scene().m_StageClear.m_bRankingEntered, 1);
    EXPECT_EQ(g_RankingData.Table(RANKING_SCORE).m_Entries.At(0).m_strName, "abc");
    EXPECT_EQ(TakeCloses(), 0);
}

TEST_F(StageClear, EachGameModeLeavesTheClearForItsScene)
{
    struct Case { int gameMode; int series; int testPlay; int next; int scene; } cases[] = {
        {GAMEMODE_NEWSTORY, 0, 0, 0, SCENE_WORLDMAP},   {GAMEMODE_CONTINUE, 0, 0, 0, SCENE_WORLDMAP},
        {GAMEMODE_NEWSTORY, 1, 0, 2, SCENE_PLAY},       {GAMEMODE_NEWSTORY, 1, 0, 3, SCENE_WORLDMAP},
        {GAMEMODE_CHALLENGE, 0, 0, 0, SCENE_STAGESELECT}, {GAMEMODE_CHALLENGE, 1, 0, 2, SCENE_PLAY},
        {GAMEMODE_FREEPLAY, 0, 0, 0, SCENE_PLAY},       {GAMEMODE_FREEPLAY, 1, 1, 2, SCENE_PLAY},
        {GAMEMODE_FREEPLAY, 1, 0, 2, SCENE_PLAY},       {GAMEMODE_FREEPLAY, 1, 0, 0, SCENE_TITLE},
        {GAMEMODE_FREEPLAY, 1, 0, 3, SCENE_TITLE},      {GAMEMODE_REPLAY, 0, 0, 0, SCENE_PLAY},
        {GAMEMODE_OPTIONS, 0, 0, 0, SCENE_STAGESELECT},
    };
    g_SystemData.m_nChallengeStages = 3;
    SetCurrentWorldEntry(-1, -1);
    for (const Case& c : cases) {
        g_GameManager.m_nGameMode = c.gameMode;
        g_bTestPlay.store(c.testPlay);
        PlaySeriesStage(c.series != 0);
        g_SaveData.m_ChallengeStages.assign(3, cChallengeStageData{});
        g_SaveData.m_nClearSwitch = 1;
        g_SaveData.m_bFollowUp = 1;
        cPlayScene& scene = m_Fixture.NewScene();
        scene.m_StageClear.m_nNextStage = c.next;
        EXPECT_EQ(AfterClear(scene), c.scene) << c.gameMode << c.series << c.testPlay << c.next;
        const bool loaded = c.series && c.next == 2 && !c.testPlay;
        EXPECT_EQ(g_SaveData.m_nSeriesNumber, loaded ? 2 : 1) << c.gameMode << c.series << c.next;
        if (loaded) {
            EXPECT_EQ(g_StageData.m_strPath, "data\\stg4\\Base-2.stg4_692");
        }
        if (c.gameMode == GAMEMODE_FREEPLAY && !loaded && c.scene == SCENE_PLAY) {
            EXPECT_EQ(g_SaveData.m_bFollowUp, 0);
        }
    }
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(StageClear, TheStageCarriesItsHeroStatusesOnlyWhenItsSwitchIsOn)
{
    g_SystemData.m_CarryFlags.assign(kCarryGroups, 1);
    g_GameManager.m_nGameMode = GAMEMODE_FREEPLAY;
    for (int carry : {0, 1}) {
        g_SaveData.Reset();
        PlaySeriesStage(false);
        g_StageData.m_bCarryStatus = carry;
        cPlayScene& scene = m_Fixture.NewScene();
        scene.m_nPlayers = 1;
        scene.m_TimeLimit.m_nTimeLeft = 77;
        Player.At(0).m_nHp = 37;
        AfterClear(scene);
        EXPECT_EQ(g_SaveData.m_bCarryActive, carry);
        EXPECT_EQ(g_SaveData.m_CarryStatuses.At(0).m_nHp, carry ? 37 : 0);
        EXPECT_EQ(g_SaveData.m_CarryStatuses.At(0).m_nTimeLeft, carry ? 77 : 0);
    }
}

TEST_F(StageClear, AStoryClearSetsItsSwitchRecordsItsBestAndFollowsItsEntry)
{
    // setting: the world-map entry's after-clear setting.
    struct Case { int setting; int scene; int round; int switchAfter; } cases[] = {
        {0, SCENE_WORLDMAP, 4, 1}, {1, SCENE_WORLDMAP, 5, 0}, {2, SCENE_TITLE, 4, 1},
    };
    g_WorldMapData.m_Points.resize(1);
    g_WorldMapData.m_Points[0].m_Stages.resize(1);
    for (const Case& c : cases) {
        g_WorldMapData.m_Points[0].m_Stages[0].m_nReserved = c.setting;
        SetCurrentWorldEntry(0, 0);
        g_GameManager.m_nGameMode = GAMEMODE_CONTINUE;
        PlaySeriesStage(false);
        g_SaveData.m_nRound = 4;
        g_SaveData.m_nClearSwitch = 10;
        g_SaveData.m_nResult1 = 321;
        g_MenuCursor.m_pCurrent->nRow = 0;
        EXPECT_EQ(AfterClear(Scene()), c.scene) << c.setting;
        EXPECT_EQ(g_SaveData.m_nRound, c.round) << c.setting;
        EXPECT_EQ(g_SaveData.m_Switches.At(10), c.switchAfter) << c.setting << " (a new round clears the switches)";
        EXPECT_EQ(g_SaveData.GetStageValue("data\\stg4\\Meadow."), 321);
        if (c.setting == 2) {
            EXPECT_EQ(g_MenuCursor.m_pCurrent->nRow, GAMEMODE_CONTINUE);
        }
    }
    SetCurrentWorldEntry(-1, -1);
}

TEST_F(StageClear, AChallengeClearKeepsItsRecordInChallengeDat)
{
    struct Case { int stage; int best; int total; int open; int bestAfter; int overallAfter; int openAfter; } cases[] = {
        {1, 100, 300, 1, 300, 200, 2},   // a new best adds what it gained
        {2, 500, 300, 3, 500, 0, 3},     // no new best; a stage below the highest open opens nothing
        {3, 0, 10, 3, 10, 10, 3},        // the last stage: held at the count
    };
    g_GameManager.m_nGameMode = GAMEMODE_CHALLENGE;
    g_SystemData.m_nChallengeStages = 3;
    for (const Case& c : cases) {
        PlaySeriesStage(false);
        g_SaveData.m_ChallengeStages.assign(3, cChallengeStageData{});
        g_SaveData.m_ChallengeStages.At(c.stage - 1).m_nBest = c.best;
        g_SaveData.m_nClearSwitch = c.stage;
        g_SaveData.m_nStageNumber = c.open;
        g_SaveData.m_nBestTotal = 0;
        g_SaveData.m_nResult1 = c.total;
        ASSERT_EQ(AfterClear(Scene()), SCENE_STAGESELECT);
        cSaveData saved;
        ASSERT_EQ(saved.LoadChallenge(), 1) << c.stage;
        const cChallengeStageData& record = saved.m_ChallengeStages.At(c.stage - 1);
        EXPECT_EQ(record.m_bCleared, 1) << c.stage;
        EXPECT_EQ(record.m_nBest, c.bestAfter) << c.stage;
        EXPECT_EQ(saved.m_nBestTotal, c.overallAfter) << c.stage;
        EXPECT_EQ(saved.m_nStageNumber, c.openAfter) << c.stage;
    }
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(StageClear, AnIndexOutsideTheRecordsWritesNothingAndTheClearGoesOn)
{
    struct Case { int gameMode; int number; int scene; } cases[] = {
        {GAMEMODE_NEWSTORY, -1, SCENE_WORLDMAP}, {GAMEMODE_NEWSTORY, 5000, SCENE_WORLDMAP},
        {GAMEMODE_CHALLENGE, 0, SCENE_STAGESELECT}, {GAMEMODE_CHALLENGE, 4, SCENE_STAGESELECT},
    };
    ASSERT_TRUE(OpenReportFile("Report_Game.txt"));
    g_SystemData.m_nChallengeStages = 3;
    SetCurrentWorldEntry(-1, -1);
    for (const Case& c : cases) {
        g_GameManager.m_nGameMode = c.gameMode;
        PlaySeriesStage(false);
        g_SaveData.m_ChallengeStages.assign(3, cChallengeStageData{});
        g_SaveData.m_nClearSwitch = c.number;
        const cSaveData before = g_SaveData;
        EXPECT_EQ(AfterClear(Scene()), c.scene) << c.number;
        EXPECT_EQ(g_SaveData.m_Switches, before.m_Switches) << c.number;
        for (const cChallengeStageData& record : g_SaveData.m_ChallengeStages) EXPECT_EQ(record.m_bCleared, 0) << c.number;
        EXPECT_EQ(TakeCloses(), 0) << c.number;
    }
    // One report line for each.
    const std::string report = m_Folder.ReadFile("Report_Game.txt");
    int lines = 0;
    for (std::size_t at = report.find("clear: "); at != std::string::npos; at = report.find("clear: ", at + 1)) ++lines;
    EXPECT_EQ(lines, 4) << report;
}

TEST_F(StageClear, AFailedSaveOfTheRecordsShowsABox)
{
    g_GameManager.m_nGameMode = GAMEMODE_CHALLENGE;
    g_SystemData.m_nChallengeStages = 3;
    PlaySeriesStage(false);
    g_SaveData.m_ChallengeStages.assign(3, cChallengeStageData{});
    g_SaveData.m_nClearSwitch = 1;
    // A folder where the file should be: the save cannot take its place.
    std::filesystem::remove_all(m_Folder.Path() / "user_data/challenge");
    std::filesystem::create_directories(m_Folder.Path() / "user_data/challenge/Challenge.dat");
    plat::FlushPathCache();
    EXPECT_EQ(AfterClear(Scene()), SCENE_STAGESELECT);
    EXPECT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(TakeCloses(), 0);
}

TEST_F(StageClear, ADamagedNextPartShowsItsBoxAndEndsTheSeriesWithoutClosing)
{
    m_Folder.WriteFile("data/stg4/Base-2.stg4_692", std::string("\xB4\x02\0\0xx", 6));
    plat::FlushPathCache();
    g_GameManager.m_nGameMode = GAMEMODE_NEWSTORY;
    SetCurrentWorldEntry(-1, -1);
    PlaySeriesStage(true);
    g_SaveData.m_nClearSwitch = 3;
    Scene().m_StageClear.m_nNextStage = 2;
    EXPECT_EQ(AfterClear(Scene()), SCENE_WORLDMAP);
    EXPECT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(TakeCloses(), 0);
    EXPECT_EQ(g_SaveData.m_Switches.At(3), 1) << "the clear counts";
    EXPECT_EQ(g_SaveData.m_nSeriesNumber, 1);
}

TEST_F(StageClear, ASeriesGoesOnInTheSameSceneWithoutALifeAndRanksOnlyItsLastPart)
{
    g_GameManager.m_nGameMode = GAMEMODE_NEWSTORY;
    g_GameManager.m_nPlayMode = PLAYMODE_STORY;
    g_GameManager.m_bRanking = 1;
    SetCurrentWorldEntry(-1, -1);
    ASSERT_TRUE(LoadStage("data\\stg4\\Base-1.stg4", 1, &g_StageBackup));
    g_StageData.m_ResultFlags.assign(RANKING_KINDS, 1);
    g_StageBackup.m_ResultFlags.assign(RANKING_KINDS, 1);
    PlaySeriesStage(true);
    g_SaveData.m_nClearSwitch = 3;
    g_SaveData.m_nStartLives = 3;
    cPlayScene& scene = m_Fixture.NewScene();
    scene.Run();
    ASSERT_EQ(g_SaveData.m_nLives, 2) << "entering the first part costs a life";
    scene.m_StageClear.m_nNextStage = 2;
    BeginStageClear(scene);
    EXPECT_EQ(scene.m_StageClear.m_bRankingReady, 0);
    ASSERT_EQ(AfterClear(scene), SCENE_PLAY);
    EXPECT_EQ(g_StageData.m_strPath, "data\\stg4\\Base-2.stg4_692");

    // The fade-out hands the scene over to itself.
    g_GameManager.m_nPrevScene = SCENE_PLAY;
    scene.m_nState = -1;
    scene.Run();
    EXPECT_EQ(scene.m_nSetUpCount, 2);
    EXPECT_EQ(g_SaveData.m_nLives, 2) << "no life for the next part";
    EXPECT_EQ(g_SaveData.m_nSeriesNumber, 2);
    EXPECT_EQ(scene.m_StageClear.m_nNextStage, 0);
    g_StageData.m_ResultFlags.assign(RANKING_KINDS, 1);
    g_SaveData.m_nScore = 40;
    BeginStageClear(scene);
    EXPECT_EQ(scene.m_StageClear.m_bRankingReady, 1) << "the last part ranks";
    EXPECT_EQ(AfterClear(scene), SCENE_WORLDMAP);
    EXPECT_EQ(g_SaveData.m_Switches.At(3), 1);
    EXPECT_EQ(g_SaveData.m_nSeriesNumber, 2) << "the part the series ended on";
}

}  // namespace

namespace {

TEST_F(StageClear, AStageClearedDuringItsSetUpTalliesOnce)
{
    g_StageData.m_Charas.push_back(qbtest::ClearingChara(6, 5));
    m_Fixture.Commit();
    g_SaveData.m_nScore = 0;
    cPlayScene& scene = m_Fixture.NewScene();
    for (int frame = 0; frame < 400 && scene.m_nState != PLAYSTATE_CLEAR; ++frame) Frame(scene);
    ASSERT_EQ(scene.m_nState, PLAYSTATE_CLEAR);
    EXPECT_EQ(Count(Sounds(), kStageClearSound), 1);
}

}  // namespace

namespace {

TEST_F(StageClear, TheResultWindowShowsWhatTheStageAndThePlayModeRank)
{
    // Values shown: the stage's result switch and the mode's flag, or the switch alone in the
    // editor's test play. The window itself is the ranking panel's.
    struct Case { std::vector<int> stage; cSafeVector<BYTE> mode; int editorTest; std::vector<bool> shown; } cases[] = {
        {{1, 1, 1, 1, 1}, {1, 0, 1, 0, 1}, 0, {true, false, true, false, true}},
        {{1, 1, 1, 1, 1}, {1, 0, 1, 0, 1}, 1, {true, true, true, true, true}},
        {{0, 1, 0, 1}, {1, 1, 1, 1, 1}, 0, {false, true, false, true, false}},
        {{}, {1, 1, 1, 1, 1}, 1, {false, false, false, false, false}},
    };
    qbtest::cRestore<std::atomic<int>> editor(g_bEditorLaunch);
    g_GameManager.m_nPlayMode = PLAYMODE_CHALLENGE;
    const int places[5] = {0, -1, 3, -1, 2};
    const int values[5] = {1234, 99, 12550, 5, 6};
    cSaveData& save = g_SaveData;
    int* totals[5] = {&save.m_nResult1, &save.m_nResult2, &save.m_nResult3, &save.m_nResult4, &save.m_nResult5};
    for (int kind = 0; kind < 5; ++kind) *totals[kind] = values[kind];
    Scene().m_StageClear.m_RankPos.assign(places, places + 5);
    for (const Case& c : cases) {
        g_StageData.m_ResultFlags.assign(c.stage.begin(), c.stage.end());
        g_SystemData.m_ModeResults.At(PLAYMODE_CHALLENGE).m_ValueFlags = c.mode;
        g_bEditorLaunch.store(c.editorTest);
        g_bTestPlay.store(c.editorTest);
        bool shown[5];
        std::copy(c.shown.begin(), c.shown.end(), shown);
        DDFillSurfacePal(&g_BackBuffer, 16);
        DrawResultPanel(&g_BackBuffer, 336, 224, places, values, shown);
        const qbtest::cImage expected = qbtest::ReadImage(&g_BackBuffer);
        DDFillSurfacePal(&g_BackBuffer, 16);
        DrawClearResults(Scene());
        EXPECT_TRUE(qbtest::ReadImage(&g_BackBuffer) == expected) << c.editorTest << " " << c.stage.size();
    }
}

}  // namespace
