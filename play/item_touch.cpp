// The player's pickups of the stage's items.
#include "play/play_scene.h"
#include "shell/not_built_yet.h"

int cPlayScene::TouchItems(cHero&)
{
    LogNotBuiltYet("item pickups");
    return 0;
}
