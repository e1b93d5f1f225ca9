#pragma once
// An effect instance: the frame animation of an Effect database entry played at a stage
// position, placed by the run-effect command or by a hit. The stage's effect list owns them
// and removes each one whose animation has ended.
#include "objects/frame_animator.h"

struct DDSURFACEDATA;
struct HITBOX;
class cEffectData;

// What the run-effect command places: the entry, the top-left corner in stage pixels, the size
// on the screen and whether the animation also runs while the stage is paused.
struct EFFECTPLACEMENT {
    int nId = 0;
    double dX = 0;
    double dY = 0;
    int nWidth = 0;
    int nHeight = 0;
    int bAnimatePaused = 0;
};

class cEffectInstance {
public:
    cEffectInstance() = default;
    // Scaled when the width differs from the entry's frame width.
    explicit cEffectInstance(const EFFECTPLACEMENT& placement);

    // The hit effect of entry id centred on the overlap of two boxes (around the stage's (0, 0)
    // when they do not overlap), scaled by `scale` when the entry scales with charas, moved by
    // two draws of rand (x first) of up to 4 pixels per unit of scale.
    void InitHit(int id, const HITBOX& a, const HITBOX& b, int scale);
    // The animator plays the entry's prepared pattern from its start.
    void SetupAnimation(int id);
    // Draws the current frame onto target, ticking the animation unless paused (or when it
    // animates while paused). 1 when the animation has ended: the instance is then removed.
    int Draw(DDSURFACEDATA* target, int paused);

    int m_nId = 0;            // 16 bits: an id of 32768 or more reads as negative, out of range
    double m_dX = 0;
    double m_dY = 0;
    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_bScaled = 0;
    cFrameAnimator m_Animator;
    int m_bAnimatePaused = 0;
};

// Effect entry id of the database by checked access (a bad id reports and yields entry 0).
const cEffectData& EffectEntry(int id);
