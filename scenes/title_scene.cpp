#include "scenes/title_scene.h"

#include "shell/not_built_yet.h"

namespace {

// Decide and cancel report only on the frame they are pressed.
constexpr WORD kOneShotButtons = 3;

}  // namespace

cTitleScene::cTitleScene()
{
    m_States = {&cScene::CallFadeIn, static_cast<STATEHANDLER>(&cTitleScene::StateMainMenu),
                static_cast<STATEHANDLER>(&cTitleScene::StateContinueSlots), &cScene::CallFadeOut};
}

void cTitleScene::Run() { RunFrontEndFrame(kOneShotButtons); }

void cTitleScene::Init()
{
    LogNotBuiltYet("title menu");
    m_nSubState = 0;
}

void cTitleScene::StateMainMenu() {}

void cTitleScene::StateContinueSlots() {}
