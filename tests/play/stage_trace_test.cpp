// The harness trace line outside a stage: the fields that exist without a play scene, in the
// order the README gives.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/os/random.h"
#include "play/game_manager.h"
#include "play/play_scene.h"
#include "play/stage_trace.h"

TEST(StageTrace, OutsideAStageHoldsTheFrameTheSceneTheSeedAndTheSounds)
{
    ASSERT_EQ(g_lpPlayScene.load(), nullptr);
    char seed[16];
    std::snprintf(seed, sizeof seed, "%08x", plat::RandomState());
    const std::string prefix = "frame=7 scene=" + std::to_string(g_GameManager.m_nScene) + " state=- seed=" + seed;
    // BGM requests are a stage's field: a line without one leaves them out.
    EXPECT_EQ(StageTraceLine(7, {3, 12}, {{4, 2}}), prefix + " se=3,12");
    EXPECT_EQ(StageTraceLine(7, {}, {}), prefix + " se=-");
}
