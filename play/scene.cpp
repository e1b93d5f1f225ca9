#include "play/scene.h"

#include <cstddef>

void cScene::RunState()
{
    if (m_nState < 0 || m_nState >= static_cast<int>(m_States.size())) return;
    if (STATEHANDLER handler = m_States[static_cast<std::size_t>(m_nState)]) (this->*handler)();
}
