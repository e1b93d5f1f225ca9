#include "play/modal_loop.h"

#include <atomic>

#include "data/ranking_data.h"
#include "data/save_data.h"
#include "data/system_data.h"
#include "graphics/device.h"
#include "platform/os/messages.h"
#include "platform/os/random.h"
#include "platform/os/timer.h"
#include "play/game_manager.h"
#include "play/play_scene.h"
#include "play/replay_state.h"
#include "shell/game_arithmetic.h"
#include "shell/game_requests.h"
#include "shell/log.h"
#include "shell/shared_flags.h"
#include "shell/thread.h"

namespace {

thread_local bool t_bLoopThread = false;
std::atomic<unsigned> s_nStarterSeed{1};

// How long a loop goes on drawing nothing once the quit request is set, before it ends itself.
constexpr DWORD kQuitGraceMs = 2000;

constexpr WORD kDecide = 1;
constexpr WORD kRankingPage = 8;

// Marks the calling thread as a loop's thread while the loop runs.
class cLoopThreadMark {
public:
    cLoopThreadMark() { t_bLoopThread = true; }
    ~cLoopThreadMark() { t_bLoopThread = false; }
    cLoopThreadMark(const cLoopThreadMark&) = delete;
    cLoopThreadMark& operator=(const cLoopThreadMark&) = delete;
};

// A loop's frames. The first one it shows is the frame of the play frame that started it, which
// has waited its turn and not been shown yet; every later one waits for its turn as the game
// loop's frames do. A frame opened and not shown (the pass that ends the loop, the replay keys)
// stays open: the next pass, or the play frame after the loop, finishes it.
class cLoopFrames {
public:
    void Open()
    {
        if (m_bOpen) {
            if (!m_bCarried) CallFrameCarryHook();
            m_bCarried = true;
            return;
        }
        CallFrameStartHook();
        WaitFrameRate();
        m_bOpen = true;
        m_bCarried = true;
    }
    void Show()
    {
        g_GameManager.Present();
        CallFrameEndHook();
        m_bOpen = false;
    }
    // No new frame may start (the harness has closed): only a frame still open may run.
    bool Held() const { return !m_bOpen && FramesHeld(); }

private:
    bool m_bOpen = true;
    bool m_bCarried = false;
};

// The buttons that were down at the loop's first frame: each counts as held, not pressed, until
// it is released, so a key held into a loop (the one that closed the message before) never ends
// it. Only a fresh press does.
class cHeldAtStart {
public:
    void Note(WORD buttons)
    {
        m_wHeld = m_bFirst ? buttons : static_cast<WORD>(m_wHeld & buttons);
        m_bFirst = false;
    }
    bool Holds(WORD button) const { return (m_wHeld & button) != 0; }

private:
    bool m_bFirst = true;
    WORD m_wHeld = 0;
};

// After the quit request, the loop draws nothing; it ends on its WM_QUIT, or by itself once the
// grace time has passed since it first saw the request.
class cQuitGrace {
public:
    bool Over()
    {
        const DWORD now = timeGetTime();
        if (!m_bNoted) {
            m_bNoted = true;
            m_dwSince = now;
        }
        return now - m_dwSince >= kQuitGraceMs;
    }

private:
    bool m_bNoted = false;
    DWORD m_dwSince = 0;
};

// Takes one message: true when it was WM_QUIT. Any other is dropped.
bool TakeMessage(bool& quit)
{
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
    quit = msg.message == WM_QUIT;
    return true;
}

void RestoreOrClose()
{
    if (!g_GameManager.RestoreLostSurfaces()) PostMessageA(g_hWnd.load(), WM_CLOSE, 0, 0);
}

// One frame of the scene's wait; true when it ends the loop.
bool WaitEnds(cPlayScene& scene, const cInput& input, const cHeldAtStart& held)
{
    WAITSTATE& wait = scene.m_Wait;
    if (wait.nDelay > 0) {
        --wait.nDelay;
        return false;
    }
    if (wait.bKeyWait) {
        const bool pressed = (input.m_wButton & kDecide) && !(input.StateAgo(1, 1) & kDecide) && !held.Holds(kDecide);
        if (!pressed) return false;
        PlaySe(wait.nMode == 1 ? 12 : 1);
        scene.m_bHoldButtons = 1;
        return true;
    }
    wait.nFrames = WrapSub(wait.nFrames, 1);
    return wait.nFrames < 0;
}

bool QuitAsked(const cPlayScene& scene) { return scene.m_nQuitRequest.load() != 0 || g_bClosing.load() != 0; }

std::atomic<MODALLOOPSTANDIN> s_StandIn{nullptr};

void RunLoopOn(MODALLOOP loop, cThread& thread, plat::ThreadProc proc, cPlayScene& scene)
{
    if (MODALLOOPSTANDIN standIn = s_StandIn.load()) {
        standIn(scene, loop);
        return;
    }
    // The close sequence may have passed this thread's Exit already: a loop started now would
    // hold the game thread from its WM_QUIT.
    if (g_bClosing.load()) return;
    s_nStarterSeed.store(plat::RandomState());
    if (!thread.Start(proc, &scene)) {
        ReportLog("a stage loop's thread could not be started");
        return;
    }
    thread.PostStartUntilReceived(false);
    thread.WaitEnd();
    // The play frame goes on in the frame the loop ended in.
    CallFrameCarryHook();
}

}  // namespace

