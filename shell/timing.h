#pragma once
// Frame timing on the millisecond clock timeGetTime: the frame stopwatch, the frames-per-second
// counter, a shared step counter and the two frame-rate gates. The state is single-instance and
// used by one frame loop at a time. Every comparison of times is a signed difference, so the
// gates stay right when the 32-bit clock wraps.
#include "platform/os/windows_types.h"

struct DDSURFACEDATA;

void StopwatchStart();
// take: measures the time since StopwatchStart and returns it; else returns the last measure.
DWORD StopwatchLap(bool take);

// count: counts this frame (or publishes the frames of the second that has just ended);
// returns the frames of the last full second (0 during the first second).
DWORD CountFps(bool count);

// mode 0: reset (returns 0); mode 2: 1 when the counter is 0; other modes: count, and 1 (with
// a reset) each time the count reaches n.
int CountEvery(int mode, unsigned int n);

// DirectDraw frame wait: true when the next frame may start (at most one frame per 1000/rate ms).
bool FrameRateGate(unsigned int rate);
// Milliseconds until FrameRateGate(rate) opens (at least 1 while it is closed; 0 when open),
// so that a waiting loop sleeps once instead of polling.
DWORD FrameRateGateDueIn(unsigned int rate);

// Direct3D pacing inside the present: true when the next frame is due; frames fall on
// multiples of 1000/fps ms within each second. With overlay and a glyph sheet, the pacing
// figures are drawn on the back buffer.
bool PaceFrame(unsigned int fps, bool overlay, DDSURFACEDATA* glyphs);
// Milliseconds until PaceFrame(fps, ...) is due (at least 1 while it is not; 0 when due).
DWORD PaceFrameDueIn(unsigned int fps);

// The graphics layer's side of PaceFrame, registered at start-up: whether it runs Direct3D,
// and drawing the overlay text on the back buffer with the glyph sheet.
using PaceModeTest = bool (*)();
using PaceOverlayDraw = void (*)(DDSURFACEDATA* glyphs, const char* text);
void SetPaceFrameHooks(PaceModeTest isDirect3D, PaceOverlayDraw drawOverlay);

// Back to the state of a fresh run (every first-call flag set again).
void ResetTiming();
