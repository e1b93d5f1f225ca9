// The progress record: a new game, the file at every threshold, what reading mends, the stage
// key, best values, ranking kinds, retries and the statuses carried between stages.
#include <gtest/gtest.h>

#include <climits>

#include "data/save_data.h"
#include "data/system_data.h"
#include "data/world_map_data.h"
#include "tests/data/record_test_support.h"
#include "tests/data/save_file_builder.h"
#include "tests/data/save_test_fixture.h"

using qbtest::BuildSaveFile;
using qbtest::ReadImage;
using qbtest::SaveFields;


namespace {

using SaveData = qbtest::cSaveTest;

int Field(const cSaveData& save, const char* name)
{
    for (const DATAFIELD& field : save.Tables().fields)
        if (std::string(field.name) == name) return *static_cast<const int*>(field.address);
    ADD_FAILURE() << name;
    return 0;
}

}  // namespace

TEST_F(SaveData, ANewGameHasItsListsAtTheirSizesAndEveryOtherValueZero)
{
    cSaveData save;
    save.m_nScore = 5;
    save.m_Switches[3] = 1;
    save.m_StageValues.emplace_back();
    save.Reset();
    EXPECT_EQ(save.m_CarryFlags, cSafeVector<int>(25, 0));
    EXPECT_EQ(save.m_CarryStatuses.size(), 1u);
    ASSERT_EQ(save.m_Switches.size(), 1000u);
    EXPECT_EQ(save.m_Switches[0], 1);
    EXPECT_EQ(std::count(save.m_Switches.begin(), save.m_Switches.end(), 0), 999);
    EXPECT_EQ(save.m_Variables, cSafeVector<int>(256, 0));
    EXPECT_TRUE(save.m_StageValues.empty());
    EXPECT_TRUE(save.m_ChallengeStages.empty());
    EXPECT_EQ(save.m_nStageNumber, 1);
    EXPECT_EQ(save.m_nSaveSlot, -1);
    EXPECT_EQ(save.m_strPlayerName, "aaa");
    EXPECT_EQ(save.m_strStageKey, "");
    for (const DATAFIELD& field : save.Tables().fields) {
        const std::string name = field.name;
        if (name == "nStageNumber" || name == "nSaveSlot") continue;
        EXPECT_EQ(*static_cast<const int*>(field.address), 0) << name;
    }
    EXPECT_EQ(save.Tables().fields.size(), 32u);
}

TEST_F(SaveData, ACurrentFileReadsAndWritesBackByteIdentical)
{
    const std::string file = BuildSaveFile(DistinctSave());
    cSaveData save;
    ASSERT_EQ(ReadImage(save, file), 1);
    EXPECT_EQ(save.m_nEnteredPoint, 103) << "kept as read";
    EXPECT_EQ(save.m_SaveTime.wYear, 2026);
    EXPECT_EQ(save.m_SaveTime.wMinute, 5);
    EXPECT_EQ(save.m_CarryStatuses[0].m_nLives, 4);
    EXPECT_EQ(save.m_ChallengeStages[0].m_nBest, 500);
    EXPECT_EQ(save.m_strPlayerName, "あb");
    EXPECT_EQ(qbtest::WriteImage(save), file);
}

