// The stress stage of the play benchmark: the same bytes on every run, and a stage that reads
// back with the crowd the benchmark's report names.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "data/command_info.h"
#include "data/database.h"
#include "data/palette_data.h"
#include "data/role_accessors.h"
#include "data/stage_data.h"
#include "platform/os/files.h"
#include "tests/support/restore.h"
#include "tests/support/temp_folder.h"
#include "tools/stage-generator/stress_stage.h"

TEST(StressStage, IsTheSameBytesOnEveryRun)
{
    qbtest::cTempFolder first, second;
    std::string error;
    ASSERT_TRUE(BuildStressGame(first.Path().string(), error)) << error;
    ASSERT_TRUE(BuildStressGame(second.Path().string(), error)) << error;
    const std::string file = "data/stg4/Stress.stg4_001";
    ASSERT_TRUE(first.Exists(file));
    EXPECT_TRUE(first.ReadFile(file) == second.ReadFile(file));
}

TEST(StressStage, ReadsBackWithAnAwakeCrowdOnFourLayersAndItsBackgrounds)
{
    qbtest::cTempFolder folder;
    std::string error;
    ASSERT_TRUE(BuildStressGame(folder.Path().string(), error)) << error;
    folder.ChangeInto();
    qbtest::cRestore<cDatabase> database(g_Database);
    qbtest::cRestore<cPaletteData> common(g_CommonPalette);
    ASSERT_EQ(g_Database.Load(), 1);
    ASSERT_TRUE(g_CommonPalette.Load("data\\CommonPalette.cplt4"));

    cStageData stage;
    ASSERT_TRUE(stage.Load(kStressStageFile));
    EXPECT_TRUE(stage.HasHero());
    EXPECT_EQ(stage.m_nSubSteps, 10);
    ASSERT_EQ(stage.m_Charas.size(), static_cast<std::size_t>(kStressCharas + 1));
    int blockLike = 0;
    std::set<int> layers;
    for (const cCharaData& chara : stage.m_Charas) {
        if (CharaKind(chara) == 0) continue;
        blockLike += CharaIsBlock(chara) != 0;
        layers.insert(CharaLayer(chara));
        EXPECT_EQ(CharaActivationMode(chara), 3);
        EXPECT_EQ(CharaKeepAwake(chara), 1);
        ASSERT_EQ(chara.m_Flows.size(), 1u);
        const cFlowData& flow = chara.m_Flows[0];
        EXPECT_EQ(flow.m_nTrigger, TRIGGER_ALWAYS);
        bool moves = false, draws = false;
        int rings = 0;
        for (const cCommandData& command : flow.m_Commands) {
            moves |= command.m_nKind == COMMAND_STRAIGHT_MOVE && command.m_pMove;
            draws |= command.m_nKind == COMMAND_STATUS && command.m_Params.At(6) == 1;
            if (command.m_nKind == COMMAND_SHOT && command.m_pShot && command.m_pShot->m_nFormationCount == kStressVolley)
                ++rings;
        }
        EXPECT_TRUE(moves && draws);
        // Every chara that is not block-like fires a ring of shots as each leg starts.
        EXPECT_EQ(rings, CharaIsBlock(chara) ? 0 : 2);
    }
    EXPECT_EQ(blockLike, kStressBlockCharas);
    EXPECT_EQ(static_cast<int>(layers.size()), kStressHitLayers);
    ASSERT_EQ(stage.m_Backgrounds.size(), static_cast<std::size_t>(kStressBackgrounds));
    for (const cBackgroundData& background : stage.m_Backgrounds)
        EXPECT_NE(GetFileAttributesA(background.m_strPicture.c_str()), INVALID_FILE_ATTRIBUTES);
}
