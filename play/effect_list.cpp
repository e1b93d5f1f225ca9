#include "play/effect_list.h"

#include "shell/not_built_yet.h"

void cEffectList::Draw()
{
    if (!m_Effects.empty()) LogNotBuiltYet("effect instances");
}
