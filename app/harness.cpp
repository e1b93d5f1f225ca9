#include "app/harness.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <utility>
#include <vector>

#include "app/harness_front_end.h"
#include "platform/harness/harness_clock.h"
#include "platform/harness/harness_script.h"
#include "platform/input/keyboard.h"
#include "platform/os/messages.h"
#include "platform/os/text.h"
#include "platform/video/presenter.h"
#include "play/game_manager.h"
#include "play/modal_loop.h"
#include "play/stage_trace.h"
#include "shell/game_requests.h"
#include "shell/log.h"
#include "shell/shared_flags.h"

namespace {

plat::cHarnessScript s_Script;
plat::cHarnessClock s_Clock;
bool s_bHasScript = false;
// The last frame begun, counted on whichever thread runs it: the game thread, or a stage's modal
// loop while the game thread waits for it.
std::atomic<int> s_nFrame{0};
// Set after the frame the script closes after (on the game thread or a stage's loop); read by
// their loops.
std::atomic<bool> s_bCloseAsked{false};
std::vector<int> s_HeldKeys;
std::FILE* s_lpTrace = nullptr;
// The sound-table entries asked for during the frame being traced.
std::mutex s_SoundMutex;
std::vector<int> s_Sounds;

void ObserveRequest(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_GAME_PLAYBGM) NoteBgmRequest(static_cast<int>(wParam), static_cast<int>(lParam));
    if (msg != WM_GAME_PLAYSE) return;
    std::lock_guard<std::mutex> lock(s_SoundMutex);
    s_Sounds.push_back(static_cast<int>(wParam));
}

void WriteTraceLine()
{
    std::vector<int> sounds;
    {
        std::lock_guard<std::mutex> lock(s_SoundMutex);
        sounds.swap(s_Sounds);
    }
    std::vector<std::pair<int, int>> bgm;
    std::string line;
    if (!TakeFrontEndTraceLine(s_nFrame, sounds, bgm, line)) line = StageTraceLine(s_nFrame, sounds, bgm);
    line += OnModalLoopThread() ? " loop=1" : " loop=0";
    std::fprintf(s_lpTrace, "%s\n", line.c_str());
    std::fflush(s_lpTrace);
}

bool Holds(const std::vector<int>& keys, int key) { return std::find(keys.begin(), keys.end(), key) != keys.end(); }

// Scripted keys arrive as a keyboard's do: the key table first, then the key messages for the
// window thread, so the main window and the dialogs see them as they would see real keys.
void PressScriptedKeys(const std::vector<int>& held)
{
    std::vector<int> released, pressed;
    for (int key : s_HeldKeys)
        if (!Holds(held, key)) released.push_back(key);
    for (int key : held)
        if (!Holds(s_HeldKeys, key)) pressed.push_back(key);
    s_HeldKeys = held;
    for (int key : released) plat::SetKeyState(key, false);
    for (int key : pressed) plat::SetKeyState(key, true);
    const HWND hWnd = g_hWnd.load();
    if (!hWnd) return;
    for (int key : released) PostMessageA(hWnd, WM_KEYUP, static_cast<WPARAM>(key), plat::KeyMessageLParam(key, false, true));
    for (int key : pressed) PostMessageA(hWnd, WM_KEYDOWN, static_cast<WPARAM>(key), plat::KeyMessageLParam(key, true, false));
}

void OnFrameStart()
{
    ++s_nFrame;
    if (s_Script.VirtualClock()) s_Clock.StartFrame(g_GameManager.m_nFps);
    if (const std::vector<int>* keys = s_Script.KeysFrom(s_nFrame)) PressScriptedKeys(*keys);
}

// A frame that another thread began goes on here: pacing sleeps move the virtual clock from here.
void OnFrameCarry()
{
    if (s_Script.VirtualClock()) s_Clock.CarryFrame();
}

void OnFrameEnd()
{
    // The play frame that waited in a stage's loop finishes after the close frame: it traces
    // nothing, as no frame after the close does.
    if (s_bCloseAsked.load()) return;
    if (s_lpTrace) WriteTraceLine();
    for (const std::string& file : s_Script.DumpsAt(s_nFrame)) {
        std::string path;
        if (!plat::Utf8ToCp932(file, path) || !plat::SaveLastFrameAsPng(path.c_str()))
            ReportLogEcho("harness: no back buffer of frame %d saved to %s", s_nFrame.load(), path.c_str());
    }
    if (s_Script.CloseFrame() == s_nFrame) {
        s_bCloseAsked.store(true);
        PostMessageA(g_hWnd.load(), WM_CLOSE, 0, 0);
    }
}

bool EnvironmentSwitchesEcLogOn()
{
    const char* value = std::getenv("QUILLBRAMWOOD_ECLOG");
    return value && (std::strcmp(value, "1") == 0 || std::strcmp(value, "on") == 0);
}

}  // namespace

bool StartHarness(std::string& error)
{
    const char* path = std::getenv("QUILLBRAMWOOD_SCRIPT");
    if (!path || !*path) return true;
    if (!s_Script.Load(path, error)) return false;
    s_bHasScript = true;
    s_nFrame = 0;
    s_bCloseAsked.store(false);
    {
        // Sounds asked for after an earlier run's last frame belong to no frame of this one.
        std::lock_guard<std::mutex> lock(s_SoundMutex);
        s_Sounds.clear();
    }
    plat::SetActiveHarness(&s_Script);
    if (s_Script.VirtualClock()) plat::SetClock(&s_Clock);
    if (!s_Script.TraceFile().empty()) {
        s_lpTrace = std::fopen(s_Script.TraceFile().c_str(), "w");
        if (!s_lpTrace) {
            error = "cannot write the trace file " + s_Script.TraceFile();
            return false;
        }
        SetRequestObserver(ObserveRequest);
        StartFrontEndTrace();
    }
    SetFrameHooks(OnFrameStart, OnFrameEnd, OnFrameCarry);
    SetFrameHoldTest(HarnessHoldsFrames);
    return true;
}

void StopHarness()
{
    if (!s_bHasScript) return;
    SetFrameHooks(nullptr, nullptr);
    SetFrameHoldTest(nullptr);
    SetRequestObserver(nullptr);
    StopFrontEndTrace();
    if (s_lpTrace) std::fclose(s_lpTrace);
    s_lpTrace = nullptr;
    plat::SetClock(nullptr);
    plat::SetActiveHarness(nullptr);
    s_bHasScript = false;
    s_bCloseAsked.store(false);
}

void ApplyHarnessLogSwitch()
{
    const bool on = EnvironmentSwitchesEcLogOn() || (s_bHasScript && s_Script.EcLog().value_or(false));
    if (on) SetEcLogFile(1, "EC_Game.txt");
}

int HarnessFrame() { return s_nFrame; }

bool HarnessHoldsFrames() { return s_bCloseAsked.load(); }
