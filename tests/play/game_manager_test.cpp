#include "play/game_manager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/os/message_box.h"
#include "platform/os/timer.h"
#include "play/play_scene.h"
#include "shell/system_ini.h"
#include "shell/timing.h"

namespace {

// Scenes that note their making, frames and deletion by type; each frame takes
// g_nSceneWorkMs of the clock.
std::string g_strEvents;
DWORD g_nSceneWorkMs = 0;

class cFakeScene : public cScene {
public:
    explicit cFakeScene(int type) : m_nType(type) { g_strEvents += "new" + std::to_string(type) + " "; }
    ~cFakeScene() override { g_strEvents += "del" + std::to_string(m_nType) + " "; }
    void Run() override
    {
        if (m_nState < 0) m_nState = 0;
        g_strEvents += "run" + std::to_string(m_nType) + " ";
        if (g_nSceneWorkMs) Sleep(g_nSceneWorkMs);
    }
    int m_nType;
};

class cFakePlayScene : public cPlayScene {
public:
    cFakePlayScene() { g_strEvents += "new4 "; }
    ~cFakePlayScene() override { g_strEvents += "del4 "; }
};

bool g_bFailAllocation = false;
cScene* FakeFactory(int type)
{
    if (g_bFailAllocation) return nullptr;
    if (type == SCENE_PLAY) return new cFakePlayScene;
    return new cFakeScene(type);
}

class GameManager : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_strEvents.clear();
        g_bFailAllocation = false;
        g_nSceneWorkMs = 0;
        SetSceneFactory(FakeFactory);
        plat::SetBoxesShownBySdl(false);
        ResetTiming();
        m_nSavedShowFps = g_SystemIni.ShowFps;
    }
    void TearDown() override
    {
        m_Manager.DeleteScenes();
        SetSceneFactory(nullptr);
        SetFpsTextDrawer(nullptr);
        g_SystemIni.ShowFps = m_nSavedShowFps;
        ResetTiming();
        plat::SetClock(nullptr);
    }
    // Which scene types exist, as a string of digits.
    std::string Existing() const
    {
        std::string types;
        for (int t = 0; t < kSceneTypes; ++t)
            if (m_Manager.Scene(t)) types += static_cast<char>('0' + t);
        return types;
    }
    cGameManager m_Manager;
    int m_nSavedShowFps = 0;
};

TEST_F(GameManager, ChangeSceneKeepsOnlyTheRequestedSceneUnlessScenesAreKept)
{
    struct Case {
        std::vector<int> existing;
        int requested;
        int keep;
        const char* after;      // types that exist afterwards
        const char* events;     // deletions (in the switch's order) and the making
    } cases[] = {
        {{}, SCENE_TITLE, 0, "0", "new0 "},
        {{SCENE_TITLE}, SCENE_TITLE, 0, "0", ""},
        {{SCENE_TITLE}, SCENE_PLAY, 0, "4", "del0 new4 "},
        {{SCENE_PLAY}, SCENE_TITLE, 0, "0", "del4 new0 "},
        {{0, 1, 2, 3, 4, 5}, SCENE_OPTION, 0, "5", "del0 del2 del1 del3 del4 "},
        {{0, 1, 2, 3, 4, 5}, 6, 0, "", "del0 del2 del1 del3 del4 del5 "},
        {{0, 1, 2, 3, 4, 5}, -1, 0, "", "del0 del2 del1 del3 del4 del5 "},
        {{SCENE_TITLE, SCENE_WORLDMAP}, SCENE_STAGESELECT, 1, "013", "new3 "},
        {{SCENE_TITLE}, 6, 1, "0", ""},
        {{SCENE_WORLDMAP}, SCENE_WORLDMAP, 1, "1", ""},
    };
    for (const auto& c : cases) {
        m_Manager.m_bKeepScenes = 1;
        for (int type : c.existing) m_Manager.ChangeScene(type);
        g_strEvents.clear();
        m_Manager.m_bKeepScenes = c.keep;
        m_Manager.ChangeScene(c.requested);
        const std::string where = "requested " + std::to_string(c.requested) + " keep " + std::to_string(c.keep);
        EXPECT_EQ(Existing(), c.after) << where;
        EXPECT_EQ(g_strEvents, c.events) << where;
        m_Manager.m_bKeepScenes = 0;
        m_Manager.DeleteScenes();
    }
}

TEST_F(GameManager, ThePlaySceneGlobalLivesAsLongAsTheScene)
{
    m_Manager.ChangeScene(SCENE_PLAY);
    ASSERT_NE(g_lpPlayScene.load(), nullptr);
    EXPECT_EQ(g_lpPlayScene.load(), m_Manager.Scene(SCENE_PLAY));
    m_Manager.ChangeScene(SCENE_TITLE);
    EXPECT_EQ(g_lpPlayScene.load(), nullptr);

    m_Manager.ChangeScene(SCENE_PLAY);
    ASSERT_NE(g_lpPlayScene.load(), nullptr);
    m_Manager.DeleteScenes();
    EXPECT_EQ(g_lpPlayScene.load(), nullptr);
}

