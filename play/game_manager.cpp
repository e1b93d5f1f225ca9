#include "play/game_manager.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <iterator>

#include "data/stage_data.h"
#include "graphics/blit.h"
#include "graphics/device.h"
#include "graphics/font.h"
#include "graphics/font_digit_surfaces.h"
#include "graphics/present.h"
#include "graphics/restore.h"
#include "graphics/stage_picture_surfaces.h"
#include "graphics/surface.h"
#include "platform/os/timer.h"
#include "play/play_scene.h"
#include "shell/error_box.h"
#include "shell/game_requests.h"
#include "shell/key_config.h"
#include "shell/log.h"
#include "shell/shared_flags.h"
#include "shell/system_ini.h"
#include "shell/timing.h"

cGameManager g_GameManager;

namespace {

std::atomic<SceneFactory> s_SceneFactory{nullptr};
std::atomic<FrameHook> s_FrameStart{nullptr};
std::atomic<FrameHook> s_FrameEnd{nullptr};
std::atomic<FrameHook> s_FrameCarry{nullptr};
std::atomic<FrameHoldTest> s_FrameHold{nullptr};
std::atomic<FpsTextDrawer> s_FpsTextDrawer{nullptr};

// Deletion orders: ChangeScene and DeleteScenes each keep their own.
constexpr int kChangeSceneDeleteOrder[kSceneTypes] = {SCENE_TITLE, SCENE_STORYMENU, SCENE_WORLDMAP,
                                                      SCENE_STAGESELECT, SCENE_PLAY, SCENE_OPTION};
constexpr int kDeleteScenesOrder[kSceneTypes] = {SCENE_TITLE, SCENE_WORLDMAP, SCENE_STORYMENU,
                                                 SCENE_STAGESELECT, SCENE_OPTION, SCENE_PLAY};

bool IsSceneType(int type) { return type >= 0 && type < kSceneTypes; }

// Waits for the frame gate at the given rate, sleeping until it is due rather than polling.
void WaitForFrameGate(int fps)
{
    const unsigned rate = static_cast<unsigned>(fps > 0 ? fps : 0);
    while (!FrameRateGate(rate)) Sleep(std::max<DWORD>(1, FrameRateGateDueIn(rate)));
}

IDirectDrawSurface7* DirectDrawSurfaceOf(const DDSURFACEDATA& sd) { return sd.lpDDraw ? sd.lpDDraw->lpDDS : nullptr; }

// The loaded stage's frame rate (60 for a stored rate of 0 or less).
int LoadedStageFrameRate()
{
    return g_StageData.PaceFrameRate();
}

// Above 60 frames a second the DirectDraw present neither waits for the vertical blank nor
// flips.
bool StageRunsAbove60() { return g_lpPlayScene.load() && LoadedStageFrameRate() > 60; }

void PresentDirectDraw()
{
    IDirectDrawSurface7* primary = DirectDrawSurfaceOf(g_Primary);
    IDirectDrawSurface7* back = DirectDrawSurfaceOf(g_BackBuffer);
    if (!primary || !back) return;
    // A failed copy or flip is left alone: a lost surface is restored at the next frame's start.
    if (g_nWindowMode == 1) {
        if (!StageRunsAbove60() && g_lpDD) g_lpDD->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr);
        RECT client = g_rcClient.Load();
        primary->Blt(&client, back, nullptr, DDBLT_WAIT, nullptr);
        return;
    }
    if (!g_bPresentByBlt.load() && !StageRunsAbove60()) primary->Flip(nullptr, DDFLIP_WAIT);
    else DDBltFast(&g_Primary, 0, 0, 640, 480, &g_BackBuffer, 0, 0, 0);
}

// ShowFps 2: plain text in the first font; any other: in a window of the second font, sized
// to the text.
void DrawFrameRateTextWithFonts(int showFps, const char* text)
{
    if (showFps == 2) g_Font[0].Printf(&g_BackBuffer, 549, 469, "%s", text);
    else g_Font[1].PrintfWindow(&g_BackBuffer, 495, 463, 0, 0, "%s", text);
}

enum class eLostSurface { Kept, Restored, Failed };

// Restores the record's DirectDraw surface when it is lost. One that cannot be restored would
// fail every blit from then on.
eLostSurface RestoreIfLost(DDSURFACEDATA& sd)
{
    IDirectDrawSurface7* surface = DirectDrawSurfaceOf(sd);
    if (!surface || surface->IsLost() != DDERR_SURFACELOST) return eLostSurface::Kept;
    return FAILED(surface->Restore()) ? eLostSurface::Failed : eLostSurface::Restored;
}

template <class Container>
bool RestoreEach(Container& surfaces)
{
    for (DDSURFACEDATA& sd : surfaces)
        if (!cGameManager::RestoreOneSurface(sd)) return false;
    return true;
}

}  // namespace

cGameManager::~cGameManager() { DeleteScenes(); }

cScene* cGameManager::Scene(int type) const { return IsSceneType(type) ? m_lpScenes[type].get() : nullptr; }

