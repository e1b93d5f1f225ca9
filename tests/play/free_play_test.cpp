#include "play/free_play.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "data/palette_data.h"
#include "data/save_data.h"
#include "data/stage_data.h"
#include "data/system_data.h"
#include "platform/os/files.h"
#include "platform/os/message_box.h"
#include "platform/os/messages.h"
#include "play/game_manager.h"
#include "shell/shared_flags.h"
#include "tests/support/demo_game.h"
#include "tests/support/restore.h"
#include "tests/support/temp_folder.h"

namespace {

class FreePlay : public ::testing::Test {
protected:
    void SetUp() override
    {
        plat::SetBoxesShownBySdl(false);
        ASSERT_TRUE(qbtest::WriteDemoGame(m_Folder.Path()));
        m_Folder.ChangeInto();
        ASSERT_TRUE(g_CommonPalette.Load("data\\CommonPalette.cplt4"));
    }

    qbtest::cRestore<cStageData> m_Stage{g_StageData};
    qbtest::cRestore<cStageData> m_Backup{g_StageBackup};
    qbtest::cRestore<cSaveData> m_Save{g_SaveData};
    qbtest::cRestore<cPaletteData> m_Common{g_CommonPalette};
    qbtest::cRestore<std::atomic<int>> m_TestPlay{g_bTestPlay};
    qbtest::cTempFolder m_Folder;
};

TEST_F(FreePlay, ReloadsTheStageRecordsOwnPath)
{
    g_bTestPlay.store(0);
    ASSERT_EQ(StartFreePlay("data\\stg4\\Meadow.stg4_001", 0), 1);
    const std::string path = g_StageData.m_strPath;
    ASSERT_FALSE(path.empty());
    // The fade-out of a free play loads the stage again from the record's own path, which the
    // load replaces while it reads.
    g_StageData.m_nWidth = 1;
    EXPECT_EQ(StartFreePlay(g_StageData.m_strPath.c_str(), 0), 1);
    EXPECT_EQ(g_StageData.m_strPath, path);
    EXPECT_EQ(g_StageData.m_nWidth, 40);
    EXPECT_EQ(g_SaveData.m_nStageNumber, 1);
    EXPECT_EQ(g_SaveData.m_nClearSwitch, 1) << "free play's stage number";
}

TEST_F(FreePlay, TestPlayGivesUnlimitedLivesAndFreePlayTheModesStartLives)
{
    struct Case { int testPlay; int lives; int startLives; } cases[] = {{1, 999999, 999999}, {0, 2, 3}};
    qbtest::cRestore<cSystemData> system(g_SystemData);
    g_SystemData.m_StartLives.assign(4, 3);
    g_SystemData.m_UnlimitedLives.assign(4, 0);
    for (const Case& c : cases) {
        g_bTestPlay.store(c.testPlay);
        ASSERT_EQ(StartFreePlay("data\\stg4\\Caves.stg4_001", 0), 1);
        EXPECT_EQ(g_SaveData.m_nLives, c.lives) << c.testPlay;
        EXPECT_EQ(g_SaveData.m_nStartLives, c.startLives) << c.testPlay;
    }
}

TEST_F(FreePlay, AReplayFileChosenForFreePlayPlaysItsStageWithoutClosingTheGame)
{
    // A replay: the stage as a stage file holds it, end mark included, then the replay's own
    // values and the progress snapshot, whose last four bytes are no end mark.
    const std::string stage = m_Folder.ReadFile("data/stg4/Meadow.stg4_001");
    cSaveData snapshot;
    snapshot.Reset();
    snapshot.m_nScore = 77;
    ASSERT_TRUE(snapshot.Save("snapshot.dat"));
    const std::string snapshotFile = m_Folder.ReadFile("snapshot.dat");
    std::string tail;
    for (std::uint32_t word : {1u, 12345u, 0u, 0u, 0u, 0u, 0u})
        for (int i = 0; i < 4; ++i) tail += static_cast<char>(word >> (8 * i) & 0xFF);
    m_Folder.WriteFile("data/stg4/Meadow.rpl4_692", stage + tail + snapshotFile.substr(4));
    plat::FlushPathCache();
    ASSERT_NE(snapshotFile.substr(snapshotFile.size() - 4), stage.substr(stage.size() - 4));

    g_bTestPlay.store(0);
    EXPECT_EQ(StartFreePlay("data\\stg4\\Meadow.rpl4_692", 0), 1);
    EXPECT_EQ(g_StageData.m_nWidth, 40);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_CLOSE, WM_CLOSE, PM_REMOVE)) << "no close as a damaged file";
}

TEST_F(FreePlay, AReplayThatCannotBeLoadedDeclinesWithoutClosingTheGame)
{
    // A damaged stage file ends the game; a replay is the player's file and only declines.
    const std::string stage = m_Folder.ReadFile("data/stg4/Meadow.stg4_001");
    m_Folder.WriteFile("data/stg4/Cut.stg4_001", stage.substr(0, stage.size() / 2));
    m_Folder.WriteFile("data/stg4/Cut.rpl4_692", stage.substr(0, stage.size() / 2));
    plat::FlushPathCache();
    struct Case { const char* path; bool closes; } cases[] = {
        {"data\\stg4\\Cut.rpl4_692", false},
        {"data\\stg4\\Gone.rpl4_692", false},
        {"data\\stg4\\Cut.stg4_001", true},
    };
    g_bTestPlay.store(0);
    for (const Case& c : cases) {
        EXPECT_EQ(StartFreePlay(c.path, 0), 0) << c.path;
        MSG msg;
        EXPECT_EQ(PeekMessageA(&msg, nullptr, WM_CLOSE, WM_CLOSE, PM_REMOVE) != 0, c.closes) << c.path;
    }
}

TEST(FreePlayFiles, ReplayFilesAreKnownByTheirExtension)
{
    struct Case { const char* path; bool replay; } cases[] = {
        {"user_data\\rpl4\\a.rpl4_692", true}, {"A.RPL4_692", true},       {"a.stg4_001", false},
        {"rpl4_692", false},                     {"a.rpl4.stg4_001", false}, {nullptr, false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsReplayFileName(c.path), c.replay) << (c.path ? c.path : "null");
}

TEST_F(FreePlay, AStageThatCannotBeLoadedFails)
{
    EXPECT_EQ(StartFreePlay("data\\stg4\\Missing.stg4_001", 0), 0);
}

}  // namespace
