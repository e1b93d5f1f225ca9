// The start of a clear: the tally with its extra lives, the places the result takes in the
// rankings, the next part of a numbered series, and what the clear display draws.
#include "play/stage_clear.h"

#include <algorithm>
#include <cstddef>

#include "data/ranking_data.h"
#include "data/save_data.h"
#include "data/stage_data.h"
#include "data/system_data.h"
#include "graphics/device.h"
#include "graphics/font.h"
#include "objects/hero.h"
#include "platform/os/messages.h"
#include "platform/os/timer.h"
#include "play/game_manager.h"
#include "play/modal_loop.h"
#include "play/play_scene.h"
#include "play/stage_clear_seams.h"
#include "shell/game_arithmetic.h"
#include "shell/game_requests.h"
#include "shell/log.h"
#include "shell/path_utils.h"
#include "shell/shared_flags.h"

namespace {

constexpr int kStageClearSe = 14;
constexpr int kExtraLifeSe = 15;
constexpr int kExtraLifeFrames = 30;
constexpr int kRankingHintText = 27;
constexpr const char* kSeriesExtension = "stg4";

// Flag i of a list that data fills: 0 past its end.
template <class tList> bool ClearFlagOn(const tList& flags, int i)
{
    return i >= 0 && static_cast<std::size_t>(i) < flags.size() && flags[static_cast<std::size_t>(i)] != 0;
}

// The play mode's System setting enables result kind i.
bool ModeRanksKind(int kind)
{
    const cSafeVector<cModeResultData>& modes = g_SystemData.m_ModeResults;
    const int mode = g_GameManager.m_nPlayMode;
    if (mode < 0 || static_cast<std::size_t>(mode) >= modes.size()) return false;
    return ClearFlagOn(modes[static_cast<std::size_t>(mode)].m_ValueFlags, kind);
}

bool StageRanksKind(int kind) { return ClearFlagOn(g_StageData.m_ResultFlags, kind); }

// The five run totals of the progress record, in ranking-kind order.
void ClearRunTotals(int values[RANKING_KINDS])
{
    const cSaveData& save = g_SaveData;
    const int totals[RANKING_KINDS] = {save.m_nResult1, save.m_nResult2, save.m_nResult3, save.m_nResult4,
                                       save.m_nResult5};
    std::copy(totals, totals + RANKING_KINDS, values);
}

// One extra life shown: its sound, and its message over the stage for 30 frames. False when the
// program is closing and the tally must stop.
bool ShowOneExtraLife(cPlayScene& scene)
{
    PlaySe(kExtraLifeSe);
    std::list<cMessage>& messages = scene.m_MessageList.m_Messages;
    const MESSAGENODE node = ShowExtraLifeMessage(messages);
    scene.m_Wait.Set(4, 0, kExtraLifeFrames, 0);
    if (!ClearClosing(scene)) RunModalLoop(scene);
    RemoveExtraLifeMessage(messages, node);
    if (scene.m_nQuitRequest.load()) {
        PostMessageA(g_hWnd.load(), WM_CLOSE, 0, 0);
        return false;
    }
    // Frames go on only while the program is active; a window that is gone waits for nothing.
    while (!g_bActive.load() && g_hWnd.load() && !ClearClosing(scene)) Sleep(1);
    return !ClearClosing(scene);
}

// The lives after `grants` extra lives, each held at kMaxLives.
int LivesAfterGrants(int lives, long long grants)
{
    return static_cast<int>(std::min<long long>(static_cast<long long>(lives) + grants, kMaxLives));
}

void GrantExtraLives(cPlayScene& scene, int oldTotal)
{
    const cSystemData& system = g_SystemData;
    cSaveData& save = g_SaveData;
    const int step = system.m_nExtraLifeScore;
    if (save.m_nLives == kUnlimitedLives || !system.m_bExtraLifeByScore || step == 0) return;
    const int earned = WrapSub(WrapDiv(save.m_nResult1, step), WrapDiv(oldTotal, step));
    if (earned <= 0) return;
    // A small step can earn hundreds of thousands at once: only the first ones are shown, the
    // rest change the count alone (which is held at the same limit anyway).
    const int shown = std::min(earned, kMaxShownExtraLives);
    for (int i = 1; i <= shown; ++i) {
        save.m_nLives = LivesAfterGrants(save.m_nLives, i == shown ? 1LL + (earned - shown) : 1);
        if (!ShowOneExtraLife(scene)) return;
    }
}

}  // namespace

