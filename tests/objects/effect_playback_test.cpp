#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "data/database.h"
#include "objects/database_working_tables.h"
#include "objects/effect_playback.h"

namespace {

// Keeps the databases as a test found them.
class EffectTemplateTest : public ::testing::Test {
protected:
    void SetUp() override { m_Saved = g_Database; }
    void TearDown() override { g_Database = m_Saved; }

    static void SetCharaEffect(int id, int kind, std::initializer_list<int> params)
    {
        for (auto* list : {&g_Database.m_CharaEffects, &g_Database.m_CharaEffectsReverse}) {
            if (list->size() <= static_cast<std::size_t>(id)) list->resize(static_cast<std::size_t>(id) + 1);
            (*list)[static_cast<std::size_t>(id)].m_nKind = kind;
            int i = 0;
            for (int p : params) (*list)[static_cast<std::size_t>(id)].m_nParams[i++] = p;
        }
    }
    static void SetScreenEffect(int id, int kind, std::initializer_list<int> params)
    {
        for (auto* list : {&g_Database.m_ScrEffects, &g_Database.m_ScrEffectsReverse}) {
            if (list->size() <= static_cast<std::size_t>(id)) list->resize(static_cast<std::size_t>(id) + 1);
            (*list)[static_cast<std::size_t>(id)].m_nKind = kind;
            int i = 0;
            for (int p : params) (*list)[static_cast<std::size_t>(id)].m_nParams[i++] = p;
        }
    }

    cDatabase m_Saved;
};

}  // namespace

TEST_F(EffectTemplateTest, LinearCharaEffectsStartAtP2AndStepTowardP3)
{
    SetCharaEffect(1, 1, {5, 0, 32, 0, 0});
    cEffectPlayback normal;
    normal.InitCharaEffectTemplate(1, 0);
    EXPECT_EQ(normal.m_nId, 1);
    EXPECT_EQ(&normal.CharaEntry(), &g_Database.m_CharaEffects[1]);
    EXPECT_EQ(normal.m_nFrom, 0);
    EXPECT_EQ(normal.m_nTo, 32);
    EXPECT_EQ(normal.m_dValue, 0.0);
    EXPECT_EQ(normal.m_dStep, 32.0 / 30.0);

    cEffectPlayback reversed;
    reversed.InitCharaEffectTemplate(1, 1);
    EXPECT_EQ(&reversed.CharaEntry(), &g_Database.m_CharaEffectsReverse[1]);
    EXPECT_EQ(reversed.m_nFrom, 32);
    EXPECT_EQ(reversed.m_nTo, 0);
    EXPECT_EQ(reversed.m_dValue, 32.0);
    EXPECT_EQ(reversed.m_dStep, 32.0 / 30.0);
    // The reversed copy is swapped in place; the loaded list keeps the stored order.
    EXPECT_EQ(g_Database.m_CharaEffectsReverse[1].m_nParams[1], 32);
    EXPECT_EQ(g_Database.m_CharaEffects[1].m_nParams[1], 0);
}

TEST_F(EffectTemplateTest, TimedCharaEffectsCountFromZeroToTheirDuration)
{
    for (int kind : {6, 14}) {
        SetCharaEffect(2, kind, {10, 2, 7, 0, 0});
        cEffectPlayback playback;
        playback.m_nCounter = 5;
        playback.m_nToggle = 1;
        playback.InitCharaEffectTemplate(2, 1);
        EXPECT_EQ(playback.m_nFrom, 0);
        EXPECT_EQ(playback.m_nTo, 10);
        EXPECT_EQ(playback.m_dStep, 1.0 / 6.0);
        EXPECT_EQ(playback.m_nCounter, 0);
        EXPECT_EQ(playback.m_nToggle, 0);
        EXPECT_EQ(g_Database.m_CharaEffectsReverse[2].m_nParams[1], 2);   // nothing swapped
    }
}

