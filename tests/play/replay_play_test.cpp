// Replays in stage play: what the play frame records, the previous attempt kept by each new
// one, the save keys, and an attempt saved to a file and played back frame for frame.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "data/replay_data.h"
#include "data/save_data.h"
#include "platform/input/keyboard.h"
#include "platform/os/file_ops.h"
#include "platform/os/timer.h"
#include "play/replay_state.h"
#include "tests/stage/stage_fixture.h"
#include "tests/support/temp_folder.h"
#include "tools/demo-game/demo_templates.h"

using qbtest::cRequestLog;
using qbtest::cStageFixture;

namespace {

constexpr WORD kRight = DIR_RIGHT;

// What one play frame leaves: player 1's position bits and the generator's next draw.
struct FRAMETRACE {
    std::uint64_t x, y;
    int draw;
    bool operator==(const FRAMETRACE&) const = default;
};

class ReplayPlay : public ::testing::Test {
protected:
    ReplayPlay()
    {
        m_Folder.ChangeInto();
        plat::SetClock(&m_Clock);
        m_Clock.Set(777000ull * 1000);
        g_SystemData.m_bRecordReplay = 1;
        g_ReplayData.Clear();
        g_PrevReplayData.Clear();
        for (int column = 0; column < 13; ++column) g_StageData.m_Blocks.push_back(qbtest::PlacedBlock(column, 6, 1));
        // The demo's hero, which walks by its flows, at (2, 5).
        cCharaData& hero = g_StageData.m_Charas.At(g_StageData.FindHero());
        hero = DemoHero();
        hero.m_nColumn = 2;
        hero.m_nRow = 5;
        hero.m_nHeldItem = -1;
        ResetReplaySaveCoolDown();
    }
    ~ReplayPlay() override
    {
        plat::SetClock(nullptr);
        for (int key : {VK_F1, VK_F2}) plat::SetKeyState(key, false);
    }

    cPlayScene& Start(int reload)
    {
        plat::SetKeyState(VK_SPACE, false);
        if (!reload) m_Fixture.Commit();
        cPlayScene& scene = m_Fixture.NewScene();
        scene.SetStage(reload, 1);
        scene.m_nState = PLAYSTATE_PLAY;
        return scene;
    }

    // Runs frames with player 1's words from the script (direction, buttons), one a frame,
    // and what each frame leaves. A draw per frame makes the generator's state part of it.
    static std::vector<FRAMETRACE> Play(cPlayScene& scene, const std::vector<std::pair<WORD, WORD>>& script)
    {
        std::vector<FRAMETRACE> trace;
        for (const auto& [direction, buttons] : script) {
            g_Input.At(0).m_wDirection = direction;
            g_Input.At(0).m_wButton = buttons;
            scene.Run();
            const cHero& hero = Player.At(0);
            trace.push_back({std::bit_cast<std::uint64_t>(hero.m_dX), std::bit_cast<std::uint64_t>(hero.m_dY), std::rand()});
        }
        return trace;
    }

    cStageFixture m_Fixture;
    qbtest::cTempFolder m_Folder;
    plat::cManualClock m_Clock;
    qbtest::cRestore<cReplayData> m_Replay{g_ReplayData};
    qbtest::cRestore<cReplayData> m_PrevReplay{g_PrevReplayData};
    qbtest::cRestore<cSaveData> m_AtStart{g_SaveAtStageStart};
    qbtest::cRestore<cSaveData> m_AtPrevStart{g_SaveAtPrevStageStart};
};

std::vector<std::pair<WORD, WORD>> Repeat(WORD direction, WORD buttons, int frames)
{
    return std::vector<std::pair<WORD, WORD>>(static_cast<std::size_t>(frames), {direction, buttons});
}

}  // namespace

TEST_F(ReplayPlay, PlayFramesRecordPlayerOnesWordsAndANewAttemptKeepsTheFinishedOne)
{
    cPlayScene& scene = Start(0);
    EXPECT_EQ(g_ReplayData.m_nSeed, 777000);
    Play(scene, Repeat(kRight, 0, 10));
    Play(scene, Repeat(0, 2, 5));
    // Frames outside play record nothing.
    scene.m_nState = PLAYSTATE_PAUSE;
    Play(scene, Repeat(kRight, 1, 3));
    EXPECT_EQ(g_ReplayData.m_DirectionValues, (cSafeVector<std::uint16_t>{kRight, 0}));
    EXPECT_EQ(g_ReplayData.m_DirectionRuns, (cSafeVector<std::uint32_t>{10, 5}));
    EXPECT_EQ(g_ReplayData.m_ButtonValues, (cSafeVector<std::uint16_t>{0, 2}));
    EXPECT_EQ(g_ReplayData.m_ButtonRuns, (cSafeVector<std::uint32_t>{10, 5}));

    const cReplayData finished = g_ReplayData;
    g_SaveData.m_nLives = 4;
    m_Clock.Set(888000ull * 1000);
    scene.SetStage(1, 0);
    EXPECT_EQ(g_PrevReplayData.m_DirectionRuns, finished.m_DirectionRuns);
    EXPECT_EQ(g_PrevReplayData.m_nSeed, 777000);
    EXPECT_FALSE(g_ReplayData.HasFrames());
    EXPECT_EQ(g_ReplayData.m_nSeed, 888000);
    EXPECT_EQ(g_SaveAtStageStart.m_nLives, 4);
}

