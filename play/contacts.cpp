// Hits between the stage's objects: shots against charas, charas against charas, shots against
// shots, and what a defeat found there means for the stage.
#include "play/play_scene.h"
#include "shell/not_built_yet.h"

int cPlayScene::ProcessContacts()
{
    LogNotBuiltYet("contacts between objects");
    return 0;
}

int cPlayScene::ResolveDefeat(cChara&)
{
    LogNotBuiltYet("contacts between objects");
    return 0;
}

int cPlayScene::CheckPlayerHp()
{
    LogNotBuiltYet("contacts between objects");
    return 0;
}
