#include "play/scene.h"

#include <cstddef>

#include "shell/input.h"

void cScene::RunState()
{
    if (m_nState < 0 || m_nState >= static_cast<int>(m_States.size())) return;
    if (STATEHANDLER handler = m_States[static_cast<std::size_t>(m_nState)]) (this->*handler)();
}

void cScene::RunFrontEndFrame(WORD oneShotButtons)
{
    cInput& input = g_Input.At(0);
    input.ApplyRepeat();
    input.TriggerButtons(oneShotButtons);
    if (m_nState == -1) {
        Init();
        m_nState = 0;
    }
    RunState();
}