TEST_F(ReplayPlay, TheSaveKeysRefuseAnEmptyAttemptOnceASecondAndSendForARecordedOne)
{
    Start(0);
    cRequestLog log;
    plat::SetKeyState(VK_F2, true);
    int acted = 0;
    for (int frame = 0; frame < 61; ++frame) acted += CheckReplaySaveKeys() ? 1 : 0;
    EXPECT_EQ(acted, 0);
    EXPECT_EQ(cRequestLog::s_Sounds, (std::vector<int>{3, 3}));   // frames 1 and 61
    plat::SetKeyState(VK_F2, false);

    cRequestLog second;
    g_ReplayData.Record(kRight, 0);
    plat::SetKeyState(VK_F1, true);
    EXPECT_TRUE(CheckReplaySaveKeys());
    EXPECT_EQ(cRequestLog::s_Sounds, (std::vector<int>{1}));

    // Playback and a switched-off recording leave the keys alone.
    for (int mode : {GAMEMODE_REPLAY, GAMEMODE_FREEPLAY}) {
        g_GameManager.m_nGameMode = mode;
        g_SystemData.m_bRecordReplay = mode == GAMEMODE_REPLAY ? 1 : 0;
        EXPECT_FALSE(CheckReplaySaveKeys()) << mode;
    }
    EXPECT_EQ(cRequestLog::s_Sounds, (std::vector<int>{1}));
}

TEST_F(ReplayPlay, ASavedAttemptPlaysBackFrameForFrameAndThenAgainFromItsStart)
{
    cPlayScene& scene = Start(0);
    std::vector<std::pair<WORD, WORD>> script = Repeat(kRight, 0, 90);
    const std::vector<FRAMETRACE> recorded = Play(scene, script);
    // 90 frames of walking right on a flat floor, 3 pixels a frame from (10 + 2) * 32 + 8.5.
    EXPECT_EQ(Player.At(0).m_dX, 662.5);
    ASSERT_EQ(SaveAttemptReplay("walk.rpl4_692", 0), 1);

    g_GameManager.m_nGameMode = GAMEMODE_REPLAY;
    g_StageData.m_nWidth = 99;   // whatever the stage became, the file's stage plays
    ASSERT_EQ(LoadReplayForPlay("walk.rpl4_692"), 1);
    EXPECT_EQ(g_StageData.m_nWidth, 13);
    cPlayScene& playback = Start(1);
    // The live input plays no part.
    const std::vector<FRAMETRACE> played = Play(playback, Repeat(DIR_LEFT, 1, 90));
    EXPECT_TRUE(played == recorded);
    ASSERT_EQ(playback.m_nState, PLAYSTATE_PLAY);
    playback.Run();   // no draw of the test's after it: the restart has seeded the generator
    EXPECT_EQ(playback.m_nState, PLAYSTATE_READY);
    playback.m_nState = PLAYSTATE_PLAY;
    EXPECT_TRUE(Play(playback, Repeat(0, 0, 90)) == recorded);
}


TEST_F(ReplayPlay, AnAttemptEndedByADeathIsThePreviousOneThatF2SavesAndItPlaysBack)
{
    // A pit in the floor: walking right, the hero falls to the stage's bottom and dies.
    std::erase_if(g_StageData.m_Blocks, [](const cBlockData& block) { return block.m_nColumn >= 6; });
    g_SaveData.m_nLives = 3;
    cPlayScene& scene = Start(0);
    const int setUps = scene.m_nSetUpCount;
    std::vector<FRAMETRACE> recorded;
    // The death display ends in the frame that sets the stage up again.
    for (int frame = 0; frame < 600 && scene.m_nSetUpCount == setUps; ++frame) {
        const std::vector<FRAMETRACE> one = Play(scene, Repeat(kRight, 0, 1));
        if (scene.m_nSetUpCount == setUps) recorded.push_back(one.front());
    }
    ASSERT_EQ(scene.m_nSetUpCount, setUps + 1) << "the hero died and the stage began again";
    ASSERT_GT(recorded.size(), 61u) << "a walk, then the death display's 61 frames";
    EXPECT_EQ(scene.m_nState, PLAYSTATE_READY);
    EXPECT_FALSE(g_ReplayData.HasFrames());
    ASSERT_EQ(SaveAttemptReplay("died.rpl4_692", 1), 1);

    g_GameManager.m_nGameMode = GAMEMODE_REPLAY;
    ASSERT_EQ(LoadReplayForPlay("died.rpl4_692"), 1);
    cPlayScene& playback = Start(1);
    const std::vector<FRAMETRACE> played = Play(playback, Repeat(0, 0, static_cast<int>(recorded.size())));
    EXPECT_TRUE(played == recorded);
    EXPECT_EQ(playback.m_nState, PLAYSTATE_PLAY);
}

