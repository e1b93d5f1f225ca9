#include "play/stage_seams.h"

#include "play/scene.h"
#include "shell/not_built_yet.h"

void EnterRankingName(cPlayScene&) { LogNotBuiltYet("ranking name entry"); }

int AfterClear(cPlayScene&)
{
    LogNotBuiltYet("clear sequence");
    return SCENE_TITLE;
}

void BeginStageClear(cPlayScene&) { LogNotBuiltYet("clear sequence"); }

void DrawClearHint() { LogNotBuiltYet("clear sequence"); }

void DrawClearResults(cPlayScene&) { LogNotBuiltYet("clear sequence"); }
