#include "play/scene.h"

#include <cstddef>

#include "data/system_data.h"
#include "graphics/device.h"
#include "graphics/fill.h"
#include "graphics/font.h"
#include "graphics/palette.h"
#include "graphics/screen_color.h"
#include "graphics/stage_picture_surfaces.h"
#include "graphics/standard_surfaces.h"
#include "graphics/surface.h"
#include "play/game_manager.h"
#include "play/menu_cursor.h"
#include "shell/game_requests.h"
#include "shell/input.h"
#include "shell/shared_flags.h"

void cScene::RunState()
{
    if (m_nState < 0 || m_nState >= static_cast<int>(m_States.size())) return;
    if (STATEHANDLER handler = m_States[static_cast<std::size_t>(m_nState)]) (this->*handler)();
}

void cScene::RunFrontEndFrame(WORD oneShotButtons)
{
    cInput& input = g_Input.At(0);
    input.ApplyRepeat();
    input.TriggerButtons(oneShotButtons);
    if (m_nState == -1) {
        Init();
        m_nState = 0;
    }
    RunState();
}

void PostClose()
{
    // Once the close sequence runs, it is what ends the program (and what stops a load).
    if (!g_bClosing.load()) g_bRunFailed.store(1);
    PostMessageA(g_hWnd.load(), WM_CLOSE, 0, 0);
}

void BeginFrontEndInit(int bgmScreen, const int* pictures, int count)
{
    // Number 0 asks every time: it stops whatever another screen left playing.
    const int bgm = g_SystemData.m_ScreenBgm.At(bgmScreen);
    if (bgm == 0 || bgm != g_GameManager.m_nBgm) {
        g_GameManager.m_nBgm = bgm;
        PlayBgm(bgmScreen, 0);
    }
    if (!DDLoadSurfaces(g_StdSurface, pictures, count)) PostClose();
}

void ReleaseFrontEndPictures(const int* pictures, int count, bool workSurface)
{
    for (int i = 0; i < count; ++i)
        if (pictures[i] >= 0 && pictures[i] < kStdSurfaceCount) DDReleaseSurface(&g_StdSurface[pictures[i]]);
    if (workSurface) DDReleaseSurfaceVector(&g_SceneSurface);
}

bool RebuildSceneSurface(int w, int h, BOOL transparent)
{
    DDReleaseSurfaceVector(&g_SceneSurface);
    g_SceneSurface.clear();
    g_SceneSurfaceInfo.clear();
    if (DDAddSurface(&g_SceneSurface, &g_SceneSurfaceInfo, w, h, transparent, 1, 0, nullptr)) return true;
    PostClose();
    return false;
}

DDSURFACEDATA* SceneSurface()
{
    if (g_SceneSurface.empty() || !HasDeviceSurface(&g_SceneSurface.front())) return nullptr;
    return &g_SceneSurface.front();
}

bool IsEightBitColour() { return g_nBpp == 8; }

bool TakeSceneSurfaceLost()
{
    DDSURFACEDATA* surface = SceneSurface();
    if (!surface || !surface->bLost) return false;
    surface->bLost = FALSE;
    return true;
}

bool FrontEndFadeInStep()
{
    const BYTE done = DDFadeIn(g_DisplayPalette, 0, 255, 0, 0, 0, g_GameManager.m_nFadeSpeed, g_Palette, 0);
    return (done & 0xFF) == 1;
}

bool FrontEndFadeOutStep(int ownScene, bool resetCursor)
{
    const BYTE done = DDFadeOut(g_DisplayPalette, 0, 255, 0, 0, 0, g_GameManager.m_nFadeSpeed, g_Palette, 0);
    if ((done & 0xFF) != 1) return false;
    DDFillSurfacePal(&g_BackBuffer, 16);
    if (resetCursor) g_MenuCursor.Reset();
    g_GameManager.m_nPrevScene = ownScene;
    g_GameManager.m_nScene = g_GameManager.m_nNextScene;
    return true;
}
