#include "tools/demo-game/demo_templates.h"

cBlockData DemoBlock(const char* name, int frame, int hitMode)
{
    cBlockData block;
    block.m_strName = name;
    block.m_nImageNumber = 1;
    block.m_nImageFrame = static_cast<std::int16_t>(frame);
    block.m_nHitMode = static_cast<BYTE>(hitMode);
    return block;
}
