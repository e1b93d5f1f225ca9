// The screen colour of the stage: a tint or a flash over the finished picture.
#include "play/play_scene.h"
#include "shell/not_built_yet.h"

void cPlayScene::DrawScreenColor(int) { LogNotBuiltYet("screen colour"); }
