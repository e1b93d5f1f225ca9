// The stage's time limit and the play time counted by a play frame.
#include "play/play_scene.h"
#include "shell/not_built_yet.h"

int cPlayScene::TickTimeLimit(int)
{
    LogNotBuiltYet("time limit");
    return 0;
}

void cPlayScene::TickPlayTime() { LogNotBuiltYet("play time"); }
