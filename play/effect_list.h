#pragma once
// The stage's effect instances, in the order they were placed; the stage draw plays each one
// over the stage every frame.
#include <list>

#include "objects/effect_instance.h"

class cEffectList {
public:
    void Clear() { m_Effects.clear(); }
    // Every effect's frame over the stage, after the front pictures.
    void Draw();

    std::list<cEffectInstance> m_Effects;
};
