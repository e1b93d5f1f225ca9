#pragma once
// The screen effect running over the stage (a move, shakes, splits, waves, a blink, a turn, a
// circle around player 1, a zoom, a lens, a mosaic): the playback that the screen-effect
// command starts, id 0 when none runs. The stage draw turns drawing over to a readable back
// buffer at the start of a frame while one runs (BeforeDraw), and near its end hands the
// finished picture to the effect (cStageDraw::DrawScreenEffect, in screen_effect.cpp).
#include "objects/effect_playback.h"

class cScreenEffect : public cEffectPlayback {
public:
    // No effect: id 0, no entry, every value and counter 0.
    void Reset() { *this = cScreenEffect{}; }
    // The start of the stage draw: while an effect runs, the frame is drawn where the effect
    // can read it back.
    void BeforeDraw() const;
};