unsigned PauseThreadProc(void* arg)
{
    cPlayScene& scene = *static_cast<cPlayScene*>(arg);
    if (QuitAsked(scene)) return 0;
    const cLoopThreadMark mark;

    // The loop's own input, so the play frame's histories are not disturbed.
    cSafeVector<cInput> inputs = g_Input;
    cInput& input = inputs.At(0);
    input.ClearHistory();
    input.ResetKeyHistories();
    input.ClearDirection();
    input.ClearButtons();

    cLoopFrames frames;
    cHeldAtStart held;
    cQuitGrace grace;
    for (;;) {
        bool quit = false;
        if (TakeMessage(quit)) {
            if (quit) break;
            continue;
        }
        if (!g_bActive.load()) {
            Sleep(1);
            continue;
        }
        // Closing: nothing is shown again, and the game thread must reach its WM_QUIT.
        if (g_bClosing.load()) break;
        if (scene.m_nQuitRequest.load()) {
            if (grace.Over()) PostThreadMessageA(thPause.m_dwThreadId, WM_QUIT, 0, 0);
            Sleep(1);
            continue;
        }
        if (frames.Held()) {
            WaitMessage();
            continue;
        }
        frames.Open();
        RestoreOrClose();
        g_GameManager.PollInput(inputs);
        input.RecordHistory();
        input.TriggerButtons(0);
        held.Note(input.StateAgo(1, 0));
        // A pass that sent a replay save still shows its frame: a pass that ended there would
        // read the same keys again and save for ever.
        if (!CheckReplaySaveKeys() && WaitEnds(scene, input, held)) break;
        scene.Draw(0, 1, 0, 1);
        frames.Show();
    }
    return 1;
}

unsigned RankingThreadProc(void* arg)
{
    cPlayScene& scene = *static_cast<cPlayScene*>(arg);
    const cLoopThreadMark mark;
    const int mode = g_GameManager.m_nPlayMode;
    g_SaveData.StepRankingKind(mode, 0);

    cInput& input = g_Input.At(0);
    cLoopFrames frames;
    cHeldAtStart held;
    for (;;) {
        bool quit = false;
        if (TakeMessage(quit)) {
            if (quit) return 1;
            continue;
        }
        if (!g_bActive.load()) {
            Sleep(1);
            continue;
        }
        if (g_bClosing.load()) return 1;
        if (frames.Held()) {
            WaitMessage();
            continue;
        }
        frames.Open();
        RestoreOrClose();
        g_GameManager.PollInput(g_Input);
        held.Note(input.m_wButton);
        input.TriggerButtons(0);
        input.ApplyRepeat();
        if ((input.m_wButton & kDecide) && !held.Holds(kDecide)) {
            PlaySe(1);
            return 1;
        }
        if ((input.m_wButton & kRankingPage) && !held.Holds(kRankingPage) && g_SystemData.CountModeFlags(mode) >= 2) {
            PlaySe(6);
            g_SaveData.StepRankingKind(mode, 1);
        }
        scene.Draw(0, 1, 0, 1);
        const int kind = g_SaveData.m_nRankingKind;
        g_RankingData.Draw(&g_BackBuffer, 184, 64, kind, scene.m_StageClear.m_RankPos.At(kind), mode);
        frames.Show();
    }
}

void SetModalLoopStandIn(MODALLOOPSTANDIN standIn) { s_StandIn.store(standIn); }

void RunModalLoop(cPlayScene& scene) { RunLoopOn(MODALLOOP_PAUSE, thPause, PauseThreadProc, scene); }

void RunRankingLoop(cPlayScene& scene) { RunLoopOn(MODALLOOP_RANKING, thRanking, RankingThreadProc, scene); }

bool OnModalLoopThread() { return t_bLoopThread; }

unsigned GameThreadRandomState() { return t_bLoopThread ? s_nStarterSeed.load() : plat::RandomState(); }
