#include "play/play_scene.h"

#include "shell/not_built_yet.h"

cPlayScene* g_lpPlayScene = nullptr;

cPlayScene::~cPlayScene()
{
    // Nothing may reach a deleted stage through the global.
    if (g_lpPlayScene == this) g_lpPlayScene = nullptr;
}

void cPlayScene::Run()
{
    if (m_nState < 0) m_nState = 0;
    LogNotBuiltYet("stage play");
}
