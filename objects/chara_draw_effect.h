#pragma once
// The draw effect of a chara: the chara effect that plays on it and reshapes its picture, and
// the death display that follows its defeat. Each kind of CharaEffect entry has a handler that
// draws the chara's frame through it and steps it.
#include "objects/effect_playback.h"

struct DDSURFACEDATA;
class cChara;
class cImageSource;

class cCharaDrawEffect {
public:
    // No effect plays, and the death display has not begun.
    void Reset() { *this = cCharaDrawEffect{}; }
    // Plays CharaEffect entry `id` (0 none) in `mode` (0 normal, 1 reverse, 2 round trip).
    void Start(int id, int mode, int loop) { m_EffectPlayback.StartCharaEffect(id, mode, loop); }
    bool IsPlaying() const { return m_EffectPlayback.m_nId != 0; }
    // The kind of the playing entry; a kind without a handler plays as kind 0.
    int Kind() const;
    // One frame of the playing effect: drawn from `source` onto `target` when draw is 1, and
    // stepped unless paused. 1 when it has ended; then no effect plays.
    int Run(cChara& chara, DDSURFACEDATA* target, const cImageSource* source, int paused, int draw);
    // One more frame of the death display after the death effect: 1 once it has lasted longer
    // than `frames`.
    int AdvanceDeathDisplay(int frames);

    cEffectPlayback m_EffectPlayback;
    int m_nDefeatCount = 0;   // frames of the death display
};

// A draw-effect handler: draws the chara's frame (when draw is 1 and there is a target and a
// source) and, unless paused, steps the effect. 1 when the effect has finished.
using CHARADRAWEFFECT = int (*)(cChara& chara, DDSURFACEDATA* target, const cImageSource* source, int paused,
                                int draw);
constexpr int kCharaDrawEffects = 17;
extern const CHARADRAWEFFECT CharaDrawEffectTable[kCharaDrawEffects];

int DrawEffectNone(cChara& chara, DDSURFACEDATA* target, const cImageSource* source, int paused, int draw);
int DrawEffectBurst(cChara& chara, DDSURFACEDATA* target, const cImageSource* source, int paused, int draw);
int DrawEffectSplitH(cChara& chara, DDSURFACEDATA* target, const cImageSource* source, int paused, int draw);
int DrawEffectSplitV(cChara& chara, DDSURFACEDATA* target, const cImageSource* source, int paused, int draw);
int DrawEffectWaveH(cChara& chara, DDSURFACEDATA* target, const cImageSource* source, int paused, int draw);
int DrawEffectWaveV(cChara& chara, DDSURFACEDATA* target, const cImageSource* source, int paused, int draw);
int DrawEffectBlink(cChara& chara, DDSURFACEDATA* target, const cImageSource* source, int paused, int draw);
int DrawEffectRotateA(cChara& chara, DDSURFACEDATA* target, const cImageSource* source, int paused, int draw);
int DrawEffectRotateB(cChara& chara, DDSURFACEDATA* target, const cImageSource* source, int paused, int draw);
int DrawEffectTurn(cChara& chara, DDSURFACEDATA* target, const cImageSource* source, int paused, int draw);
int DrawEffectCircle(cChara& chara, DDSURFACEDATA* target, const cImageSource* source, int paused, int draw);
int DrawEffectZoom(cChara& chara, DDSURFACEDATA* target, const cImageSource* source, int paused, int draw);
int DrawEffectLens(cChara& chara, DDSURFACEDATA* target, const cImageSource* source, int paused, int draw);
int DrawEffectTint(cChara& chara, DDSURFACEDATA* target, const cImageSource* source, int paused, int draw);
int DrawEffectTranslucent(cChara& chara, DDSURFACEDATA* target, const cImageSource* source, int paused, int draw);
int DrawEffectMosaic(cChara& chara, DDSURFACEDATA* target, const cImageSource* source, int paused, int draw);
int DrawEffectBlur(cChara& chara, DDSURFACEDATA* target, const cImageSource* source, int paused, int draw);
