#include <cstring>
#include <string>

#include "app/file_dialogs.h"
#include "app/main_window.h"
#include "app/name_entry_dialog.h"
#include "app/replay_save_dialog.h"
#include "app/window_requests.h"
#include "data/database.h"
#include "data/save_data.h"
#include "play/free_play.h"
#include "play/replay_state.h"
#include "data/system_data.h"
#include "graphics/dialog_mode.h"
#include "graphics/restore.h"
#include "shell/format.h"
#include "shell/log.h"
#include "shell/shared_flags.h"
#include "shell/system_ini.h"
#include "shell/thread.h"
#include "sound/bgm.h"
#include "sound/direct_sound.h"

namespace {

void DialogMode(int on) { DDSetDialogMode(on); }
const char* BgmFileName(int entry) { return g_Database.m_Bgms.At(entry).m_strFile.c_str(); }
// The stage BGM now playing and its loop option live in the progress record.
void SetStageBgm(int n) { g_SaveData.m_nStageBgm = n; }
int StageBgmLoop() { return g_SaveData.m_bStageBgmLoop; }
// A device that cannot be reset yet stays lost; the next failed present asks again.
void RestoreDevice() { DDRestoreSurface(); }

// A request that would open a dialog or load a file while the program closes is refused: the
// sender's flags say done and nothing chosen, so no thread waits for ever.
bool RefuseWhileClosing(std::atomic<int>& done)
{
    if (!g_bClosing.load()) return false;
    g_bFileChosen.store(0);
    done.store(1);
    return true;
}

// What a load that fails leads to, after its own message: the program closes, the request
// only counts as nothing chosen and the player is back at the menu, or the dialog opens again.
enum LOADFAILURE { LOADFAILURE_CLOSE, LOADFAILURE_RETURN, LOADFAILURE_REOPEN };

// The file-request pattern: dialog, then the load of a chosen file. A load that fails does not
// count as a chosen file; onFailure says, for the chosen path, where it leads.
void OpenFileRequest(HWND hWnd, const char* folder, const char* title, const char* filterLabel, const char* pattern,
                     int (*load)(const char* path), LOADFAILURE (*onFailure)(const char* path))
{
    if (RefuseWhileClosing(g_bRequestDone)) return;
    for (;;) {
        g_RequestSeams.setDialogMode(1);
        char path[MAX_PATH] = {};
        const bool chosen = g_RequestSeams.openFileDialog(hWnd, path, folder, title, filterLabel, pattern);
        g_RequestSeams.setDialogMode(0);
        const bool loaded = chosen && load(path) != 0;
        const LOADFAILURE failure = chosen && !loaded ? onFailure(path) : LOADFAILURE_RETURN;
        // A close that began meanwhile opens no further dialog.
        if (failure == LOADFAILURE_REOPEN && !g_bClosing.load()) continue;
        if (failure == LOADFAILURE_CLOSE) PostMessageA(g_hWnd.load(), WM_CLOSE, 0, 0);
        g_bFileChosen.store(loaded ? 1 : 0);
        g_bRequestDone.store(1);
        return;
    }
}

// A stage file that cannot be loaded ends the game; a replay file chosen in the same dialog
// has shown its box, and the dialog opens again.
LOADFAILURE StageLoadFailure(const char* path)
{
    return IsReplayFileName(path) ? LOADFAILURE_REOPEN : LOADFAILURE_CLOSE;
}
// A replay that cannot be loaded has said so in its box; the title's menu stays.
LOADFAILURE ReplayLoadFailure(const char*) { return LOADFAILURE_RETURN; }

int StartFreePlayOfChosen(const char* path) { return g_RequestSeams.startFreePlay(path, 0); }
int LoadReplayOfChosen(const char* path) { return g_RequestSeams.loadReplay(path); }

// The container report of a bad index, as a checked vector gives it, with the given size.
void ReportBadSoundIndex(int index, int count)
{
    std::string text;
    FormatString(text, "err V[%d] ( %d , %d )", index, count, kSoundEntryReportSize);
    EcLog(text.c_str());
    ReportLog("%s", text.c_str());
    PostMessageA(g_hWnd.load(), WM_CLOSE, 0, 0);
}

}  // namespace

