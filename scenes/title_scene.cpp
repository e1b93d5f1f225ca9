#include "scenes/title_scene.h"

#include "shell/not_built_yet.h"

void cTitleScene::Run()
{
    if (m_nState < 0) {
        m_nState = 0;
        LogNotBuiltYet("title menu");
    }
}
