#include "play/replay_state.h"

#include <atomic>

#include "data/replay_file.h"
#include "data/system_data.h"
#include "platform/input/keyboard.h"
#include "platform/os/messages.h"
#include "platform/os/timer.h"
#include "play/game_manager.h"
#include "shell/error_box.h"
#include "shell/game_requests.h"
#include "shell/input.h"
#include "shell/shared_flags.h"

namespace {

// The hero's placement as an attempt began: the set-up writes a stored start into the
// placement, and a replay must start where its attempt started.
struct HEROATSTART {
    int nIndex = -1;
    cCharaData placement;
};
HEROATSTART s_HeroAtStageStart;
HEROATSTART s_HeroAtPrevStageStart;

std::atomic<int> s_nSaveCoolDown{0};

// Sends a request to the window thread and waits for its done flag; a window that is gone (the
// program closing) answers nothing.
void SendRequestAndWait(UINT message, WPARAM wParam)
{
    g_bRequestDone.store(0);
    SendMessageA(g_hWnd.load(), message, wParam, 0);
    while (!g_bRequestDone.load() && g_hWnd.load()) Sleep(1);
}

bool KeyDown(int key) { return (GetAsyncKeyState(key) & 0x8000) != 0; }

}  // namespace

void cReplayState::Record(const cInput& input)
{
    g_ReplayData.Record(input.m_wDirection, input.m_wButton);
}

int cReplayState::Play(cInput& input)
{
    std::uint16_t direction = 0, button = 0;
    if (g_ReplayData.Playback(direction, button)) return 1;
    input.m_wDirection = direction;
    input.m_wButton = button;
    return 0;
}

void cReplayState::BeginAttempt(bool replaying, const cStageData& stage, const cSaveData& save)
{
    if (replaying) {
        g_ReplayData.Rewind();
        m_nSeed = g_ReplayData.m_nSeed;
        return;
    }
    if (!g_SystemData.m_bRecordReplay) return;
    g_SaveAtPrevStageStart = g_SaveAtStageStart;
    g_SaveAtStageStart = save;
    s_HeroAtPrevStageStart = s_HeroAtStageStart;
    s_HeroAtStageStart.nIndex = stage.FindHero();
    if (s_HeroAtStageStart.nIndex >= 0) s_HeroAtStageStart.placement = stage.m_Charas.At(s_HeroAtStageStart.nIndex);
    g_PrevReplayData = g_ReplayData;
    g_ReplayData.Clear();
    m_nSeed = static_cast<int>(timeGetTime());
    g_ReplayData.m_nSeed = m_nSeed;
}

bool cReplayState::ReloadStage(std::string path)
{
    cStageData settings;
    if (LoadReplayFile(path.c_str(), g_ReplayData, g_StageData, settings, g_SaveData)) return true;
    ErrorBoxF("リプレイファイル %s の読み込みに失敗しました！", path.c_str());
    m_bReplayLost = 1;
    return false;
}

bool CheckReplaySaveKeys()
{
    if (g_GameManager.m_nGameMode == GAMEMODE_REPLAY || !g_SystemData.m_bRecordReplay) return false;
    if (s_nSaveCoolDown.load() > 0) s_nSaveCoolDown.fetch_sub(1);
    WPARAM which = 0;
    const cReplayData* subject = nullptr;
    if (KeyDown(VK_F1)) {
        subject = &g_ReplayData;
    } else if (KeyDown(VK_F2)) {
        subject = &g_PrevReplayData;
        which = 1;
    } else {
        return false;
    }
    if (!subject->HasFrames()) {
        if (s_nSaveCoolDown.load() <= 0) {
            PlaySe(3);
            s_nSaveCoolDown.store(kReplaySaveCoolDown);
        }
        return false;
    }
    PlaySe(1);
    SendRequestAndWait(WM_GAME_SAVEREPLAY, which);
    return true;
}

void ResetReplaySaveCoolDown()
{
    s_nSaveCoolDown.store(0);
}

int RequestReplayLoad()
{
    SendRequestAndWait(WM_GAME_OPENREPLAY, 0);
    return g_bRequestDone.load() && g_bFileChosen.load() ? 1 : 0;
}

int SaveAttemptReplay(const char* path, int previous)
{
    const cReplayData& replay = previous ? g_PrevReplayData : g_ReplayData;
    const cSaveData& snapshot = previous ? g_SaveAtPrevStageStart : g_SaveAtStageStart;
    const HEROATSTART& hero = previous ? s_HeroAtPrevStageStart : s_HeroAtStageStart;
    int saved = 0;
    if (hero.nIndex >= 0 && static_cast<std::size_t>(hero.nIndex) < g_StageData.m_Charas.size()) {
        cStageData stage(g_StageData);
        stage.m_Charas.At(hero.nIndex) = hero.placement;
        saved = SaveReplayFile(path, stage, g_StageBackup, replay, snapshot);
    } else {
        saved = SaveReplayFile(path, g_StageData, g_StageBackup, replay, snapshot);
    }
    if (!saved) ErrorBoxF("リプレイファイル %s の保存に失敗しました！", (path && *path) ? path : "");
    return saved;
}

int LoadReplayForPlay(const char* path)
{
    if (LoadReplayFile(path, g_ReplayData, g_StageData, g_StageBackup, g_SaveData)) return 1;
    ErrorBoxF("リプレイファイル %s の読み込みに失敗しました！", (path && *path) ? path : "");
    return 0;
}