cRequestSeams DefaultRequestSeams()
{
    return cRequestSeams{DialogMode,        RunNameEntryDialog, OpenFileRequestDialog, StartFreePlay,
                         LoadReplayForPlay, ReplaySaveDialog,   SaveAttemptReplay,     BgmFileName,
                         SetStageBgm,       StageBgmLoop,       RestoreDevice};
}

cRequestSeams g_RequestSeams = DefaultRequestSeams();

void OnNameDialogRequest()
{
    if (RefuseWhileClosing(g_bNameDialogDone)) return;
    g_RequestSeams.setDialogMode(1);
    SuspendAllThreads();
    g_RequestSeams.nameDialog();
    g_RequestSeams.setDialogMode(0);
    ResumeAllThreads();
    g_bNameDialogDone.store(1);
}

void OnOpenStageRequest(HWND hWnd)
{
    const char* title = g_SystemIni.English ? "Load stage file" : "ステージファイルの読み込み";
    OpenFileRequest(hWnd, "data\\stg4\\", title, "StageFile ( *.stg4_*;*.rpl4_* )", "stg4_*;rpl4_*",
                    StartFreePlayOfChosen, StageLoadFailure);
}

void OnOpenReplayRequest(HWND hWnd)
{
    const char* title = g_SystemIni.English ? "Load replay file" : "リプレイファイルの読み込み";
    OpenFileRequest(hWnd, "user_data\\rpl4", title, "ReplayFile ( *.rpl4_* )", "rpl4_*", LoadReplayOfChosen,
                    ReplayLoadFailure);
}

void OnSaveReplayRequest(WPARAM which)
{
    if (RefuseWhileClosing(g_bRequestDone)) return;
    // The default name: the progress record's stage key ("" when none).
    char path[MAX_PATH] = {};
    if (!g_RequestSeams.replaySaveDialog(path, g_SaveData.m_strStageKey.c_str())) {
        g_bFileChosen.store(0);
        g_bRequestDone.store(1);
        return;
    }
    // A save that fails has said so in its box and the report; play goes on.
    g_RequestSeams.saveReplay(path, which != 0 ? 1 : 0);
    g_bFileChosen.store(1);
    g_bRequestDone.store(1);
}

void OnPlaySeRequest(WPARAM index)
{
    const int n = static_cast<int>(index);
    if (n >= 0 && static_cast<std::size_t>(n) < g_SoundTable.size()) {
        DS_Play(g_SoundTable[static_cast<std::size_t>(n)], 0);
        return;
    }
    ReportBadSoundIndex(n, static_cast<int>(g_SoundTable.size()));
    // Sound 0 plays in its place; an empty table has none, and a second report would only
    // repeat the first.
    if (!g_SoundTable.empty()) DS_Play(g_SoundTable[0], 0);
}

void OnPlayBgmRequest(WPARAM screen, LPARAM number)
{
    if (screen > 4) return;
    if (screen < 4) {
        const int slot = static_cast<int>(screen);
        const int bgm = g_SystemData.m_ScreenBgm.At(slot);
        if (bgm == 0) {
            g_Bgm.Stop();
            return;
        }
        const char* file = g_RequestSeams.bgmFileName(bgm);
        g_Bgm.SetSlotFile(slot, file ? file : "");
        g_Bgm.Play(0, slot, g_SystemData.m_ScreenBgmLoop.At(slot), 0, 1);
        return;
    }
    const int stageBgm = static_cast<int>(number);
    g_RequestSeams.setStageBgm(stageBgm);
    const char* file = g_RequestSeams.bgmFileName(stageBgm);
    g_Bgm.SetSlotFile(4, file ? file : "");
    if (stageBgm == 0) g_Bgm.Stop();
    else g_Bgm.Play(0, 4, g_RequestSeams.stageBgmLoop(), 0, 1);
}

void OnRestoreDeviceRequest() { g_RequestSeams.restoreDevice(); }