TEST_F(SaveData, OlderFilesUpgradeAtEachThreshold)
{
    // version, then the fields that file lacks and the value each takes.
    struct Case { std::uint32_t version; std::vector<std::pair<const char*, int>> upgraded; } cases[] = {
        {165, {{"bStageBgmLoop", 1}, {"bAutoSave", 0}, {"nResult4", 0}, {"nResult5", 0}, {"bGaveUp", 0},
               {"nReturnX", 0}, {"nReturnY", 0}, {"nMapState", 0}}},
        {166, {{"bStageBgmLoop", 118}, {"bAutoSave", 0}}},
        {168, {{"bAutoSave", 0}}},
        {169, {{"bAutoSave", 125}, {"nResult4", 0}}},
        {181, {{"nResult4", 0}, {"nResult5", 0}}},
        {182, {{"nResult4", 114}, {"nResult5", 115}, {"bGaveUp", 0}}},
        {189, {{"bGaveUp", 0}}},
        {190, {{"bGaveUp", 120}, {"nReturnX", 0}}},
        {191, {{"nReturnX", 9}, {"nReturnY", 10}, {"nMapState", 0}}},
        {193, {{"nMapState", 0}}},
        {194, {{"nMapState", 119}}},
        {677, {{"bFollowUp", 0}, {"nFollowUpA", 0}, {"nFollowUpC", 0}}},
        {678, {{"bFollowUp", 128}, {"nFollowUpA", 129}, {"nFollowUpB", 130}, {"nFollowUpC", 0}}},
        {679, {{"nFollowUpC", 131}}},
        {692, {{"bStageBgmLoop", 118}, {"nFollowUpC", 131}}},
    };
    for (const auto& c : cases) {
        SaveFields fields = DistinctSave();
        fields.carryBodies.clear();  // a chara body of the file's own version is the templates' matter
        cSaveData save;
        ASSERT_EQ(ReadImage(save, BuildSaveFile(fields, c.version)), 1) << c.version;
        for (const auto& [name, value] : c.upgraded) EXPECT_EQ(Field(save, name), value) << c.version << " " << name;
        EXPECT_EQ(save.m_nScore, 109) << c.version;
        EXPECT_EQ(save.m_strStageKey, "data\\stg4\\城.") << c.version;
    }
}

