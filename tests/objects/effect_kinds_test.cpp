#include <gtest/gtest.h>

#include <iterator>
#include <string>

#include "objects/effect_kinds.h"
#include "objects/shot_param_tables.h"
#include "tests/support/cp932_printer.h"

using qbtest::Cp932;

TEST(ParamDesc, SetFillsEveryFieldAndANullLabelIsEmpty)
{
    cParamDesc desc;
    desc.Set("分割数", 2, 16, 4);
    EXPECT_EQ(Cp932(desc.label), Cp932("分割数"));
    EXPECT_EQ(desc.minimum, 2);
    EXPECT_EQ(desc.maximum, 16);
    EXPECT_EQ(desc.defaultValue, 4);
    EXPECT_EQ(desc.Set(nullptr, -640, 6400, -1).label, "");
    EXPECT_EQ(desc.minimum, -640);
    EXPECT_EQ(desc.maximum, 6400);
}

TEST(EffectKinds, TablesHaveOneEntryPerKindAndCloseWithAnEmptyLabel)
{
    EXPECT_EQ(Cp932(g_CharaEffectLabels[0]), Cp932("破裂"));
    EXPECT_EQ(Cp932(g_CharaEffectLabels[15]), Cp932("ぼかし"));
    EXPECT_STREQ(g_CharaEffectLabels[16], "");
    EXPECT_STREQ(g_CharaEffectSpeedNotes[16], "");
    EXPECT_EQ(Cp932(g_ScrEffectLabels[12]), Cp932("モザイク"));
    EXPECT_STREQ(g_ScrEffectLabels[13], "");
    EXPECT_STREQ(g_ScrEffectSpeedNotes[13], "");
    for (int p = 0; p < kEffectParams; ++p) {
        EXPECT_EQ(g_CharaEffectParams[0][p].label, "");
        EXPECT_EQ(g_ScrEffectParams[0][p].maximum, 0);
    }
    // Every kind has its duration first.
    for (int k = 1; k < kCharaEffectKinds; ++k) EXPECT_EQ(g_CharaEffectParams[k][0].minimum, 1) << k;
    for (int k = 1; k < kScrEffectKinds; ++k) EXPECT_EQ(g_ScrEffectParams[k][0].maximum, 9999) << k;
}

TEST(EffectKinds, DefaultsGivenToParametersOldFilesLacked)
{
    struct Case { const cParamDesc& desc; int def; } cases[] = {
        {g_CharaEffectParams[4][4], 2},
        {g_CharaEffectParams[5][4], 2},
        {g_CharaEffectParams[10][3], 2},
        {g_ScrEffectParams[6][4], 8},
        {g_ScrEffectParams[10][3], 8},
        {g_ScrEffectParams[7][4], 10},
    };
    for (const auto& c : cases) EXPECT_EQ(c.desc.defaultValue, c.def) << qbtest::DescribeCp932(c.desc.label);
}

TEST(ShotParamTables, FormationAndTrajectoryParameters)
{
    EXPECT_EQ(Cp932(g_FormationParams[3][1].label), Cp932("列の数"));
    EXPECT_EQ(g_FormationParams[3][1].minimum, 1);
    EXPECT_EQ(g_FormationParams[2][0].defaultValue, 30);
    EXPECT_EQ(g_FormationParams[4][0].label, "");
    EXPECT_EQ(g_TrajectoryParams[8][2].maximum, 359);
    EXPECT_EQ(g_TrajectoryParams[5][1].defaultValue, 999);
    EXPECT_EQ(g_TrajectoryParams[0][0].label, "");
}
