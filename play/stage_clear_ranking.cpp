// The ranking entry of a clear: the name (typed in the name dialog or the registered one), the
// new entries in the ranking tables, their file, and the ranking display.
#include <string>

#include "data/option_data.h"
#include "data/ranking_data.h"
#include "data/save_data.h"
#include "platform/os/messages.h"
#include "platform/os/timer.h"
#include "play/game_manager.h"
#include "play/modal_loop.h"
#include "play/play_scene.h"
#include "play/stage_clear.h"
#include "play/stage_clear_seams.h"
#include "shell/error_box.h"
#include "shell/game_requests.h"
#include "shell/log.h"
#include "shell/shared_flags.h"

namespace {

constexpr int kRankingEntrySe = 16;

// The name dialog edits the scene's ranking name on the window thread while this one waits.
void AskRankingName()
{
    g_bNameDialogDone.store(0);
    SendMessageA(g_hWnd.load(), WM_GAME_NAMEDIALOG, 0, 0);
    // The window thread sets the flag before the send returns; a window that is gone (the
    // program closing) answers nothing.
    while (!g_bNameDialogDone.load() && g_hWnd.load()) Sleep(1);
}

void SaveClearRankings()
{
    const int mode = g_GameManager.m_nPlayMode;
    const char* key = g_SaveData.m_strStageKey.c_str();
    std::string path;
    // A play mode without a ranking file keeps its rankings for the session only.
    if (!RankingFilePath(path, mode, key)) return;
    if (g_RankingData.SaveForStage(mode, key)) return;
    ReportLog("%s : the rankings could not be saved; the file is as it was", path.c_str());
    ErrorBoxF("ランキング %s を保存できませんでした！", path.c_str());
}

}  // namespace

void EnterRankingName(cPlayScene& scene)
{
    cStageClear& clear = scene.m_StageClear;
    if (!g_GameManager.m_bRanking || !clear.m_bRankingReady || clear.m_bRankingEntered) return;
    const int nameMode = g_OptionData.m_nRankingMode;
    if (nameMode == 0 || nameMode == 2) {
        clear.m_strRankingName = g_SaveData.m_strPlayerName;
        AskRankingName();
        g_SaveData.m_strPlayerName = clear.m_strRankingName;
    } else {
        clear.m_strRankingName = g_OptionData.m_strName;
    }
    PlaySe(kRankingEntrySe);
    clear.SizeResults();
    for (int kind = 0; kind < RANKING_KINDS; ++kind) {
        if (clear.m_RankPos.At(kind) != -1)
            g_RankingData.Table(kind).Insert(clear.m_strRankingName, clear.m_Results.At(kind));
    }
    SaveClearRankings();
    clear.m_bRankingEntered = 1;
    if (!ClearClosing(scene)) RunRankingLoop(scene);
}
