#include "scenes/pending_scene.h"

#include "shell/not_built_yet.h"

void cPendingScene::Run()
{
    if (m_nState < 0) m_nState = 0;
    LogNotBuiltYet(m_lpName);
}