TEST_F(ReplayPlay, AReplayStartsWhereItsAttemptStartedWithTheLivesItHad)
{
    // A stored start (a checkpoint's) moves the hero's placement in the set-up.
    g_SaveData.m_bFollowUp = 1;
    g_SaveData.m_nFollowUpA = 4;
    g_SaveData.m_nFollowUpB = 5;
    g_SaveData.m_nFollowUpC = 1;
    g_SaveData.m_nLives = 3;
    g_SaveData.m_nStartLives = 5;
    cPlayScene& scene = Start(0);
    const double homeX = Player.At(0).m_dHomeX;
    EXPECT_EQ(g_StageData.m_Charas.At(g_StageData.FindHero()).m_nColumn, 4);
    Play(scene, Repeat(kRight, 0, 10));
    ASSERT_EQ(SaveAttemptReplay("start.rpl4_692", 0), 1);

    g_SaveData.m_nLives = 1;
    g_GameManager.m_nGameMode = GAMEMODE_REPLAY;
    ASSERT_EQ(LoadReplayForPlay("start.rpl4_692"), 1);
    EXPECT_EQ(g_StageData.m_Charas.At(g_StageData.FindHero()).m_nColumn, 2) << "the placement as the attempt began";
    EXPECT_EQ(g_SaveData.m_nLives, 3);

    // The first loop from the title reads the file as every later one: no life is taken.
    g_SaveData.m_nLives = 1;
    g_GameManager.m_nPrevScene = SCENE_TITLE;
    cPlayScene& playback = m_Fixture.NewScene();
    playback.EnterStage(false);
    ASSERT_EQ(playback.m_nSetUpCount, 1);
    EXPECT_EQ(g_SaveData.m_nLives, 3);
    EXPECT_EQ(Player.At(0).m_dHomeX, homeX);
}

TEST_F(ReplayPlay, AReplayWhoseFileIsGoneWhenItPlaysAgainEndsAtTheTitle)
{
    cPlayScene& scene = Start(0);
    Play(scene, Repeat(kRight, 0, 5));
    ASSERT_EQ(SaveAttemptReplay("gone.rpl4_692", 0), 1);
    g_GameManager.m_nGameMode = GAMEMODE_REPLAY;
    ASSERT_EQ(LoadReplayForPlay("gone.rpl4_692"), 1);
    cPlayScene& playback = Start(1);
    ASSERT_EQ(std::remove("gone.rpl4_692"), 0);
    Play(playback, Repeat(0, 0, 6));   // the fifth frame ends the replay, which cannot be read again
    EXPECT_EQ(playback.m_nState, PLAYSTATE_READY);
    playback.Run();
    EXPECT_EQ(playback.m_nState, PLAYSTATE_FADEOUT);
    EXPECT_EQ(g_GameManager.m_nNextScene, SCENE_TITLE);
}

TEST_F(ReplayPlay, ASaveOnAFullDiskKeepsTheOldFileAndPlayGoesOn)
{
    cPlayScene& scene = Start(0);
    Play(scene, Repeat(kRight, 0, 5));
    m_Folder.WriteFile("full.rpl4_692", "an older replay");
    for (std::int64_t after : {0, 100, 4000}) {
        plat::FailCommitsAfter(after);
        EXPECT_EQ(SaveAttemptReplay("full.rpl4_692", 0), 0) << after;
        plat::FailCommitsAfter(-1);
        EXPECT_EQ(m_Folder.ReadFile("full.rpl4_692"), "an older replay") << after;
    }
    Play(scene, Repeat(kRight, 0, 5));
    EXPECT_EQ(scene.m_nState, PLAYSTATE_PLAY);
    EXPECT_EQ(g_ReplayData.m_DirectionRuns, (cSafeVector<std::uint32_t>{10}));
}