void cStageClear::SizeResults()
{
    m_RankPos.resize(5, 0);
    m_Results.resize(5, 0);
}

void TallyStageResult(cPlayScene& scene)
{
    cSaveData& save = g_SaveData;
    const cTimeLimit& time = scene.m_TimeLimit;
    const cHero& player = Player.At(0);
    const int oldTotal = save.m_nResult1;
    save.m_nResult1 = WrapAdd(save.m_nResult1, save.m_nScore);
    if (!time.m_bNoTimeLimit) save.m_nResult2 = WrapAdd(save.m_nResult2, time.m_nTimeLeft);
    save.m_nResult3 = WrapAdd(save.m_nResult3, time.m_nPlayTime);
    save.m_nResult4 = WrapAdd(save.m_nResult4, player.m_nHp);
    save.m_nResult5 = WrapAdd(save.m_nResult5, player.m_nSp);
    GrantExtraLives(scene, oldTotal);
}

void BeginStageClear(cPlayScene& scene)
{
    cStageClear& clear = scene.m_StageClear;
    if (clear.m_bClearBegun) return;
    clear.m_bClearBegun = 1;
    PlaySe(kStageClearSe);
    TallyStageResult(scene);
    clear.SizeResults();
    clear.m_bRankingEntered = 0;
    clear.m_bRankingReady = 0;
    std::fill(clear.m_RankPos.begin(), clear.m_RankPos.end(), -1);
    // Only the last part of a series ranks.
    if (!g_bTestPlay.load() && (!g_GameManager.m_bRanking || !IsLastStage(scene, clear.m_nNextStage))) return;
    int values[RANKING_KINDS];
    ClearRunTotals(values);
    std::copy(values, values + RANKING_KINDS, clear.m_Results.begin());
    if (g_bEditorLaunch.load()) return;
    for (int kind = 0; kind < RANKING_KINDS; ++kind) {
        if (!ModeRanksKind(kind) || !StageRanksKind(kind)) continue;
        const int place = g_RankingData.Table(kind).FindRank(values[kind]);
        clear.m_RankPos[static_cast<std::size_t>(kind)] = place;
        if (place != -1) clear.m_bRankingReady = 1;
    }
}

bool MakeNextStagePath(const cPlayScene& scene, std::string& out, int part)
{
    out.clear();
    const cSaveData& save = g_SaveData;
    if (!save.m_bSeries || scene.m_StageClear.m_nNextStage == 0) return false;
    // The key is the base followed by a point; without a base there is no series to follow.
    const std::string& key = save.m_strStageKey;
    if (key.size() < 2) return false;
    std::string name = key.substr(0, key.size() - 1) + "-" + std::to_string(part) + "." + kSeriesExtension;
    // The numbered name must fit a path whole: a cut name would name another file.
    if (name.size() + 4 >= MAX_PATH) return false;
    if (!FindHighestNumberedFileStr(name, name.c_str(), kSeriesExtension)) return false;
    out = name;
    return true;
}

bool IsLastStage(const cPlayScene& scene, int part)
{
    std::string scratch;
    return !MakeNextStagePath(scene, scratch, part);
}

void DrawClearHint()
{
    const std::string& hint = g_SystemData.m_Texts.At(kRankingHintText);
    g_Font[1].Printf(&g_BackBuffer, 320 - 8 * static_cast<int>(hint.size()), 456, "%s", hint.c_str());
}

void DrawClearResults(cPlayScene& scene)
{
    int values[RANKING_KINDS];
    ClearRunTotals(values);
    int places[RANKING_KINDS];
    bool shown[RANKING_KINDS];
    const bool editorTest = g_bEditorLaunch.load() && g_bTestPlay.load();
    const cSafeVector<int>& rankPos = scene.m_StageClear.m_RankPos;
    for (int kind = 0; kind < RANKING_KINDS; ++kind) {
        places[kind] = static_cast<std::size_t>(kind) < rankPos.size() ? rankPos[static_cast<std::size_t>(kind)] : -1;
        shown[kind] = StageRanksKind(kind) && (editorTest || ModeRanksKind(kind));
    }
    DrawResultPanel(&g_BackBuffer, 336, 224, places, values, shown);
}
