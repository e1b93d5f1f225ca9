// The stage draw: backgrounds, blocks, the objects layer by layer, and what lies over them.
#include "play/play_scene.h"
#include "shell/not_built_yet.h"

void cPlayScene::DrawStage(int, int, int, int) { LogNotBuiltYet("stage drawing"); }
