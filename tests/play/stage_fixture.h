#pragma once
// A stage built in code for the set-up and state tests: 13 x 15 blocks, a hero with an image,
// no time limit. The fixture keeps the program-wide records it changes and puts them back.
#include <memory>

#include "data/save_data.h"
#include "data/stage_data.h"
#include "data/system_data.h"
#include "objects/hero.h"
#include "play/game_manager.h"
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

class cStageFixture {
public:
    cStageFixture();
    ~cStageFixture();
    cStageFixture(const cStageFixture&) = delete;
    cStageFixture& operator=(const cStageFixture&) = delete;

    // The stage record as the loader would leave it: the backup takes its settings.
    void Commit() { g_StageBackup = g_StageData; }
    // A scene published as g_lpPlayScene, its set-up run as on entry.
    cPlayScene& NewScene();

    std::unique_ptr<cPlayScene> m_Scene;

private:
    cRestore<cStageData> m_Stage{g_StageData};
    cRestore<cStageData> m_Backup{g_StageBackup};
    cRestore<cSaveData> m_Save{g_SaveData};
    cRestore<cSystemData> m_System{g_SystemData};
    cRestore<int> m_GameMode{g_GameManager.m_nGameMode};
    cRestore<int> m_PlayMode{g_GameManager.m_nPlayMode};
    cRestore<int> m_Scene4{g_GameManager.m_nScene};
    cRestore<int> m_NextScene{g_GameManager.m_nNextScene};
    cRestore<int> m_PrevScene{g_GameManager.m_nPrevScene};
    cRestore<int> m_Fps{g_GameManager.m_nFps};
    cRestore<std::atomic<int>> m_TestPlay{g_bTestPlay};
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

}  // namespace qbtest
