#include <gtest/gtest.h>

#include <cmath>

#include "data/database.h"
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
    EXPECT_EQ(normal.m_lpCharaEntry, &g_Database.m_CharaEffects[1]);
    EXPECT_EQ(normal.m_nFrom, 0);
    EXPECT_EQ(normal.m_nTo, 32);
    EXPECT_EQ(normal.m_dValue, 0.0);
    EXPECT_EQ(normal.m_dStep, 32.0 / 30.0);

    cEffectPlayback reversed;
    reversed.InitCharaEffectTemplate(1, 1);
    EXPECT_EQ(reversed.m_lpCharaEntry, &g_Database.m_CharaEffectsReverse[1]);
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
        EXPECT_EQ(playback.m_lpCharaEntry, &g_Database.m_CharaEffectsReverse[1]);
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
    EXPECT_EQ(move.m_lpScrEntry, &g_Database.m_ScrEffectsReverse[1]);
    EXPECT_EQ(move.m_nCounter, 3);   // start and end points swapped
    EXPECT_EQ(move.m_nToggle, 4);
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
