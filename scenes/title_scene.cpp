#include "scenes/title_scene.h"

#include "shell/input.h"
#include "shell/not_built_yet.h"

cTitleScene::cTitleScene()
{
    m_States = {&cScene::CallFadeIn, static_cast<STATEHANDLER>(&cTitleScene::StateMainMenu),
                static_cast<STATEHANDLER>(&cTitleScene::StateContinueSlots), &cScene::CallFadeOut};
}

void cTitleScene::Run()
{
    cInput& input = g_Input.At(0);
    input.ApplyRepeat();
    input.TriggerButtons(3);
    if (m_nState == -1) {
        Init();
        m_nState = 0;
    }
    RunState();
}

void cTitleScene::Init()
{
    LogNotBuiltYet("title menu");
    m_nSubState = 0;
}

void cTitleScene::StateMainMenu() {}

void cTitleScene::StateContinueSlots() {}
