#pragma once
// The motion rules of charas, shots and items: unit conversions, jumps, knock-back, waves and
// the approach solver. They read the stage's speed settings through STAGESPEED and the camera's
// automatic scroll through APPROACHSCROLL, so that each rule can be run on its own.
#include <cstdint>

class cGameObject;

// The stage's speed settings, derived from its speed level.
struct STAGESPEED {
    int nSteps = 1;             // sub-steps per frame, b
    double dSteps = 1;          // b as a double
    double dSteps2 = 1;         // b * b, stored
    double dBaseGravity = 0.4;  // per frame, before the division by b * b
    double dGravity = 0.4;      // per sub-step
    double dSpeedLimit = 6;     // pixels per sub-step
    int nFallLimit = 8;         // 8 * b
};

// The auto-scroll velocity an approach takes into account: each component is 0 while its axis
// scrolls not or is held at a limit. bCarry is the system switch that adds it to every approach.
struct APPROACHSCROLL {
    double dSx = 0;
    double dSy = 0;
    int bCarry = 0;
};

// The running stage's auto-scroll and the system's carry switch.
APPROACHSCROLL CurrentApproachScroll();
// The speed settings the stage record derived from its speed level.
STAGESPEED CurrentStageSpeed();

int HblToDot(std::int8_t halfBlocks);
double HundredthsToStepSpeed(std::int16_t hundredths, const STAGESPEED& speed);
double DotsPerSecondToStep(double dotsPerSecond, const STAGESPEED& speed);

// Start speed (negative is up) of a jump `height` pixels high; the hero (kind 0) jumps a little
// lower on heavier stages. A negative radicand gives NaN, zero gravity infinities or NaN, as the
// double arithmetic does: callers convert with TruncToInt.
double JumpSpeedForHeight(double height, int kind, const STAGESPEED& speed);
double JumpSpeedForHeightHbl(std::int8_t halfBlocks, int kind, const STAGESPEED& speed);
int StepsToApex(double startSpeed, const STAGESPEED& speed);
// In tenths of a second.
int JumpDurationForHeight(std::int8_t halfBlocks, int kind, const STAGESPEED& speed);

// A knock-back strength after the resistance: toward 0 by the resistance, within [-20, 20].
int ResistKnockback(int strength, int resistance);
// The start speed whose decay by 1 / b per sub-step covers 16 * d pixels (d in half-blocks).
double KnockbackSpeed(double d, const STAGESPEED& speed);

// Velocities of a wave of amplitude A (pixels) turning at `angleSpeed` degrees per frame, the
// phase held in degrees * b. The cosine form A w cos(angle) / b is the rate of the offset
// A sin(angle), the sine form -A w w sin(angle) / b^2 the rate of that rate, with
// w = angleSpeed in radians and angle = (phase / b + start) * angleSpeed in radians; a shot's
// sideways offset and a circle move's radius come out as A. Both then step the phase and wrap
// it once at 360 * b.
double WaveVelocityCos(int amplitude, int angleSpeed, double& phase, double step, double start,
                       const STAGESPEED& speed);
double WaveVelocitySin(int amplitude, int angleSpeed, double& phase, double step, double start,
                       const STAGESPEED& speed);

// Direction codes of the approach: 1 moving left, 2 moving right, 0 neither.
// The velocity that takes a mover from (fromX, fromY) toward (toX, toY) at `speed` pixels per
// sub-step, allowing for the auto-scroll. Mode 0 with a negative speed flees diagonally.
// Returns 1 when `arrival` is set and the target is within one step on both axes.
int SolveApproachVelocity(double& vx, double& vy, int& direction, const cGameObject* mover,
                          double fromX, double fromY, double toX, double toY, double speed,
                          int relative, int mode, int arrival, const APPROACHSCROLL& scroll);
int ApproachX(double& vx, double& vy, int& direction, const cGameObject* mover, double from,
              double to, double speed, int relative, int arrival, const APPROACHSCROLL& scroll);
int ApproachY(double& vx, double& vy, int& direction, const cGameObject* mover, double from,
              double to, double speed, int relative, int arrival, const APPROACHSCROLL& scroll);

// Whether the span of an object at p of `size` (from its centre, extended `back` before and
// `front` after, each with half the size when positive) meets [lo + margin, hi - margin].
int SpanOverlapsRange(int p, int size, int lo, int hi, int margin, int back, int front, int both);
