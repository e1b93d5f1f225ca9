// The frame every front-end scene runs: player 1's input filtered for menus (the direction
// repeat, then the scene's one-shot buttons), Init once on the first frame, then the handler
// of the current state.
#include "play/scene.h"

#include <gtest/gtest.h>

#include <string>

#include "shell/input.h"
#include "tests/support/restore.h"

namespace {

// Notes Init and, in each state, the input words the state sees.
class cNotingScene : public cScene {
public:
    explicit cNotingScene(WORD oneShotButtons) : m_wOneShotButtons(oneShotButtons)
    {
        m_States = {static_cast<STATEHANDLER>(&cNotingScene::StateFirst),
                    static_cast<STATEHANDLER>(&cNotingScene::StateSecond)};
    }
    void Run() override { RunFrontEndFrame(m_wOneShotButtons); }
    void Init() override { m_strNotes += "init "; }
    void StateFirst()
    {
        Note("first");
        m_nState = 1;
    }
    void StateSecond() { Note("second"); }

    std::string m_strNotes;

private:
    void Note(const char* state)
    {
        const cInput& input = g_Input.At(0);
        m_strNotes += std::string(state) + " " + std::to_string(input.m_wDirection) + "/" +
                      std::to_string(input.m_wButton) + " ";
    }
    WORD m_wOneShotButtons;
};

// Right, decide and the ranking view (button 4) held for `frames` frames, as polling leaves
// them at the start of each frame.
std::string HoldFor(cNotingScene& scene, int frames)
{
    for (int frame = 0; frame < frames; ++frame) {
        cInput& input = g_Input.At(0);
        input.m_wDirection = DIR_RIGHT;
        input.m_wButton = 1 | 4;
        scene.Run();
    }
    return scene.m_strNotes;
}

class SceneFrame : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_Input.At(0) = cInput();
        g_Input.At(0).SetRepeat(18, 6);
    }
    qbtest::cRestore<cSafeVector<cInput>> m_RestoreInput{g_Input};
};

TEST_F(SceneFrame, InitRunsOnceOnTheFirstFrameBeforeTheFirstState)
{
    cNotingScene scene(3);
    EXPECT_EQ(scene.m_nState, -1);
    HoldFor(scene, 3);
    EXPECT_EQ(scene.m_strNotes.find("init "), 0u);
    EXPECT_EQ(scene.m_strNotes.find("init ", 1), std::string::npos);
    EXPECT_EQ(scene.m_nState, 1);
}

TEST_F(SceneFrame, TheSceneMaskDecidesWhichHeldButtonsReportOnlyOnce)
{
    // A held direction reports on its first frame and then waits for the repeat delay; a held
    // button of the mask reports on its first frame only, one outside the mask on every frame.
    cNotingScene titleLike(3);
    EXPECT_EQ(HoldFor(titleLike, 3), "init first 2/5 second 0/4 second 0/4 ");

    g_Input.At(0) = cInput();
    g_Input.At(0).SetRepeat(18, 6);
    cNotingScene worldMapLike(15);
    EXPECT_EQ(HoldFor(worldMapLike, 3), "init first 2/5 second 0/0 second 0/0 ");
}

}  // namespace
