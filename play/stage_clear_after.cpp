// What follows a clear once the player leaves its display: the statuses the next stage takes
// over, the progress of the game mode, and the next scene. A numbered series loads its next
// part here and stays in the stage-play scene.
#include <algorithm>
#include <cstddef>
#include <string>

#include "data/replay_data.h"
#include "data/save_data.h"
#include "data/stage_data.h"
#include "data/stage_loader.h"
#include "objects/hero.h"
#include "play/game_manager.h"
#include "play/menu_cursor.h"
#include "play/play_scene.h"
#include "play/stage_clear.h"
#include "play/world_entry.h"
#include "shell/error_box.h"
#include "shell/log.h"
#include "shell/shared_flags.h"

namespace {

constexpr int kAfterClearNextRound = 1;
constexpr int kAfterClearTitle = 2;

void CarryHeroStatuses(const cPlayScene& scene)
{
    if (!g_StageData.m_bCarryStatus) return;
    cSaveData& save = g_SaveData;
    const int players = std::min(scene.m_nPlayers, static_cast<int>(Player.size()));
    for (int i = 0; i < players; ++i) {
        const cHero& hero = Player[static_cast<std::size_t>(i)];
        const cEffectPlayback& effect = hero.m_DrawEffect.m_EffectPlayback;
        save.StoreHeroStatus(i, hero.m_Def, hero.m_nHp, hero.m_nSp, effect.m_nId, effect.m_nMode, effect.m_bLoop,
                             scene.m_TimeLimit.m_nTimeLeft, save.m_nLives, save.m_nStageBgm);
    }
}

// The next part of the series the clear asked for, loaded into the stage record: true when the
// scene goes on with it. A part that is missing or cannot be read ends the series; its box has
// been shown, and the game goes on with the clear.
bool LoadNextSeriesPart(const cPlayScene& scene)
{
    const int next = scene.m_StageClear.m_nNextStage;
    if (!g_SaveData.m_bSeries || next == 0) return false;
    g_SaveData.m_nSeriesNumber = next;
    std::string path;
    if (!MakeNextStagePath(scene, path, next)) return false;
    if (!LoadStage(path.c_str(), 1, &g_StageBackup, false)) return false;
    g_ReplayData.Clear();
    g_PrevReplayData.Clear();
    return true;
}

// The story's clear switch: a number outside the switches sets nothing.
void SetStoryClearSwitch()
{
    cSaveData& save = g_SaveData;
    const int n = save.m_nClearSwitch;
    if (n < 0 || static_cast<std::size_t>(n) >= save.m_Switches.size()) {
        ReportLog("clear: switch %d is outside the %zu switches; none was set", n, save.m_Switches.size());
        return;
    }
    save.m_Switches[static_cast<std::size_t>(n)] = 1;
}

int AfterStoryClear(const cPlayScene& scene, int part)
{
    if (LoadNextSeriesPart(scene)) return SCENE_PLAY;
    cSaveData& save = g_SaveData;
    SetStoryClearSwitch();
    save.RecordStageValue(save.m_strStageKey, save.m_nResult1);
    save.m_nSeriesNumber = part;
    const int setting = CurrentAfterClearSetting();
    if (setting == kAfterClearNextRound) save.StartNextRound();
    if (setting == kAfterClearTitle) {
        g_MenuCursor.m_pCurrent->nRow = g_GameManager.m_nGameMode;
        return SCENE_TITLE;
    }
    return SCENE_WORLDMAP;
}

int AfterChallengeClear(const cPlayScene& scene, int part)
{
    if (LoadNextSeriesPart(scene)) return SCENE_PLAY;
    cSaveData& save = g_SaveData;
    const int stage = save.m_nClearSwitch;
    if (stage < 1 || static_cast<std::size_t>(stage) > save.m_ChallengeStages.size()) {
        ReportLog("clear: challenge stage %d is outside the %zu records; none was written", stage,
                  save.m_ChallengeStages.size());
    } else {
        save.RecordChallengeClear(stage);
    }
    if (!save.SaveChallenge()) ErrorBox("チャレンジモードの記録を保存できませんでした！");
    save.m_nSeriesNumber = part;
    return SCENE_STAGESELECT;
}

int AfterFreePlayClear(const cPlayScene& scene, int part)
{
    cSaveData& save = g_SaveData;
    if (!save.m_bSeries || g_bTestPlay.load()) {
        // The same stage again: the fade-out reads its file anew.
        save.m_bFollowUp = 0;
        return SCENE_PLAY;
    }
    if (LoadNextSeriesPart(scene)) return SCENE_PLAY;
    save.m_nSeriesNumber = part;
    return SCENE_TITLE;
}

}  // namespace

int AfterClear(cPlayScene& scene)
{
    CarryHeroStatuses(scene);
    const int part = g_SaveData.m_nSeriesNumber;
    switch (g_GameManager.m_nGameMode) {
    case GAMEMODE_NEWSTORY:
    case GAMEMODE_CONTINUE: return AfterStoryClear(scene, part);
    case GAMEMODE_CHALLENGE: return AfterChallengeClear(scene, part);
    case GAMEMODE_FREEPLAY: return AfterFreePlayClear(scene, part);
    case GAMEMODE_REPLAY:
        // The replay plays again from its start.
        g_SaveData.RestoreStageStart(1, g_GameManager.m_nPlayMode, g_bTestPlay.load() != 0);
        return SCENE_PLAY;
    default: return SCENE_STAGESELECT;
    }
}