TEST_F(SaveData, CarryFlagsComeFromVersion501AndOlderFilesCarryEveryGroup)
{
    struct Case { std::uint32_t version; std::vector<int> stored; cSafeVector<int> read; } cases[] = {
        {500, {}, cSafeVector<int>(25, 1)},
        {501, std::vector<int>(25, 0), cSafeVector<int>(25, 0)},
        {501, {1, 0, 1}, {1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},  // padded
        {692, std::vector<int>(30, 1), cSafeVector<int>(30, 1)},  // never cut
    };
    for (const auto& c : cases) {
        SaveFields fields = DistinctSave();
        fields.carryBodies.clear();
        fields.carryFlags = c.stored;
        cSaveData save;
        ASSERT_EQ(ReadImage(save, BuildSaveFile(fields, c.version)), 1) << c.version;
        EXPECT_EQ(save.m_CarryFlags, c.read) << c.version << " with " << c.stored.size();
    }
}

TEST_F(SaveData, ReadingPadsTheListsTheGameIndexesAndKeepsIndicesInRange)
{
    SaveFields fields = DistinctSave();
    fields.switches = {0, 1, 1};
    fields.variables.assign(300, 9);
    fields.carryBodies.clear();
    fields.challenges = {{1, 2}};
    fields["nStageNumber"] = 7;
    fields["nSaveSlot"] = 99;
    fields["nRankingKind"] = INT_MIN;
    cSaveData save;
    ASSERT_EQ(ReadImage(save, BuildSaveFile(fields)), 1);
    ASSERT_EQ(save.m_Switches.size(), 1000u);
    EXPECT_EQ(save.m_Switches[2], 1);
    EXPECT_EQ(save.m_Switches[999], 0);
    EXPECT_EQ(save.m_Variables.size(), 300u);
    EXPECT_EQ(save.m_CarryStatuses.size(), 1u);
    ASSERT_EQ(save.m_ChallengeStages.size(), 3u) << "one per challenge stage";
    EXPECT_EQ(save.m_ChallengeStages[0].m_nBest, 2);
    EXPECT_EQ(save.m_ChallengeStages[2].m_bCleared, 0);
    EXPECT_EQ(save.m_nStageNumber, 3);
    EXPECT_EQ(save.m_nSaveSlot, -1);
    EXPECT_EQ(save.m_nRankingKind, 0);

    struct Case { int stageNumber, challenges, read; } stages[] = {{0, 3, 1}, {-5, 3, 1}, {2, 3, 2}, {7, 5, 5}, {4, 0, 1}};
    for (const auto& c : stages) {
        g_SystemData.m_nChallengeStages = c.challenges;
        fields["nStageNumber"] = c.stageNumber;
        ASSERT_EQ(ReadImage(save, BuildSaveFile(fields)), 1);
        EXPECT_EQ(save.m_nStageNumber, c.read) << c.stageNumber << " of " << c.challenges;
        EXPECT_EQ(save.m_ChallengeStages.size(), static_cast<std::size_t>(c.challenges));
    }
}

TEST_F(SaveData, PositionsOffTheMapTakeTheStartPosition)
{
    // On a 20 x 15 map starting at (3, 4).
    struct Case { int x, y, mapX, mapY; int returnX, returnY, keptReturnX, keptReturnY; } cases[] = {
        {25, 2, 3, 2, 19, 14, 19, 14}, {5, 15, 5, 4, 20, 0, 3, 4}, {-1, 3, 3, 3, 0, -1, 3, 4},
        {19, 14, 19, 14, 0, 0, 0, 0}, {INT_MIN, INT_MAX, 3, 4, INT_MAX, 2, 3, 4},
    };
    for (const auto& c : cases) {
        SaveFields fields = DistinctSave();
        fields["nMapX"] = c.x;
        fields["nMapY"] = c.y;
        fields["nReturnX"] = c.returnX;
        fields["nReturnY"] = c.returnY;
        cSaveData save;
        ASSERT_EQ(ReadImage(save, BuildSaveFile(fields)), 1);
        EXPECT_EQ(save.m_nMapX, c.mapX) << c.x << ", " << c.y;
        EXPECT_EQ(save.m_nMapY, c.mapY) << c.x << ", " << c.y;
        EXPECT_EQ(save.m_nReturnX, c.keptReturnX) << c.returnX << ", " << c.returnY;
        EXPECT_EQ(save.m_nReturnY, c.keptReturnY) << c.returnX << ", " << c.returnY;
    }
}

TEST_F(SaveData, TheStageKeyIsCutAfterTheFullStopOrBeforeTheLastSeriesMark)
{
    struct Case { const char* path; const char* key; int series; } cases[] = {
        {"data\\stg4\\sample-1.stg4_001", "data\\stg4\\sample.", 1},
        {"data\\stg4\\sample.stg4_001", "data\\stg4\\sample.", 0},
        {"sample", "", 0},
        {"stage-12.stg4_001", "stage.", 1},
        {"a-1b-1.stg4", "a-1b.", 1},
        {"data\\ソ\\表.stg4", "data\\ソ\\表.", 0},
        {"", "", 0},
    };
    cSaveData save;
    for (const auto& c : cases) {
        save.m_bSeries = 5;
        save.SetStageFile(c.path);
        EXPECT_EQ(save.m_strStageKey, c.key) << c.path;
        EXPECT_EQ(save.m_bSeries, c.series) << c.path;
    }
    save.SetStageFile(nullptr);
    EXPECT_EQ(save.m_strStageKey, "");
}

TEST_F(SaveData, BestValuesOnlyEverRiseAndTheTotalCountsTheStagesStillOnTheMap)
{
    cSaveData save;
    struct Step { const char* key; int value; int stored; int total; } steps[] = {
        {"k.", 500, 500, 500}, {"k.", 300, 500, 500}, {"k.", 800, 800, 800}, {"j.", 5, 5, 805}, {"k.", 800, 800, 805},
    };
    for (const auto& s : steps) {
        save.RecordStageValue(s.key, s.value);
        EXPECT_EQ(save.GetStageValue(s.key), s.stored) << s.key << " " << s.value;
        EXPECT_EQ(save.m_nBestTotal, s.total) << s.key << " " << s.value;
    }
    EXPECT_EQ(save.GetStageValue("none."), 0);
    g_WorldMapData.m_Points.resize(1);
    g_WorldMapData.m_Points[0].m_Stages[0].m_strStageFile = "j-1.stg4_001";
    save.RecountTotal();
    EXPECT_EQ(save.m_nBestTotal, 5);
}

TEST_F(SaveData, TotalsAndTheRoundOfACraftedSaveWrapAsWords)
{
    auto wrapped = [](std::int64_t v) { return static_cast<int>(static_cast<std::uint32_t>(v)); };
    SaveFields fields = DistinctSave();
    fields["nBestTotal"] = INT_MAX;
    fields["nRound"] = INT_MAX;
    fields["nResult1"] = INT_MAX;
    fields.stageValues = {{"k.", INT_MIN}, {"j.", INT_MAX}};
    fields.challenges = {{1, INT_MIN}, {0, 0}, {1, 7}};
    cSaveData save;
    ASSERT_EQ(ReadImage(save, BuildSaveFile(fields)), 1);

    save.RecordStageValue("k.", INT_MAX);   // rises by 2^32 - 1
    EXPECT_EQ(save.m_nBestTotal, wrapped(std::int64_t{INT_MAX} + INT_MAX - std::int64_t{INT_MIN}));
    save.m_nBestTotal = INT_MAX;
    save.RecordStageValue("new.", 5);
    EXPECT_EQ(save.m_nBestTotal, wrapped(std::int64_t{INT_MAX} + 5));
    save.m_nBestTotal = INT_MAX;
    save.RecordChallengeClear(1);
    EXPECT_EQ(save.m_nBestTotal, wrapped(std::int64_t{INT_MAX} + INT_MAX - std::int64_t{INT_MIN}));
    g_WorldMapData.m_Points.resize(2);
    g_WorldMapData.m_Points[0].m_Stages[0].m_strStageFile = "k.stg4_001";
    g_WorldMapData.m_Points[1].m_Stages[0].m_strStageFile = "j.stg4_001";
    save.RecountTotal();
    EXPECT_EQ(save.m_nBestTotal, wrapped(std::int64_t{INT_MAX} + INT_MAX));
    save.StartNextRound();
    EXPECT_EQ(save.m_nRound, INT_MIN);
}

TEST_F(SaveData, TheRankingKindStepsOverTheKindsTheModeShows)
{
    g_SystemData.m_ModeResults.At(0).m_ValueFlags = {1, 0, 1, 0, 0};
    g_SystemData.m_ModeResults.At(1).m_ValueFlags = {0, 0, 0, 0, 0};
    struct Case { int mode, from, steps, to; } cases[] = {
        {0, 0, 1, 2}, {0, 2, 1, 0}, {0, 0, -1, 2}, {0, 0, 2, 0}, {0, 1, 0, 2}, {0, 1, 1, 2}, {0, 3, -1, 2},
        {0, 0, 0, 0}, {0, 0, INT_MAX, 2}, {0, 0, INT_MIN, 0}, {1, 3, 1, 3}, {1, 3, -4, 3},
    };
    for (const auto& c : cases) {
        cSaveData save;
        save.m_nRankingKind = c.from;
        save.StepRankingKind(c.mode, c.steps);
        EXPECT_EQ(save.m_nRankingKind, c.to) << "mode " << c.mode << " from " << c.from << " by " << c.steps;
    }
}

TEST_F(SaveData, RetriesAndContinuesRestoreWhatTheStageStartKept)
{
    g_SystemData.m_bRetryRestoreStory = 1;
    g_SystemData.m_bRetryRestoreChallenge = 0;
    g_SystemData.m_bRetryRestoreFree = 0;
    g_SystemData.m_bRetryRestoreTest = 1;
    struct Case { int full, mode; bool test; bool variables; int lives; } cases[] = {
        {1, 1, false, true, 3}, {0, 0, false, true, 1}, {0, 1, false, false, 1}, {0, 2, false, false, 1},
        {0, 3, false, true, 1}, {0, 1, true, true, 1}, {0, 7, false, false, 1},
    };
    for (const auto& c : cases) {
        cSaveData save;
        save.m_Variables[4] = 40;
        save.m_nLives = 3;
        save.m_nResult1 = 100;
        save.SaveStageStart();
        save.m_Variables[4] = 41;
        save.m_nLives = 1;
        save.m_nResult1 = 150;
        save.RestoreStageStart(c.full, c.mode, c.test);
        EXPECT_EQ(save.m_Variables[4], c.variables ? 40 : 41) << c.full << " mode " << c.mode << " test " << c.test;
        EXPECT_EQ(save.m_nLives, c.lives) << c.full << " mode " << c.mode;
        EXPECT_EQ(save.m_nResult1, 100);
    }
    cSaveData fresh;
    fresh.RestoreStageStart(1, 0, false);
    EXPECT_EQ(fresh.m_Variables.size(), 256u) << "a restore without a stage start leaves variables to index";
}

TEST_F(SaveData, AChallengeClearMarksItsRecordRaisesTheBestAndOpensTheNextStage)
{
    cSaveData save;
    save.Normalize();
    save.m_nResult1 = 70;
    save.RecordChallengeClear(1);
    EXPECT_EQ(save.m_ChallengeStages[0].m_bCleared, 1);
    EXPECT_EQ(save.m_ChallengeStages[0].m_nBest, 70);
    EXPECT_EQ(save.m_nBestTotal, 70);
    EXPECT_EQ(save.m_nStageNumber, 2);
    save.m_nResult1 = 50;
    save.RecordChallengeClear(1);
    EXPECT_EQ(save.m_nBestTotal, 70);
    EXPECT_EQ(save.m_nStageNumber, 2);
    save.m_nResult1 = 90;
    save.RecordChallengeClear(3);
    EXPECT_EQ(save.m_nBestTotal, 160);
    EXPECT_EQ(save.m_nStageNumber, 3) << "never beyond the challenge stages";
    save.RecordChallengeClear(4);
    save.RecordChallengeClear(0);
    EXPECT_EQ(save.m_nBestTotal, 160);
}

TEST_F(SaveData, CarriedGroupsComeBackWhenTheSystemCarriesThemAndTheyWereStored)
{
    cCharaData hero;
    hero.m_nImageNumber = 0;
    hero.m_nImageKind = 2;
    hero.m_nAnimeSet = 3;
    hero.m_nZ = 5;
    hero.m_bTransparent = 1;
    hero.m_bFixedFacing = 0;
    hero.m_nFlying = 2;
    hero.m_nInvincible = 1;
    hero.m_nGiantScale = 3;
    hero.m_bSyncAutoScroll = 1;
    hero.m_nSightShape = 2;
    hero.m_nSightRange = 9;
    hero.m_nMaxHp = 77;
    hero.m_nMaxSp = 66;
    hero.m_nContactRange = 2;
    hero.m_nBodyAttack = 12;
    hero.m_nBodyImpact = -3;
    hero.m_nDefence = 8;
    hero.m_nImpactResistance = 4;
    hero.m_nEaseOfStopping = 150;
    hero.m_Flows.resize(2);
    // Every group carried except group 2 (Z position).
    g_SystemData.m_CarryFlags.assign(25, 1);
    g_SystemData.m_CarryFlags[2] = 0;
    cSaveData save;
    save.RestoreHeroStatus(0, hero, nullptr, nullptr);  // nothing stored yet: no change
    EXPECT_EQ(hero.m_nImageNumber, 0);
    save.StoreHeroStatus(0, hero, 40, 30, 11, 1, 0, 900, 6, 4);
    EXPECT_EQ(save.m_bCarryActive, 1);
    EXPECT_EQ(save.m_CarryFlags[2], 0);
    EXPECT_EQ(save.m_CarryFlags[24], 1);

    cCharaData next;
    int timeLimit = 0, stageBgm = 0;
    save.m_nLives = 1;
    save.RestoreHeroStatus(0, next, &timeLimit, &stageBgm);
    EXPECT_EQ(next.m_nImageNumber, 1) << "image 0 comes back as 1";
    EXPECT_EQ(next.m_nImageKind, 2);
    EXPECT_EQ(next.m_nAnimeSet, 3);
    EXPECT_EQ(next.m_nZ, cCharaData().m_nZ) << "group 2 is not carried";
    EXPECT_EQ(next.m_bTransparent, 1);
    EXPECT_EQ(next.m_nCharaEffect, 11);
    EXPECT_EQ(next.m_nCharaEffectMode, 1);
    EXPECT_EQ(next.m_bCharaEffectLoop, 0);
    EXPECT_EQ(next.m_bFixedFacing, 0);
    EXPECT_EQ(next.m_nFlying, 2);
    EXPECT_EQ(next.m_nInvincible, 1);
    EXPECT_EQ(next.m_nGiantScale, 3);
    EXPECT_EQ(next.m_bSyncAutoScroll, 1);
    EXPECT_EQ(next.m_nSightRange, 9);
    EXPECT_EQ(next.m_nMaxHp, 77);
    EXPECT_EQ(next.m_nMaxSp, 66);
    EXPECT_EQ(next.m_nContactRange, 2);
    EXPECT_EQ(next.m_nBodyAttack, 12);
    EXPECT_EQ(next.m_nBodyImpact, -3);
    EXPECT_EQ(next.m_nDefence, 8);
    EXPECT_EQ(next.m_nImpactResistance, 4);
    EXPECT_EQ(next.m_nEaseOfStopping, 150);
    EXPECT_EQ(next.m_Flows.size(), 2u);
    EXPECT_EQ(timeLimit, 900);
    EXPECT_EQ(stageBgm, 4);
    EXPECT_EQ(save.m_nLives, 6);

    // HP and SP only through RestoreExtraStatus.
    int hp = 0, sp = 0;
    save.RestoreExtraStatus(0, &hp, &sp);
    EXPECT_EQ(hp, 40);
    EXPECT_EQ(sp, 30);
    // A lost life clears the flags the System data names; those groups then stay.
    g_SystemData.m_DeathClearFlags.assign(25, 0);
    g_SystemData.m_DeathClearFlags[11] = 1;
    g_SystemData.m_DeathClearFlags[13] = 1;
    save.ClearCarryFlags();
    hp = sp = 0;
    save.RestoreExtraStatus(0, &hp, &sp);
    EXPECT_EQ(hp, 0);
    EXPECT_EQ(sp, 30);
    cCharaData again;
    save.RestoreHeroStatus(0, again, nullptr, nullptr);
    EXPECT_EQ(again.m_nMaxHp, cCharaData().m_nMaxHp);
    EXPECT_EQ(again.m_nMaxSp, 66);
}

TEST_F(SaveData, TheNextRoundClearsTheSwitchesAndReturnsToTheStart)
{
    cSaveData save;
    save.m_nMapX = 10;
    save.m_nRound = 2;
    save.StartNextRound();
    EXPECT_EQ(save.m_nRound, 3);
    EXPECT_EQ(save.m_Switches, cSafeVector<int>(1000, 0));
    EXPECT_EQ(save.m_nMapX, 3);
    EXPECT_EQ(save.m_nMapY, 4);
    save.m_nResult1 = save.m_nResult5 = 9;
    save.ClearStageCounters();
    EXPECT_EQ(save.m_nResult1 + save.m_nResult5, 0);
}