void cGameManager::DeleteScene(int type)
{
    if (!m_lpScenes[type]) return;
    if (type == SCENE_PLAY) g_lpPlayScene.store(nullptr);
    m_lpScenes[type].reset();
}

bool cGameManager::RunFrame()
{
    CallFrameStartHook();
    WaitFrameRate();
    StopwatchStart();
    if (!RestoreLostSurfaces()) return false;
    PollInput(g_Input);
    ChangeScene(m_nScene);
    if (cScene* scene = Scene(m_nScene)) scene->Run();

    const DWORD fps = CountFps(true);
    const DWORD work = StopwatchLap(true);
    if (cPlayScene* play = g_lpPlayScene.load()) play->m_nFrameRate = static_cast<int>(fps);
    if (g_SystemIni.ShowFps != 0) DrawFrameRateText(fps, work);
    Present();
    CallFrameEndHook();
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
    if (FpsTextDrawer draw = s_FpsTextDrawer.load()) draw(g_SystemIni.ShowFps, text);
    else DrawFrameRateTextWithFonts(g_SystemIni.ShowFps, text);
}

void cGameManager::ChangeScene(int n)
{
    if (!m_bKeepScenes)
        for (int type : kChangeSceneDeleteOrder)
            if (type != n) DeleteScene(type);
    if (!IsSceneType(n) || m_lpScenes[n]) return;
    SceneFactory factory = s_SceneFactory.load();
    if (!factory) {
        // The program registers its factory before the first scene; only a test that builds
        // the manager alone gets here, and is told so.
        ReportLog("scene %d: no scene factory is registered", n);
        return;
    }
    m_lpScenes[n].reset(factory(n));
    if (!m_lpScenes[n]) {
        OutOfMemoryBox();
        return;
    }
    if (n == SCENE_PLAY) g_lpPlayScene.store(dynamic_cast<cPlayScene*>(m_lpScenes[n].get()));
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
        PresentDirectDraw();
        return;
    }
    // No graphics device: nothing to show, and the frame gate keeps the loop at the frame rate
    // instead of spinning.
    WaitForFrameGate(m_nFps);
}

bool cGameManager::RestoreLostSurfaces()
{
    // Only DirectDraw loses surfaces, and the primary is lost whenever anything is.
    if (lpDTCon || !lpDDCon) return true;
    IDirectDrawSurface7* primary = DirectDrawSurfaceOf(g_Primary);
    if (!primary || primary->IsLost() != DDERR_SURFACELOST) return true;
    if (!DDRestore()) return false;
    if (!RestoreSurface(g_CharaSurface) || !RestoreSurface(g_EffectSurface) || !RestoreSurface(g_SwordSurface) ||
        !RestoreSurface(g_PictureSurface) || !RestoreSurface(g_SceneSurface) || !RestoreSurface(Off_Msg))
        return false;
    if (!RestoreFontSurfaces(g_FontDigitSurface, kFontDigitSurfaceCount)) return false;
    if (!Off_Msg.empty()) EcLogF("if ( !RestoreSurface(Off_Msg) ) Off_Msg[0].bLost = %d", Off_Msg.front().bLost);
    return true;
}

bool cGameManager::RestoreOneSurface(DDSURFACEDATA& sd)
{
    switch (RestoreIfLost(sd)) {
    case eLostSurface::Kept: return true;
    case eLostSurface::Failed: return false;
    case eLostSurface::Restored: break;
    }
    if (sd.nMemType != 0) return true;
    sd.bLost = TRUE;
    return DDReloadBitmap(&sd, g_nBpp);
}

bool cGameManager::RestoreFontSurfaces(DDSURFACEDATA* surfaces, int n)
{
    for (int i = 0; surfaces && i < n; ++i) {
        const eLostSurface result = RestoreIfLost(surfaces[i]);
        if (result == eLostSurface::Failed) return false;
        if (result == eLostSurface::Restored && surfaces[i].nMemType == 0 && i < kFontCount)
            DrawDigitsToSurface(&surfaces[i], &g_Font[i]);
    }
    return true;
}

bool RestoreSurface(std::vector<DDSURFACEDATA>& surfaces) { return RestoreEach(surfaces); }

bool RestoreSurface(cSafeList<DDSURFACEDATA>& surfaces) { return RestoreEach(surfaces); }

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

void SetSceneFactory(SceneFactory factory) { s_SceneFactory.store(factory); }

void SetFrameHooks(FrameHook start, FrameHook end, FrameHook carry)
{
    s_FrameStart.store(start);
    s_FrameEnd.store(end);
    s_FrameCarry.store(carry);
}

void CallFrameStartHook()
{
    if (FrameHook start = s_FrameStart.load()) start();
}

void CallFrameEndHook()
{
    if (FrameHook end = s_FrameEnd.load()) end();
}

void CallFrameCarryHook()
{
    if (FrameHook carry = s_FrameCarry.load()) carry();
}

void SetFrameHoldTest(FrameHoldTest test) { s_FrameHold.store(test); }

bool FramesHeld()
{
    const FrameHoldTest test = s_FrameHold.load();
    return test && test();
}

void SetFpsTextDrawer(FpsTextDrawer draw) { s_FpsTextDrawer.store(draw); }
