#include "play/free_play.h"

#include <cctype>
#include <cstdio>

#include "data/save_data.h"
#include "data/stage_data.h"
#include "data/stage_loader.h"
#include "data/system_data.h"
#include "data/world_map_data.h"
#include "platform/os/windows_types.h"
#include "play/game_manager.h"
#include "play/world_entry.h"
#include "shell/path_utils.h"
#include "shell/shared_flags.h"

int StartFreePlay(const char* path, int addExtension)
{
    // A copy first: callers may pass the stage record's own path, which the load replaces.
    char copy[MAX_PATH] = {};
    std::snprintf(copy, sizeof copy, "%s", path ? path : "");
    g_SaveData.Reset();
    // A replay is the player's own file, not the game's: a damaged one ends no game.
    if (!LoadStage(copy, addExtension, &g_StageBackup, !IsReplayFileName(copy))) return 0;
    // Free play's stage number is 1 (the reset left the challenge's open stages at 1).
    g_SaveData.m_nClearSwitch = 1;
    g_SaveData.m_nSeriesNumber = 1;
    if (g_bTestPlay.load() || g_SystemData.m_UnlimitedLives.At(PLAYMODE_FREEPLAY) != 0) {
        g_SaveData.m_nStartLives = kUnlimitedLives;
        g_SaveData.m_nLives = kUnlimitedLives;
    } else {
        g_SaveData.m_nStartLives = g_SystemData.m_StartLives.At(PLAYMODE_FREEPLAY);
        g_SaveData.m_nLives = g_SaveData.m_nStartLives - 1;
    }
    MakeRelativePath(copy);
    g_SaveData.SetStageFile(copy);
    return 1;
}

bool IsReplayFileName(const char* path)
{
    char ext[MAX_PATH] = {};
    if (!path || !GetExtension(ext, path)) return false;
    constexpr char kReplayExt[] = "rpl4_";
    for (std::size_t i = 0; i + 1 < sizeof kReplayExt; ++i) {
        if (std::tolower(static_cast<unsigned char>(ext[i])) != kReplayExt[i]) return false;
    }
    return true;
}

void NewStoryReset()
{
    g_SaveData.Reset();
    g_SaveData.m_nMapX = g_WorldMapData.m_nStartX;
    g_SaveData.m_nMapY = g_WorldMapData.m_nStartY;
    g_SaveData.m_nRound = 0;
    SetCurrentWorldEntry(-1, -1);
    if (g_SystemData.m_UnlimitedLives.At(PLAYMODE_STORY) != 0) {
        g_SaveData.m_nStartLives = kUnlimitedLives;
        g_SaveData.m_nLives = kUnlimitedLives;
    } else {
        g_SaveData.m_nStartLives = g_SystemData.m_StartLives.At(PLAYMODE_STORY);
        g_SaveData.m_nLives = g_SaveData.m_nStartLives - 1;
    }
}

bool StartStageFromCommandLine(const char* path)
{
    g_bTestPlay.store(1);
    if (!StartFreePlay(path, 1)) return false;
    g_SaveData.m_bSeries = 0;
    g_GameManager.m_nPlayMode = PLAYMODE_FREEPLAY;
    g_GameManager.m_bRanking = 1;
    g_GameManager.m_nGameMode = GAMEMODE_FREEPLAY;
    g_GameManager.m_nScene = SCENE_PLAY;
    g_GameManager.m_nPrevScene = SCENE_TITLE;
    return true;
}
