#include "play/game_manager.h"

#include <atomic>
#include <cstdio>
#include <iterator>

#include "graphics/device.h"
#include "graphics/present.h"
#include "platform/timer.h"
#include "play/play_scene.h"
#include "shell/error_box.h"
#include "shell/game_requests.h"
#include "shell/globals.h"
#include "shell/key_config.h"
#include "shell/not_built_yet.h"
#include "shell/system_ini.h"
#include "shell/timing.h"

cGameManager g_GameManager;

namespace {

std::atomic<SceneFactory> g_SceneFactory{nullptr};
std::atomic<FrameHook> g_FrameStart{nullptr};
std::atomic<FrameHook> g_FrameEnd{nullptr};
std::atomic<FpsTextDrawer> g_FpsTextDrawer{nullptr};

// Deletion orders: ChangeScene and DeleteScenes each keep their own.
constexpr int kChangeSceneDeleteOrder[kSceneTypes] = {SCENE_TITLE, SCENE_STORYMENU, SCENE_WORLDMAP,
                                                      SCENE_STAGESELECT, SCENE_PLAY, SCENE_OPTION};
constexpr int kDeleteScenesOrder[kSceneTypes] = {SCENE_TITLE, SCENE_WORLDMAP, SCENE_STORYMENU,
                                                 SCENE_STAGESELECT, SCENE_OPTION, SCENE_PLAY};

bool IsSceneType(int type) { return type >= 0 && type < kSceneTypes; }

// Waits for the frame gate at the given rate, in 1 ms sleeps.
void WaitForFrameGate(int fps)
{
    while (!FrameRateGate(static_cast<unsigned>(fps > 0 ? fps : 0))) Sleep(1);
}

}  // namespace

cGameManager::~cGameManager() { DeleteScenes(); }

cScene* cGameManager::Scene(int type) const { return IsSceneType(type) ? m_lpScenes[type].get() : nullptr; }

void cGameManager::DeleteScene(int type)
{
    if (!m_lpScenes[type]) return;
    if (type == SCENE_PLAY) g_lpPlayScene = nullptr;
    m_lpScenes[type].reset();
}

bool cGameManager::RunFrame()
{
    if (FrameHook start = g_FrameStart.load()) start();
    WaitFrameRate();
    StopwatchStart();
    if (!RestoreLostSurfaces()) return false;
    PollInput(g_Input);
    ChangeScene(m_nScene);
    if (cScene* scene = Scene(m_nScene)) scene->Run();

    const DWORD fps = CountFps(true);
    const DWORD work = StopwatchLap(true);
    if (g_lpPlayScene) g_lpPlayScene->m_nFrameRate = static_cast<int>(fps);
    if (g_SystemIni.ShowFps != 0) DrawFrameRateText(fps, work);
    Present();
    if (FrameHook end = g_FrameEnd.load()) end();
    return true;
}

void cGameManager::DrawFrameRateText(DWORD fps, DWORD work)
{
    m_adwWorkRing[m_nWorkRingIndex] = work;
    if (++m_nWorkRingIndex == static_cast<int>(std::size(m_adwWorkRing))) {
        m_nWorkRingIndex = 0;
        DWORD sum = 0;
        for (DWORD sample : m_adwWorkRing) sum += sample;
        m_dwWorkAverage = sum >> 4;
    }
    char text[32];
    std::snprintf(text, sizeof text, "FPS%2d(%2d)", static_cast<int>(fps), static_cast<int>(m_dwWorkAverage));
    if (FpsTextDrawer draw = g_FpsTextDrawer.load()) draw(g_SystemIni.ShowFps, text);
    else LogNotBuiltYet("frame-rate text");
}

void cGameManager::ChangeScene(int n)
{
    if (!m_bKeepScenes)
        for (int type : kChangeSceneDeleteOrder)
            if (type != n) DeleteScene(type);
    if (!IsSceneType(n) || m_lpScenes[n]) return;
    SceneFactory factory = g_SceneFactory.load();
    if (!factory) {
        LogNotBuiltYet("scenes");
        return;
    }
    m_lpScenes[n].reset(factory(n));
    if (!m_lpScenes[n]) {
        OutOfMemoryBox();
        return;
    }
    if (n == SCENE_PLAY) g_lpPlayScene = dynamic_cast<cPlayScene*>(m_lpScenes[n].get());
}

void cGameManager::DeleteScenes()
{
    for (int type : kDeleteScenesOrder) DeleteScene(type);
}

void cGameManager::Present()
{
    if (lpDTCon) {
        // A lost device is reset on the window thread before the send returns.
        if (DDPresent(m_nFps, 0, nullptr) == 0) SendMessageA(g_hWnd.load(), WM_GAME_RESTOREDEVICE, 0, 0);
        return;
    }
    if (lpDDCon) {
        LogNotBuiltYet("cGameManager::Present under DirectDraw");
        return;
    }
    // No graphics device: nothing to show, and the frame gate keeps the loop at the frame rate
    // instead of spinning.
    WaitForFrameGate(m_nFps);
}

bool cGameManager::RestoreLostSurfaces()
{
    // Only DirectDraw loses surfaces.
    if (lpDTCon || !lpDDCon) return true;
    LogNotBuiltYet("cGameManager::RestoreLostSurfaces");
    return true;
}

void cGameManager::PollInput(cSafeVector<cInput>& inputs)
{
    if (g_KeyConfig.bUse) inputs.At(0).PollKeyConfig(1, 60);
    else inputs.At(0).PollDefault(0, 3, 60);
}

void WaitFrameRate()
{
    // Direct3D paces inside its present instead.
    if (!lpDTCon && lpDDCon) WaitForFrameGate(g_GameManager.m_nFps);
}

bool PingPongStep(int& value, int& falling, int step, int min, int max)
{
    if (falling) {
        const int next = value - step;
        if (next > min) {
            value = next;
            return false;
        }
        falling = 0;
        return true;
    }
    const int next = value + step;
    if (next < max) {
        value = next;
        return false;
    }
    falling = 1;
    return false;
}

void SetSceneFactory(SceneFactory factory) { g_SceneFactory.store(factory); }

void SetFrameHooks(FrameHook start, FrameHook end)
{
    g_FrameStart.store(start);
    g_FrameEnd.store(end);
}

void SetFpsTextDrawer(FpsTextDrawer draw) { g_FpsTextDrawer.store(draw); }