TEST_F(GameManager, DeleteScenesGoesInFieldOrder)
{
    m_Manager.m_bKeepScenes = 1;
    for (int type = 0; type < kSceneTypes; ++type) m_Manager.ChangeScene(type);
    g_strEvents.clear();
    m_Manager.DeleteScenes();
    EXPECT_EQ(g_strEvents, "del0 del1 del2 del3 del5 del4 ");
    EXPECT_EQ(Existing(), "");
}

TEST_F(GameManager, ASceneThatCannotBeAllocatedRunsNoFrame)
{
    g_bFailAllocation = true;
    m_Manager.ChangeScene(SCENE_TITLE);
    EXPECT_EQ(Existing(), "");
    m_Manager.ChangeScene(SCENE_PLAY);
    EXPECT_EQ(g_lpPlayScene.load(), nullptr);
}

TEST_F(GameManager, AFrameSwitchesToTheCurrentSceneAndRunsIt)
{
    plat::cManualClock clock;
    plat::SetClock(&clock);
    m_Manager.m_nFps = 60;
    static std::string hooks;
    hooks.clear();
    SetFrameHooks([] { hooks += "start "; }, [] { hooks += "end "; });

    m_Manager.m_nScene = SCENE_TITLE;
    EXPECT_TRUE(m_Manager.RunFrame());
    EXPECT_EQ(g_strEvents, "new0 run0 ");
    m_Manager.m_nScene = SCENE_PLAY;
    g_strEvents.clear();
    EXPECT_TRUE(m_Manager.RunFrame());
    EXPECT_EQ(g_strEvents, "del0 new4 ");   // the stage-play frame itself is not built
    m_Manager.m_nScene = 9;
    g_strEvents.clear();
    EXPECT_TRUE(m_Manager.RunFrame());
    EXPECT_EQ(g_strEvents, "del4 ");
    EXPECT_EQ(hooks, "start end start end start end ");

    SetFrameHooks(nullptr, nullptr);
    plat::SetClock(nullptr);
}

TEST_F(GameManager, TheFrameRateTextFollowsShowFpsAndItsAverageComesEvery16Frames)
{
    plat::cManualClock clock;
    plat::SetClock(&clock);
    static std::vector<std::string> s_Drawn;
    s_Drawn.clear();
    SetFpsTextDrawer([](int showFps, const char* text) { s_Drawn.push_back(std::to_string(showFps) + " " + text); });
    m_Manager.m_nFps = 60;
    m_Manager.m_nScene = SCENE_TITLE;
    g_nSceneWorkMs = 5;

    // Frames of a second not yet full count 0; the work time is 5 ms a frame, and its average
    // is published once 16 frames with the text switched on have filled the ring.
    struct Step { int showFps; int frames; const char* text; } steps[] = {
        {0, 8, nullptr},                // nothing drawn, the ring untouched
        {2, 15, "2 FPS 0( 0)"},
        {1, 1, "1 FPS 0( 5)"},
        {1, 3, "1 FPS 0( 5)"},
    };
    for (const auto& step : steps) {
        g_SystemIni.ShowFps = step.showFps;
        s_Drawn.clear();
        for (int i = 0; i < step.frames; ++i) ASSERT_TRUE(m_Manager.RunFrame());
        const std::vector<std::string> expected(step.text ? step.frames : 0, step.text ? step.text : "");
        EXPECT_EQ(s_Drawn, expected) << "ShowFps " << step.showFps;
    }
}

TEST(PingPongStep, BouncesBetweenItsLimits)
{
    struct Case { int value, falling, step; int newValue, newFalling; bool cycle; } cases[] = {
        {0, 0, 10, 10, 0, false},      // rising
        {250, 0, 10, 250, 1, false},   // would reach the top: turns, value kept
        {245, 0, 10, 245, 1, false},
        {100, 1, 10, 90, 1, false},    // falling
        {10, 1, 10, 10, 0, true},      // would reach the bottom: a full cycle
        {5, 1, 10, 5, 0, true},
        {100, 0, 0, 100, 0, false},    // step 0 stays put
        {100, 1, 0, 100, 1, false},
    };
    for (const auto& c : cases) {
        int value = c.value, falling = c.falling;
        EXPECT_EQ(PingPongStep(value, falling, c.step, 0, 255), c.cycle) << c.value << "/" << c.falling;
        EXPECT_EQ(value, c.newValue) << c.value << "/" << c.falling;
        EXPECT_EQ(falling, c.newFalling) << c.value << "/" << c.falling;
    }
}

}  // namespace
