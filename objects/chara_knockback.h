#pragma once
// Knock-back: an impulse, in half-blocks, that pushes a chara and decays by 1 / b pixels per
// sub-step, so that it covers 16 pixels per half-block.
#include "objects/chara_movement.h"

class cGameObject;

// A chara's knock-back state.
struct KNOCKBACK {
    double dSpeedX = 0;   // pixels per sub-step
    double dSpeedY = 0;
    int bKnocked = 0;
    double dPrevY = 0;    // the vertical speed already added to the velocity
};

// Nothing for a strength of 0. Otherwise the strength less the resistance (kept within 20
// half-blocks) sets the speeds along (dx, dy), inertia and velocity against them are dropped,
// and the knocked-back flag is set.
void StartKnockback(cGameObject& chara, KNOCKBACK& knockback, int strength, int resistance,
                    double dx, double dy, const STAGESPEED& speed);
// At the start of a vertical step. `onGround`: the chara stands on a solid floor cell or rides.
void ApplyKnockbackY(cGameObject& chara, KNOCKBACK& knockback, bool onGround);
// Once per sub-step on each axis: toward 0 by 1 / b, and 0 once it crosses.
void DecayKnockback(double& knockbackSpeed, const STAGESPEED& speed);
