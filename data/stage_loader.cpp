#include "data/stage_loader.h"

#include <memory>
#include <mutex>
#include <string>

#include "data/data_paths.h"
#include "platform/os/messages.h"
#include "platform/os/threads.h"
#include "shell/error_box.h"
#include "shell/shared_flags.h"
#include "shell/log.h"
#include "shell/path_utils.h"
#include "shell/thread.h"

namespace {

constexpr const char* kDamagedText = "ステージファイル %s が破損しています！";
constexpr const char* kReadFailedText = "ステージファイル %s の読み込みに失敗しました！";
constexpr const char* kNoHeroText = "主人公が配置されていないのでプレイできません！";

enum STAGEREAD { STAGEREAD_NOFILE, STAGEREAD_DAMAGED, STAGEREAD_DONE };

// One load on thStageLoad: set up by LoadStage before the thread starts, filled by the
// thread, taken by LoadStage once the thread has ended. The thread never touches g_StageData,
// so a load that is stopped or fails leaves it as it was.
struct STAGELOADJOB {
    std::mutex lock;   // orders the thread's results before the caller's look at them
    std::string path;
    std::unique_ptr<cStageData> staged;
    STAGEREAD outcome = STAGEREAD_NOFILE;
};
STAGELOADJOB s_StageLoad;

// Reads path into a new stage (so nothing of another stage stays in values an older file
// lacks): the outcome, and the file's version word in version.
STAGEREAD ReadStageFile(const char* path, cStageData& staged, DWORD& version)
{
    cDataReader reader;
    if (!OpenDataFileRead(path, reader)) return STAGEREAD_NOFILE;
    version = reader.Version();
    if (staged.LoadFrom(reader)) return STAGEREAD_DONE;
    ReportLog("%s : %s", path, reader.Error().c_str());
    return STAGEREAD_DAMAGED;
}

void CloseMainWindow()
{
    PostMessageA(g_hWnd.load(), WM_CLOSE, 0, 0);
}


// Runs thStageLoad and serves the calling thread's messages until it has ended. False when a
// WM_QUIT came first: the read is stopped and the quit is posted again for the caller's loop.
bool RunLoadThread()
{
    if (!thStageLoad.Start(StageLoadThreadProc, nullptr)) return true;
    const HANDLE thread = thStageLoad.m_hThread.load();
    bool stopped = false;
    // Messages first: a quit already queued stops the load whatever the thread has done.
    for (;;) {
        MSG msg;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                EcLogF("msg.message == WM_QUIT");
                g_bStageReadStop.store(true);
                thStageLoad.WaitEnd();   // the read is bounded by the file and checks the stop
                g_bStageReadStop.store(false);
                PostQuitMessage(static_cast<int>(msg.wParam));
                stopped = true;
                break;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            continue;
        }
        if (WaitForSingleObject(thread, 1) != WAIT_TIMEOUT) break;
    }
    if (!stopped) thStageLoad.WaitEnd();
    return !stopped;
}

}  // namespace

void CopyStageSettings(const cStageData& source, cStageData& output)
{
    output.CopyFrom(source);
    output.m_Backgrounds = source.m_Backgrounds;
    output.m_Texts = source.m_Texts;
    for (int i = 0; i < 5; ++i) output.m_OutOfRange[i] = source.m_OutOfRange[i];
    output.m_ResultFlags = source.m_ResultFlags;
    output.m_nSubSteps6 = source.m_nSubSteps6;
    output.m_Blocks = {};
    output.m_Charas = {};
    output.m_Items = {};
    output.m_PaletteBlocks = {};
    output.m_PaletteCharas = {};
    output.m_PaletteItems = {};
}

unsigned StageLoadThreadProc(void*)
{
    std::lock_guard<std::mutex> lock(s_StageLoad.lock);
    s_StageLoad.staged = std::make_unique<cStageData>();
    DWORD version = 0;
    STAGEREAD outcome = ReadStageFile(s_StageLoad.path.c_str(), *s_StageLoad.staged, version);
    // Before the end mark was checked, a bad file is one that cannot be read.
    if (outcome == STAGEREAD_DAMAGED && version < kStageEndMarkCheckedVersion) outcome = STAGEREAD_NOFILE;
    s_StageLoad.outcome = outcome;
    return outcome == STAGEREAD_DONE ? 1 : 0;
}

bool CheckStageFileEnd(const char* path)
{
    cStageData staged;
    DWORD version = 0;
    if (ReadStageFile(path, staged, version) != STAGEREAD_DAMAGED || version < kStageEndMarkCheckedVersion) return true;
    ErrorBoxF(kDamagedText, path);
    CloseMainWindow();
    return false;
}

bool LoadStage(const char* name, int addExtension, cStageData* output, bool closeOnBadFile)
{
    if (!name) return false;
    std::string path = name;
    if (addExtension && !FindHighestNumberedFileStr(path, name, g_DataExts[1])) return false;
    MakeRelativePathStr(path);

    {
        std::lock_guard<std::mutex> lock(s_StageLoad.lock);
        s_StageLoad.path = path;
        s_StageLoad.staged.reset();
        s_StageLoad.outcome = STAGEREAD_NOFILE;
    }
    if (!RunLoadThread()) return false;

    // The end mark is checked where the read ends, by the read itself, so a cut file with a
    // mark pasted at its end is damaged too.
    std::unique_ptr<cStageData> staged;
    STAGEREAD outcome;
    {
        std::lock_guard<std::mutex> lock(s_StageLoad.lock);
        outcome = s_StageLoad.outcome;
        staged = std::move(s_StageLoad.staged);
    }
    if (outcome == STAGEREAD_DAMAGED) {
        ErrorBoxF(kDamagedText, path.c_str());
        if (closeOnBadFile) CloseMainWindow();
        return false;
    }
    if (outcome != STAGEREAD_DONE || !staged) {
        ErrorBoxF(kReadFailedText, path.c_str());
        return false;
    }
    staged->m_strPath = path;
    staged->m_bAddExtension = addExtension;
    staged->m_bLoaded = 1;
    g_StageData = std::move(*staged);

    if (!g_StageData.HasHero()) {
        ErrorBoxF("%s", kNoHeroText);
        if (closeOnBadFile) CloseMainWindow();
        return false;
    }
    if (output && output != &g_StageData) CopyStageSettings(g_StageData, *output);
    return true;
}
