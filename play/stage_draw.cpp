// The stage draw: backgrounds, blocks, the objects layer by layer, and what lies over them, in
// the order the stage is composed. Drawing also moves the stage on: animations tick, death
// displays end and erase their charas, and player 1's death display restarts the stage.
#include "data/stage_data.h"
#include "data/system_data.h"
#include "graphics/device.h"
#include "play/play_scene.h"
#include "shell/not_built_yet.h"

void cPlayScene::DrawStage(int full, int paused, int timer, int bottomText)
{
    LogNotBuiltYet("shot cells after a device loss");
    if (m_ScreenEffect.nKind != 0) LogNotBuiltYet("screen effects");

    ScrollBackgrounds();
    DrawBackgrounds(&g_BackBuffer, 0);
    if (!full && m_nState == PLAYSTATE_PAUSE && g_SystemData.m_bPauseHidesObjects) {
        DrawBackgrounds(&g_BackBuffer, 1);
        DrawScreenColor(paused);
        return;
    }
    DrawPictures(&g_BackBuffer, 0, paused);
    DrawBlocks(&g_BackBuffer, 0);

    LogNotBuiltYet("stage objects drawing");

    DrawBlocks(&g_BackBuffer, 1);
    DrawBackgrounds(&g_BackBuffer, 1);
    DrawPictures(&g_BackBuffer, 1, paused);
    DrawStatusBar(&g_BackBuffer);
    DrawTimeLeft(&g_BackBuffer, timer);
    if (bottomText) DrawBottomLine();
    DrawScreenColor(paused);
}

void cPlayScene::DrawPlayer(int) { LogNotBuiltYet("player drawing"); }

int cPlayScene::DrawChara(cStageChara&, int)
{
    LogNotBuiltYet("chara drawing");
    return 0;
}

void cPlayScene::ScrollBackgrounds() { LogNotBuiltYet("background scrolling"); }

void cPlayScene::DrawBackgrounds(DDSURFACEDATA*, int) { LogNotBuiltYet("backgrounds"); }

void cPlayScene::DrawBlocks(DDSURFACEDATA*, int) { LogNotBuiltYet("block layers"); }

void cPlayScene::DrawPictures(DDSURFACEDATA*, int, int) { LogNotBuiltYet("stage pictures"); }
