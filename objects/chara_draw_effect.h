#pragma once
// The draw effect of a chara: the chara effect that plays on it and reshapes its picture, and
// the death display that follows its defeat. The handlers that draw and step each kind of
// effect are not built yet: an effect ends at its first frame.
#include "objects/effect_playback.h"

struct DDSURFACEDATA;
class cChara;
class cImageSource;

class cCharaDrawEffect {
public:
    // No effect plays, and the death display has not begun.
    void Reset() { *this = cCharaDrawEffect{}; }
    // Plays CharaEffect entry `id` (0 none) in `mode` (0 normal, 1 reverse, 2 round trip).
    void Start(int id, int mode, int loop);
    bool IsPlaying() const { return m_EffectPlayback.m_nId != 0; }
    // One frame of the playing effect: drawn from `source` onto `target` when draw is 1, and
    // stepped unless paused. 1 when it has ended; then no effect plays.
    int Run(cChara& chara, DDSURFACEDATA* target, const cImageSource* source, int paused, int draw);
    // One more frame of the death display after the death effect: 1 once it has lasted longer
    // than `frames`.
    int AdvanceDeathDisplay(int frames);

    cEffectPlayback m_EffectPlayback;
    int m_nDefeatCount = 0;   // frames of the death display
};
