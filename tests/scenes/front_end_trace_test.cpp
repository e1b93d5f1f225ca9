// The harness trace line of a front-end frame: the scene that ran it, its state, the cursor
// stack, the modes and what the frame asked for.
#include <gtest/gtest.h>

#include "platform/os/random.h"
#include "scenes/front_end_trace.h"
#include "tests/scenes/front_end_fixture.h"

namespace {

class FrontEndTrace : public qbtest::cFrontEndTest {
protected:
    void TearDown() override
    {
        g_GameManager.DeleteScenes();
        qbtest::cFrontEndTest::TearDown();
    }
};

TEST_F(FrontEndTrace, NamesTheSceneThatRanTheFrameWithItsCursorStackAndRequests)
{
    g_GameManager.m_nScene = SCENE_TITLE;
    g_GameManager.ChangeScene(SCENE_TITLE);
    cScene& title = *g_GameManager.Scene(SCENE_TITLE);
    Frame(title);
    g_MenuCursor.m_pCurrent->nRow = 2;
    g_MenuCursor.Push(1);
    g_MenuCursor.m_pCurrent->nRow = 5;
    g_GameManager.m_nGameMode = GAMEMODE_CONTINUE;
    const std::vector<int> sounds{1, 3};
    const std::vector<std::pair<int, int>> bgm{{0, 0}};
    const std::vector<std::string> files{"user_data\\story\\Story04.dat", "user_data\\Option.dat"};
    std::string line;
    ASSERT_TRUE(FrontEndTraceLine(FRONTENDFRAME{12, sounds, bgm, files}, line));
    char seed[16];
    std::snprintf(seed, sizeof seed, "%08x", static_cast<unsigned>(plat::RandomState()));
    EXPECT_EQ(line, "frame=12 scene=0 state=0 sub=0 cursor=0:2,0:5 gmode=1 pmode=0 seed=" + std::string(seed) +
                        " se=1,3 bgm=0:0 files=user_data\\story\\Story04.dat,user_data\\Option.dat vol=- music=off")
        << "no sound effect loaded, the BGM manager stopped";

    // The frame whose fade-out handed over is still the title's.
    g_GameManager.m_nPrevScene = SCENE_TITLE;
    g_GameManager.m_nScene = SCENE_WORLDMAP;
    ASSERT_TRUE(FrontEndTraceLine(FRONTENDFRAME{13, {}, {}, {}}, line));
    EXPECT_NE(line.find("frame=13 scene=0 "), std::string::npos) << line;
    EXPECT_NE(line.find(" se=- bgm=- files=-"), std::string::npos) << line;

    // A stage's frames are not the front end's.
    g_GameManager.m_nScene = SCENE_PLAY;
    g_GameManager.m_nPrevScene = SCENE_PLAY;
    EXPECT_FALSE(FrontEndTraceLine(FRONTENDFRAME{14, {}, {}, {}}, line));
}

}  // namespace
