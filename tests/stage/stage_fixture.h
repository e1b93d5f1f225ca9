#pragma once
// The one stage of the game-layer tests (play, objects, flow): a stage record built in code,
// the stage-play scene published as g_lpPlayScene, player 1 when a test asks for it, and scope
// guards that put back every program-wide value the fixture or its test changes, however the
// test ends. Each test changes what it needs on top.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "data/block_data.h"
#include "data/chara_data.h"
#include "data/database.h"
#include "data/item_data.h"
#include "data/palette_data.h"
#include "data/save_data.h"
#include "data/stage_data.h"
#include "data/system_data.h"
#include "objects/hero.h"
#include "play/block_grid.h"
#include "play/game_manager.h"
#include "play/modal_loop.h"
#include "play/play_scene.h"
#include "shell/game_requests.h"
#include "shell/input.h"
#include "shell/shared_flags.h"
#include "tests/support/restore.h"

namespace qbtest {

// A placed block at (column, row) of the stage, margins excluded.
cBlockData PlacedBlock(int column, int row, int image);
// A placed chara: the hero (operator 0) or another chara, with an image.
cCharaData PlacedChara(int column, int row, bool hero);
// A placed chara without HP whose start flow clears the stage: its defeat in the set-up begins
// the clear, and the first play frame finds the clear asked for again.
cCharaData ClearingChara(int column, int row);
// A stage chara template (kind 1, with a picture).
cCharaData StageCharaTemplate();

class cStageFixture {
public:
    static constexpr int kPlayerOneSerial = 1000;

    // A stage of width x height blocks (margins excluded), speed level 4, no time limit, its
    // hero placed at block (2, 5); progress reset, no replay recorded, free play entered from
    // the title, not a test play. A new scene is published.
    explicit cStageFixture(int width = 13, int height = 15);
    ~cStageFixture();
    cStageFixture(const cStageFixture&) = delete;
    cStageFixture& operator=(const cStageFixture&) = delete;

    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }

    // The stage record as the loader would leave it: the backup takes its settings.
    void Commit() { g_StageBackup = g_StageData; }
    // A new scene published as g_lpPlayScene in place of the one before, its set-up not run.
    cPlayScene& NewScene();
    cPlayScene& Scene() { return *m_Scene; }
    const cPlayScene& Scene() const { return *m_Scene; }

    // The camera over the whole stage with its margins, as the set-up gives it.
    void SetUpCamera();
    // An empty block grid of the stage's size.
    void BuildBlockGrid() { g_BlockGrid.Build(m_nWidth, m_nHeight); }
    // The cell of stage block (column, row), margins included.
    static cBlockCell& CellAt(int column, int row)
    {
        return g_BlockGrid.At(static_cast<int>(g_BlockGrid.CellIndex(column, row)));
    }
    // Player 1: a hero with its definition reset and serial kPlayerOneSerial, the scene's player one.
    cHero& AddPlayerOne();
    static cHero& PlayerOne() { return Player.At(0); }

private:
    int m_nWidth;
    int m_nHeight;
    cRestore<cStageData> m_Stage{g_StageData};
    cRestore<cStageData> m_Backup{g_StageBackup};
    cRestore<cSaveData> m_Save{g_SaveData};
    cRestore<cSystemData> m_System{g_SystemData};
    cRestore<cPaletteData> m_Palette{g_CommonPalette};
    cRestore<cDatabase> m_Database{g_Database};
    cRestore<int> m_GameMode{g_GameManager.m_nGameMode};
    cRestore<int> m_PlayMode{g_GameManager.m_nPlayMode};
    cRestore<int> m_SceneNumber{g_GameManager.m_nScene};
    cRestore<int> m_NextScene{g_GameManager.m_nNextScene};
    cRestore<int> m_PrevScene{g_GameManager.m_nPrevScene};
    cRestore<int> m_Fps{g_GameManager.m_nFps};
    cRestore<std::atomic<int>> m_TestPlay{g_bTestPlay};
    // A set-up that fails marks the run as failed, as the program's exit status reports it.
    cRestore<std::atomic<int>> m_RunFailed{g_bRunFailed};
    cRestore<cSafeVector<cInput>> m_Input{g_Input};
    cRestore<cBlockGrid> m_Grid{g_BlockGrid};
    // Player 1 outlives the scene's charas, which aim at it.
    cRestore<cSafeVector<cHero>> m_Players{Player};
    std::unique_ptr<cPlayScene> m_Scene;
};

// The stage of 40 x 20 blocks whose camera the objects under test read. Horizontal: stage
// [0, 1920), playfield [320, 1600), scroll limits [384, 1280). Vertical: stage [0, 1280),
// playfield [320, 960), scroll limits [352, 800).
class cViewStage : public cStageFixture {
public:
    cViewStage();
};

// The fixture as the base of a TEST_F suite, for the tests of a running stage's objects: the
// stage at speed level 10 with its camera at the top-left of the playfield, an empty block grid,
// one passable block in the common palette, summons not switched, and player 1.
class cStageTest : public ::testing::Test {
protected:
    static constexpr int kWidth = 13;
    static constexpr int kHeight = 15;

    cStageTest();

    cPlayScene& Scene() { return m_Stage.Scene(); }

    static cCharaData CharaTemplate() { return StageCharaTemplate(); }
    static cItemData ItemTemplate();
    // A solid block with a picture.
    static cBlockData SolidBlock(int number = 1);
    static cBlockCell& CellAt(int column, int row) { return cStageFixture::CellAt(column, row); }

    cStageFixture m_Stage{kWidth, kHeight};
    cHero& m_Player{m_Stage.AddPlayerOne()};
};

// The requests sent while it lives: BGM numbers of screen 4 and sound-table entries.
class cRequestLog {
public:
    cRequestLog();
    ~cRequestLog();
    cRequestLog(const cRequestLog&) = delete;
    cRequestLog& operator=(const cRequestLog&) = delete;

    static std::vector<int> s_StageBgm;
    static std::vector<int> s_Sounds;
};

// While it lives, a command's wait returns at once and leaves the wait it set as it was: for
// tests of what a command hands the loop (the loop's own tests run it on its thread).
class cNoModalLoops {
public:
    cNoModalLoops() { SetModalLoopStandIn([](cPlayScene&, MODALLOOP) {}); }
    ~cNoModalLoops() { SetModalLoopStandIn(nullptr); }
    cNoModalLoops(const cNoModalLoops&) = delete;
    cNoModalLoops& operator=(const cNoModalLoops&) = delete;
};

}  // namespace qbtest
