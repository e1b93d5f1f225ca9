#include "objects/hit_immunity.h"

#include <algorithm>

#include "shell/game_arithmetic.h"

void cHitImmunityList::Tick()
{
    for (HITIMMUNITY& entry : m_Entries) entry.nSteps = WrapSub(entry.nSteps, 1);
    std::erase_if(m_Entries, [](const HITIMMUNITY& entry) { return entry.nSteps <= 0; });
}

bool cHitImmunityList::Contains(int serial) const
{
    return std::any_of(m_Entries.begin(), m_Entries.end(),
                       [serial](const HITIMMUNITY& entry) { return entry.nSerial == serial; });
}