TEST_F(EffectTemplateTest, KindsWithoutPlaybackSetOnlyTheIdAndTheEntry)
{
    for (int kind : {0, 17, -1}) {
        SetCharaEffect(1, kind, {5, 1, 2, 3, 4});
        cEffectPlayback playback;
        playback.m_dValue = 9.0;
        playback.InitCharaEffectTemplate(1, 1);
        EXPECT_EQ(&playback.CharaEntry(), &g_Database.m_CharaEffectsReverse[1]);
        EXPECT_EQ(playback.m_dValue, 9.0);
        EXPECT_EQ(g_Database.m_CharaEffectsReverse[1].m_nParams[1], 1);
    }
}

TEST_F(EffectTemplateTest, ADurationOfZeroGivesAnInfiniteStepWithoutFault)
{
    SetCharaEffect(1, 11, {0, 32, 64, 0, 0});
    cEffectPlayback playback;
    playback.InitCharaEffectTemplate(1, 0);
    EXPECT_TRUE(std::isinf(playback.m_dStep));
    SetCharaEffect(1, 11, {-5, 5, 5, 0, 0});
    playback.InitCharaEffectTemplate(1, 0);
    EXPECT_EQ(playback.m_dStep, 0.0);
    SetScreenEffect(1, 9, {0, 3, 3, 0, 0});
    playback.InitScreenEffectTemplate(1, 0);
    EXPECT_TRUE(std::isnan(playback.m_dStep));
    SetCharaEffect(1, 11, {1, -2147483647 - 1, 2147483647, 0, 0});   // the difference wraps
    playback.InitCharaEffectTemplate(1, 0);
    EXPECT_EQ(playback.m_dStep, 1.0 / 6.0);
}

TEST_F(EffectTemplateTest, ScreenEffectsByKind)
{
    SetScreenEffect(1, 1, {10, 1, 2, 3, 4});
    cEffectPlayback move;
    move.InitScreenEffectTemplate(1, 1);
    EXPECT_EQ(&move.ScrEntry(), &g_Database.m_ScrEffectsReverse[1]);
    EXPECT_EQ(move.m_nCounter, 3);   // start and end points swapped
    EXPECT_EQ(move.m_nCounter2, 4);
    EXPECT_EQ(move.m_dStep, 1.0 / 6.0);

    SetScreenEffect(1, 7, {10, 0, 480, 4, 10});
    cEffectPlayback wave;
    wave.m_nCounter = 3;
    wave.InitScreenEffectTemplate(1, 0);
    EXPECT_EQ(wave.m_dValue, 0.0);
    EXPECT_EQ(wave.m_dStep, 8.0);
    EXPECT_EQ(wave.m_nCounter, 0);
    wave.InitScreenEffectTemplate(1, 1);
    EXPECT_EQ(wave.m_dValue, 480.0);

    SetScreenEffect(1, 2, {10, 4, 4, 0, 0});
    cEffectPlayback shake;
    shake.m_dValue2 = 3.0;
    shake.InitScreenEffectTemplate(1, 1);
    EXPECT_EQ(shake.m_dValue2, 0.0);
    EXPECT_EQ(g_Database.m_ScrEffectsReverse[1].m_nParams[1], 4);
}

namespace {

// The databases and the template lists as a test found them; the tests set entries and build
// the templates as start-up does.
class EffectPlaybackTest : public EffectTemplateTest {
protected:
    void SetUp() override
    {
        EffectTemplateTest::SetUp();
        m_CharaNormal = g_CharaEffectTemplates;
        m_CharaReversed = g_CharaEffectTemplatesReverse;
        m_ScreenNormal = g_ScrEffectTemplates;
        m_ScreenReversed = g_ScrEffectTemplatesReverse;
    }
    void TearDown() override
    {
        g_CharaEffectTemplates = m_CharaNormal;
        g_CharaEffectTemplatesReverse = m_CharaReversed;
        g_ScrEffectTemplates = m_ScreenNormal;
        g_ScrEffectTemplatesReverse = m_ScreenReversed;
        EffectTemplateTest::TearDown();
    }
    static void BuildTemplates()
    {
        g_Database.FillReverseLists();
        BuildDatabaseWorkingTables();
    }
    // The step on which the effect reports its end (0: not within `limit` steps).
    static int StepsToFinish(cEffectPlayback& playback, int limit = 1000)
    {
        for (int step = 1; step <= limit; ++step)
            if (playback.StepCharaEffect()) return step;
        return 0;
    }

