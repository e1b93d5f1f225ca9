#include "tools/demo-game/demo_templates.h"

cBlockData DemoBlock(const char* name, int number, int hitMode)
{
    cBlockData block;
    block.m_strName = name;
    block.m_nImageNumber = static_cast<std::int16_t>(number);
    block.m_nHitMode = static_cast<BYTE>(hitMode);
    return block;
}
