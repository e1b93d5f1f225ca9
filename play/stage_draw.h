#pragma once
// The stage draw of the stage-play scene (play/stage_draw.cpp and the files beside it), of
// which cPlayScene::Draw is the one entry. A part of cPlayScene, which derives from it.
class cStageChara;
struct DDSURFACEDATA;

class cStageDraw {
public:
    void DrawStage(int full, int paused, int timer, int bottomText);
    // Player 1's draw; after its death display it runs the death sequence.
    void DrawPlayer(int paused);
    // 1 when the chara's death display has ended: the caller removes it.
    int DrawChara(cStageChara& chara, int paused);
    void ScrollBackgrounds();
    void DrawBackgrounds(DDSURFACEDATA* target, int front);
    void DrawBlocks(DDSURFACEDATA* target, int blockLayer);
    // The running screen effect over the finished picture (play/screen_effect.cpp); when it
    // ends, its id becomes 0 and drawing returns to the real back buffer.
    void DrawScreenEffect(int paused);

    // The status bar, the remaining time and the screen colour (play/status_bar.cpp,
    // play/screen_colour.cpp), drawn over the stage in this order. timer: the time warning
    // may sound in this frame.
    void DrawStatusBar(DDSURFACEDATA* lpTarget);
    void DrawTimeLeft(DDSURFACEDATA* lpTarget, int timer);
    void DrawBottomLine();
    void DrawScreenColor(int paused);
};