    cSafeVector<cEffectPlayback> m_CharaNormal, m_CharaReversed, m_ScreenNormal, m_ScreenReversed;
};

}  // namespace

TEST_F(EffectPlaybackTest, ALinearEffectFinishesOnTheStepItsAccumulatedValuePassesTheEnd)
{
    // The steps were found with IEEE doubles outside the program: how the sum rounds decides
    // between p1 x 6 and p1 x 6 + 1 steps, in both directions alike.
    struct Case {
        int p1, from, to, steps;
    } cases[] = {{5, 0, 32, 31}, {5, 32, 64, 30}, {10, 0, 32, 60}, {10, 32, 64, 61}, {3, 0, 32, 18}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "p1 " << c.p1 << ", " << c.from << " to " << c.to);
        SetCharaEffect(1, 1, {c.p1, c.from, c.to, 0, 0});
        BuildTemplates();
        for (int mode : {0, 1}) {
            cEffectPlayback playback;
            playback.StartCharaEffect(1, mode, 0);
            EXPECT_EQ(playback.m_dValue, mode == 0 ? c.from : c.to);
            EXPECT_EQ(StepsToFinish(playback), c.steps) << "mode " << mode;
        }
    }
}

TEST_F(EffectPlaybackTest, ARoundTripTurnsRoundOnceAndThenFinishes)
{
    SetCharaEffect(1, 1, {5, 0, 32, 0, 0});
    BuildTemplates();
    cEffectPlayback playback;
    playback.StartCharaEffect(1, 2, 0);
    for (int step = 1; step <= 30; ++step) ASSERT_EQ(playback.StepCharaEffect(), 0);
    // Step 31 passes 32: the restart reports nothing and the reversed leg starts at its start.
    EXPECT_EQ(playback.StepCharaEffect(), 0);
    EXPECT_EQ(playback.m_bReversed, 1);
    EXPECT_EQ(playback.m_dValue, 32.0);
    EXPECT_EQ(playback.m_nTo, 0);
    int step = 31;
    while (!playback.StepCharaEffect() && step < 1000) ++step;
    EXPECT_EQ(step + 1, 62);
    EXPECT_LT(playback.m_dValue, 0.0);   // the value stays past the end
}

TEST_F(EffectPlaybackTest, LoopingEffectsNeverFinish)
{
    SetCharaEffect(1, 1, {1, 0, 32, 0, 0});
    BuildTemplates();
    for (int mode : {0, 1, 2}) {
        cEffectPlayback playback;
        playback.StartCharaEffect(1, mode, 1);
        int turns = 0;
        for (int step = 0; step < 100; ++step) {
            const int reversed = playback.m_bReversed;
            ASSERT_EQ(playback.StepCharaEffect(), 0) << "mode " << mode;
            turns += playback.m_bReversed != reversed;
        }
        // Only the round trip changes direction, once a leg of 7 steps.
        EXPECT_EQ(turns, mode == 2 ? 14 : 0) << "mode " << mode;
    }
}

TEST_F(EffectPlaybackTest, TimedEffectsCountToTheirDurationWhateverTheirInterval)
{
    for (int interval : {1, 2, 9999}) {
        SetCharaEffect(1, 6, {10, interval, 0, 0, 0});
        BuildTemplates();
        cEffectPlayback playback;
        playback.StartCharaEffect(1, 0, 0);
        EXPECT_EQ(StepsToFinish(playback), 61) << "interval " << interval;
    }
}

TEST_F(EffectPlaybackTest, AKindZeroEntryNeverFinishes)
{
    SetCharaEffect(1, 0, {5, 0, 32, 0, 0});
    BuildTemplates();
    cEffectPlayback playback;
    playback.StartCharaEffect(1, 0, 0);
    EXPECT_EQ(StepsToFinish(playback, 500), 0);
}

