// The databases meet the game objects: the effect parameters old database files lack take the
// defaults of the effect kind tables, and the animation patterns built from the database play
// in the frame animator.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "data/database.h"
#include "data/database_tables.h"
#include "objects/effect_kinds.h"
#include "objects/frame_animator.h"
#include "tests/data/database_file_builder.h"
#include "tests/data/record_test_support.h"

namespace {

// The parameters a version-510 entry of kind `kind` reads when every parameter is stored as -1.
std::array<int, 5> ReadOldEntry(int file, int kind)
{
    const std::string image = qbtest::cDatabaseFileBuilder(510, 1).EffectKind({"e", kind, {-1, -1, -1, -1, -1}}).Str();
    cDatabase db;
    cDataReader reader(image);
    EXPECT_TRUE(db.ReadList(file, reader));
    const int* stored = file == DATABASE_CHARAEFFECT ? db.m_CharaEffects.At(0).m_nParams : db.m_ScrEffects.At(0).m_nParams;
    std::array<int, 5> params{};
    for (int p = 0; p < 5; ++p) params[p] = stored[p];
    return params;
}

}  // namespace

TEST(DatabaseEffectUpgrade, ParametersOldFilesLackTakeTheDefaultsOfTheKindTables)
{
    qbtest::cDataSettingsScope settings;
    int upgraded = 0;
    for (int kind = 0; kind < kCharaEffectKinds; ++kind) {
        const std::array<int, 5> params = ReadOldEntry(DATABASE_CHARAEFFECT, kind);
        for (int p = 0; p < 5; ++p) {
            if (params[p] == -1) continue;
            ++upgraded;
            EXPECT_EQ(params[p], g_CharaEffectParams[kind][p].defaultValue) << "chara kind " << kind << " p" << p + 1;
        }
    }
    for (int kind = 0; kind < kScrEffectKinds; ++kind) {
        const std::array<int, 5> params = ReadOldEntry(DATABASE_SCREFFECT, kind);
        for (int p = 0; p < 5; ++p) {
            if (params[p] == -1) continue;
            ++upgraded;
            EXPECT_EQ(params[p], g_ScrEffectParams[kind][p].defaultValue) << "screen kind " << kind << " p" << p + 1;
        }
    }
    // Chara kinds 4, 5 and 10, screen kinds 6, 7 and 10: one parameter each.
    EXPECT_EQ(upgraded, 6);
}

TEST(DatabaseAnimePatterns, PlayInTheFrameAnimatorOnceOrForGood)
{
    qbtest::cDataSettingsScope settings;
    cDatabase saved(g_Database);
    cAnimeData twoFrames;
    twoFrames.m_Frames.resize(2);
    twoFrames.m_Frames[0].m_nFrame = 7;
    twoFrames.m_Frames[1].m_nFrame = 8;
    g_Database.m_Animes = {twoFrames, twoFrames};

    cFrameAnimator animator;
    BuildAnimeTables(animator.m_Patterns);
    ASSERT_EQ(animator.m_Patterns.size(), 2u);
    // Entry 0 loops over its frames; entry 1 plays each for 6 ticks, then reports its end mark.
    std::vector<int> looped, once;
    for (int tick = 0; tick < 4; ++tick) looped.push_back(animator.Tick());
    EXPECT_EQ(looped, (std::vector<int>{8, 7, 8, 7}));
    ASSERT_EQ(animator.SetPattern(1, 1), 1);
    for (int tick = 0; tick < 12; ++tick) once.push_back(animator.Tick());
    EXPECT_EQ(once, (std::vector<int>{7, 7, 7, 7, 7, 8, 8, 8, 8, 8, 8, kAnimeEnd}));
    g_Database = saved;
}
