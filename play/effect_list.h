#pragma once
// The stage's effect instances, in the order they were placed; the stage draw plays each one
// over the stage every frame and removes those whose animation has ended.
#include <list>

#include "objects/effect_instance.h"

struct DDSURFACEDATA;

class cEffectList {
public:
    void Clear() { m_Effects.clear(); }
    // Every effect's frame onto target, after the front pictures, in one sprite batch.
    void Draw(DDSURFACEDATA* target, int paused);

    std::list<cEffectInstance> m_Effects;
};
