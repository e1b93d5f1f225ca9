#include <gtest/gtest.h>

#include <vector>

#include "platform/input/keyboard.h"
#include "tests/play/stage_fixture.h"

using qbtest::cRequestLog;
using qbtest::cStageFixture;

namespace {

class PlayFrame : public ::testing::Test {
protected:
    cPlayScene& Scene()
    {
        plat::SetKeyState(VK_SPACE, false);
        m_Fixture.Commit();
        cPlayScene& scene = m_Fixture.NewScene();
        scene.SetStage(0, 1);
        scene.m_nState = PLAYSTATE_PLAY;
        return scene;
    }
    // A floor under the hero, so that it stands through long runs instead of falling out.
    static void AddFloor()
    {
        for (int column = 0; column < 13; ++column) g_StageData.m_Blocks.push_back(qbtest::PlacedBlock(column, 6, 1));
    }
    void Frames(cPlayScene& scene, int n)
    {
        for (int i = 0; i < n; ++i) scene.Run();
    }

    cStageFixture m_Fixture;
};

TEST_F(PlayFrame, TheTimeLimitCountsEvery60thFrameAndRunsOutWithSound8)
{
    g_StageData.m_bTimeLimit = 1;
    g_StageData.m_nTimeLimit = 2;
    // No time warning, whose sound 13 would come each second: the time-out's sound alone.
    g_StageData.m_nTimeWarning = 0;
    AddFloor();
    cPlayScene& scene = Scene();
    cRequestLog log;
    Frames(scene, 59);
    EXPECT_EQ(scene.m_nTimeLeft, 2);
    Frames(scene, 1);
    EXPECT_EQ(scene.m_nTimeLeft, 1);
    EXPECT_TRUE(cRequestLog::s_Sounds.empty());
    const int steps = scene.m_nSubStepTotal;
    Frames(scene, 60);
    EXPECT_EQ(scene.m_nTimeLeft, 0);
    EXPECT_EQ(cRequestLog::s_Sounds, std::vector<int>{8});
    EXPECT_EQ(scene.m_nSubStepTotal, steps + 59 * 4) << "the frame of the time-out runs no sub-step";
}

TEST_F(PlayFrame, WithoutALimitTheTimeStaysAt999AndThePlayTimeCountsHundredths)
{
    AddFloor();
    cPlayScene& scene = Scene();
    Frames(scene, 90);
    EXPECT_EQ(scene.m_nTimeLeft, 999);
    EXPECT_EQ(scene.m_nPlayFrames, 90);
    EXPECT_EQ(scene.m_nPlayTime, 150);
    EXPECT_EQ(scene.m_nFrame, 90);
    EXPECT_EQ(scene.m_nSubStepTotal, 360);   // speed level 4: four sub-steps a frame
    EXPECT_EQ(scene.m_nSubStep, 4);
}

TEST_F(PlayFrame, ACharaWhoseLifetimeRunsOutIsUnlinkedInTheSubStepItGoesBelowZero)
{
    g_StageData.m_Charas.push_back(qbtest::PlacedChara(5, 5, false));
    g_StageData.m_Charas.push_back(qbtest::PlacedChara(7, 5, false));
    cPlayScene& scene = Scene();
    ASSERT_EQ(scene.m_Charas.size(), 2u);
    scene.m_Charas.front().m_nLife = 1;   // 0 after sub-step 1, below 0 in sub-step 2
    scene.Run();
    ASSERT_EQ(scene.m_Charas.size(), 1u);
    EXPECT_EQ(scene.m_Charas.front().m_nSerial, 2);
    EXPECT_EQ(scene.m_CharaLayers.At(1).size(), 2u) << "the hero and the chara that stays";
}

TEST_F(PlayFrame, TheQuitRequestEndsTheFrameBeforeAnythingCounts)
{
    cPlayScene& scene = Scene();
    scene.m_nQuitRequest.store(1);
    scene.Run();
    EXPECT_EQ(scene.m_nFrame, 0);
    EXPECT_EQ(scene.m_nSubStepTotal, 0);
}

}  // namespace
