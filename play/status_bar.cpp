// The status bar, the remaining time and the bottom line of text.
#include "play/play_scene.h"
#include "shell/not_built_yet.h"

void cPlayScene::DrawStatusBar(DDSURFACEDATA*) { LogNotBuiltYet("status bar"); }

void cPlayScene::DrawTimeLeft(DDSURFACEDATA*, int) { LogNotBuiltYet("remaining time"); }

void cPlayScene::DrawBottomLine() { LogNotBuiltYet("bottom line"); }
