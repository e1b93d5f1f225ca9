// The stage draw: backgrounds, blocks, the objects layer by layer, and what lies over them, in
// the order the stage is composed. Drawing also moves the stage on: animations tick, death
// displays end and erase their charas, and player 1's death display restarts the stage.
#include "data/role_accessors.h"
#include "data/stage_data.h"
#include "data/system_data.h"
#include "graphics/device.h"
#include "graphics/sprite_batch.h"
#include "graphics/standard_surfaces.h"
#include "objects/hero.h"
#include "objects/shot.h"
#include "platform/os/messages.h"
#include "play/palette_colors.h"
#include "play/play_scene.h"
#include "shell/thread.h"

namespace {

constexpr int kObjectPasses = 8;

// A draw of a modal loop, which runs while a play frame waits, removes nothing: the frame's
// lists must stay as the frame left them, and the next draw of the game thread removes it.
bool MayRemoveCharas()
{
    if (OnModalLoopThread()) return false;
    return thPause.m_hThread.load() == nullptr || GetCurrentThreadId() != thPause.m_dwThreadId;
}

}  // namespace

void cStageDraw::DrawStage(int full, int paused, int timer, int bottomText)
{
    cPlayScene& scene = SceneOf(this);
    // The shot cells are drawn, not loaded: a device loss leaves them empty until rebuilt.
    if (g_StdSurface[kShotSheet].bLost || g_StdSurface[kShotSheet + 1].bLost) {
        scene.m_StagePictures.BuildShotCells();
        g_StdSurface[kShotSheet].bLost = g_StdSurface[kShotSheet + 1].bLost = FALSE;
    }
    scene.m_ScreenEffect.BeforeDraw();

    ScrollBackgrounds();
    DrawBackgrounds(&g_BackBuffer, 0);
    if (!full && scene.m_nState == PLAYSTATE_PAUSE && g_SystemData.m_bPauseHidesObjects) {
        DrawBackgrounds(&g_BackBuffer, 1);
        DrawScreenColor(paused);
        return;
    }
    scene.m_StagePictures.Draw(&g_BackBuffer, 0, paused);
    DrawBlocks(&g_BackBuffer, 0);

    const bool layered = g_StageData.m_bLayered != 0;
    const int passes = layered ? kObjectPasses : 1;
    const bool mayRemove = MayRemoveCharas();
    for (int layer = 0; layer < passes; ++layer) {
        if (!Player.empty() && (!layered || CharaDrawLayer(Player.At(0).m_Def) == layer)) DrawPlayer(paused);

        DDBeginSpriteBatch(TRUE);
        DDAddBatchSurface(&g_StdSurface[kMarkSheet]);
        for (cItem& item : scene.m_Items) {
            if (layered && ItemDrawLayer(item.m_Def) != layer) continue;
            if (!item.m_bOnScreen) continue;
            item.UpdateScreenRect();
            item.Draw(&g_BackBuffer, paused);
        }
        DDEndSpriteBatch();

        for (auto it = scene.m_Charas.begin(); it != scene.m_Charas.end();) {
            if (layered && CharaDrawLayer(it->m_Def) != layer) {
                ++it;
                continue;
            }
            if (DrawChara(*it, paused) && mayRemove) it = scene.UnlinkChara(it);
            else ++it;
        }

        DDBeginSpriteBatch(FALSE);
        for (cShot& shot : scene.m_ShotLists.m_Shots) {
            if (layered && shot.DrawLayer() != layer) continue;
            if (!shot.IsOnScreen()) continue;
            shot.UpdateScreenRect();
            shot.Draw(&g_BackBuffer, paused);
        }
        DDEndSpriteBatch();
    }

    DrawBlocks(&g_BackBuffer, 1);
    DrawBackgrounds(&g_BackBuffer, 1);
    if (!Player.empty()) Player.At(0).DrawOverlayMask(&g_BackBuffer);
    scene.m_StagePictures.Draw(&g_BackBuffer, 1, paused);
    scene.m_EffectList.Draw(&g_BackBuffer, paused);
    scene.m_MessageList.Draw(&g_BackBuffer, paused);
    DrawScreenEffect(paused);
    DrawStatusBar(&g_BackBuffer);
    DrawTimeLeft(&g_BackBuffer, timer);
    if (bottomText) DrawBottomLine();
    AnimatePaletteColors();
    DrawScreenColor(paused);
}