TEST_F(EffectPlaybackTest, ARestartReloadsTheTemplateButKeepsItsStart)
{
    SetCharaEffect(1, 14, {1, 3, 0, 0, 0});
    BuildTemplates();
    cEffectPlayback playback;
    playback.StartCharaEffect(1, 2, 1);
    playback.m_nCounter = 7;
    playback.m_nToggle = 1;
    playback.m_nReserved = 5;
    playback.RestartCharaEffect();
    EXPECT_EQ(playback.m_nId, 1);
    EXPECT_EQ(playback.m_nMode, 2);
    EXPECT_EQ(playback.m_bLoop, 1);
    EXPECT_EQ(playback.m_bReversed, 1);
    EXPECT_EQ(playback.m_nTable, EFFECTTABLE_CHARA_REVERSED);
    EXPECT_EQ(playback.m_nCounter, 0);
    EXPECT_EQ(playback.m_nToggle, 0);
    EXPECT_EQ(playback.m_nReserved, 0);
    EXPECT_EQ(playback.m_dValue, 0.0);
}

TEST_F(EffectPlaybackTest, LoadingATemplateKeepsIdModeLoopAndDirection)
{
    SetCharaEffect(1, 11, {10, 32, 64, 0, 0});
    BuildTemplates();
    cEffectPlayback playback;
    playback.m_nId = 9;
    playback.m_nMode = 2;
    playback.m_bLoop = 1;
    playback.m_bReversed = 1;
    playback.LoadTemplate(g_CharaEffectTemplates.At(1));
    EXPECT_EQ(playback.m_nId, 9);
    EXPECT_EQ(playback.m_nMode, 2);
    EXPECT_EQ(playback.m_bLoop, 1);
    EXPECT_EQ(playback.m_bReversed, 1);
    EXPECT_EQ(&playback.CharaEntry(), &g_Database.m_CharaEffects[1]);
    EXPECT_EQ(playback.m_dValue, 32.0);
    EXPECT_EQ(playback.m_dStep, 32.0 / 60.0);
}

TEST_F(EffectPlaybackTest, ThePlayedEntryIsFoundAgainAfterItsListGrows)
{
    SetCharaEffect(1, 16, {10, 1, 4, 0, 0});
    BuildTemplates();
    cEffectPlayback playback;
    playback.StartCharaEffect(1, 1, 0);
    // A database list that moves to larger storage must not leave the playback behind.
    g_Database.m_CharaEffectsReverse.resize(g_Database.m_CharaEffectsReverse.capacity() * 4 + 64);
    EXPECT_EQ(playback.CharaEntry().m_nKind, 16);
    EXPECT_EQ(playback.CharaEntry().m_nParams[1], 4);
}

TEST_F(EffectPlaybackTest, AScreenEffectComparesItsTruncatedValue)
{
    SetScreenEffect(1, 9, {10, 0, 10, 0, 0});
    SetCharaEffect(1, 9, {10, 0, 10, 0, 0});
    BuildTemplates();
    cEffectPlayback screen;
    screen.StartScreenEffect(1, 0, 0);
    screen.m_dValue = 0.0;
    int step = 1;
    while (!screen.StepScreenEffect(0, 10, 1.0 / 6.0) && step < 1000) ++step;
    EXPECT_EQ(step, 67);   // once the value reaches 11
    cEffectPlayback chara;
    chara.StartCharaEffect(1, 0, 0);
    chara.m_dStep = 1.0 / 6.0;
    EXPECT_EQ(StepsToFinish(chara), 61);   // as soon as the value exceeds 10

    // Falling: finished once the truncated value is below the end.
    cEffectPlayback falling;
    falling.StartScreenEffect(1, 0, 0);
    falling.m_dValue = 2.0;
    EXPECT_EQ(falling.StepScreenEffect(2, 0, 1.5), 0);   // 0.5 truncates to 0
    EXPECT_EQ(falling.StepScreenEffect(2, 0, 1.5), 1);   // -1
}
