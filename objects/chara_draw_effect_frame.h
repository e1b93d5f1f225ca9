#pragma once
// What the draw-effect handlers share: the chara's place and size on the screen with the
// frame's source, the colour change around a call, the work surfaces every chara's effects
// use in turn, and the step that ends a handler.
#include "graphics/surface_data.h"

class cChara;
class cEffectPlayback;

// The flags of the effects' blits: skipping the transparent colour, or copying every pixel.
constexpr DWORD kEffectKeyed = DDBLTFAST_SRCCOLORKEY;
constexpr DWORD kEffectOpaque = 0;
class cImageSource;

// One chara's frame as a handler draws it.
struct CHARAEFFECTFRAME {
    CHARAEFFECTFRAME(cChara& chara, DDSURFACEDATA* target, const cImageSource& source);

    DDSURFACEDATA* Surface() const;
    DDSURFACEDATA* EffectSurface() const;
    DDSURFACEDATA* ScaleSurface() const;
    DDSURFACEDATA* ScaleBackSurface() const;
    // The playback's current value, and parameter p1..p5 (n = 1..5) of its entry.
    double Value() const;
    int Param(int n) const;
    // The value truncated, and times the scale then truncated.
    int IntValue() const;
    int ScaledValue() const;

    cChara& chara;
    DDSURFACEDATA* target;
    const cImageSource& source;
    int x, y, w, h;   // screen left and top, draw width and height
    int s;            // the chara's scale
    int sx, sy;       // the cell's top-left pixel in its sheet
    bool scaled;      // drawn at another size than the cell: from the scaling surfaces
    int sw, sh;       // the cell's size in the scaling surfaces
};

// The colour change of the frame's source set for the calls made while it lives, when the
// source asks for one.
class cColourState {
public:
    explicit cColourState(const cImageSource& source);
    ~cColourState();
    cColourState(const cColourState&) = delete;
    cColourState& operator=(const cColourState&) = delete;

private:
    bool m_bSet;
};

// The colour state to hand to the Ex form of a blit: null when the source changes no colour.
const int* ColourStateOf(const cImageSource& source);

// The work surfaces of the effects (standard surfaces chosen by the back end).
DDSURFACEDATA* CharaEffectWork();
DDSURFACEDATA* RotationWork();
DDSURFACEDATA* TintWork();
DDSURFACEDATA* LargeWork();
DDSURFACEDATA* StagingSurface();

cEffectPlayback& PlaybackOf(cChara& chara);
// The chara's frame as kind 0 draws it: plainly, scaled when it must be.
void DrawPlainFrame(const CHARAEFFECTFRAME& frame);
// The interval of the blink and the translucency: once the counter reaches the entry's p2 it
// starts again and the toggle flips (also while paused); then, unpaused, the frame is counted.
void FlipOnInterval(cEffectPlayback& playback, int paused);
// The common end of a handler: unless paused the effect steps; 1 when it has finished.
int StepUnlessPaused(cChara& chara, int paused);

// Runs `draw` on the chara's frame when the call draws, then steps.
template <class F>
int DrawThenStep(cChara& chara, DDSURFACEDATA* target, const cImageSource* source, int paused, int draw, F&& drawFrame)
{
    if (draw == 1 && target && source) drawFrame(CHARAEFFECTFRAME(chara, target, *source));
    return StepUnlessPaused(chara, paused);
}
