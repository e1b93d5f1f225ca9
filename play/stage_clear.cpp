#include "play/stage_clear.h"

#include "play/scene.h"
#include "shell/not_built_yet.h"

void cStageClear::SizeResults()
{
    m_RankPos.resize(5, 0);
    m_Results.resize(5, 0);
}

void BeginStageClear(cPlayScene&) { LogNotBuiltYet("clear sequence"); }

void EnterRankingName(cPlayScene&) { LogNotBuiltYet("ranking name entry"); }

int AfterClear(cPlayScene&)
{
    LogNotBuiltYet("clear sequence");
    return SCENE_TITLE;
}

void DrawClearHint() { LogNotBuiltYet("clear sequence"); }

void DrawClearResults(cPlayScene&) { LogNotBuiltYet("clear sequence"); }
