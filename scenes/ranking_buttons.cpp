#include "scenes/ranking_buttons.h"

#include "data/save_data.h"
#include "data/system_data.h"
#include "play/game_manager.h"
#include "shell/game_requests.h"

bool ApplyRankingButtons(int buttons, int rankingMode)
{
    cSaveData& save = g_SaveData;
    const bool enabled = g_SystemData.m_ModeResults.At(rankingMode).m_bEnabled != 0;
    bool redraw = false;
    if (buttons & 4) {
        if (enabled) {
            PlaySe(6);
            save.m_bRankingView = save.m_bRankingView ? 0 : 1;
            redraw = true;
        } else if (save.m_bRankingView) {
            save.m_bRankingView = 0;
            redraw = true;
        }
    }
    if ((buttons & 8) && enabled) {
        const int mode = g_GameManager.m_nPlayMode;
        if (g_SystemData.CountModeFlags(mode) >= 2) {
            PlaySe(6);
            save.StepRankingKind(mode, 1);
        }
        redraw = true;
    }
    return redraw;
}
