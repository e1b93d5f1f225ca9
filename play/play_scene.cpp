#include "play/play_scene.h"

#include "shell/not_built_yet.h"

std::atomic<cPlayScene*> g_lpPlayScene{nullptr};

cPlayScene::~cPlayScene()
{
    // Nothing may reach a deleted stage through the global.
    cPlayScene* self = this;
    g_lpPlayScene.compare_exchange_strong(self, nullptr);
}

void cPlayScene::Run()
{
    if (m_nState < 0) m_nState = 0;
    LogNotBuiltYet("stage play");
}
