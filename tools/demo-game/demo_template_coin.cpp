#include "tools/demo-game/demo_database.h"
#include "tools/demo-game/demo_templates.h"

cItemData DemoCoin()
{
    cItemData coin;
    coin.m_strName = "コイン";
    coin.m_nImageNumber = 1;
    coin.m_nSound = DEMO_SOUND_COIN;
    return coin;
}
