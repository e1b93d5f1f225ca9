#pragma once
// The Direct3D end of a frame: the virtual back buffer copied to the back buffer, the frame
// paced at the frame rate by the runtime (whatever the vertical sync setting: our
// presentation never blocks the drawing thread on the vertical blank), then presented.
#include "graphics/surface_data.h"

// 0 when the device is lost (the caller asks the window thread for a restore), else 1; 1 at
// once in DirectDraw mode. a: draw the pacing figures; b: their glyph sheet (null: none).
int DDPresent(int nFps, int a, DDSURFACEDATA* b);

// The graphics layer's side of the shell's frame pacing (the Direct3D test and the overlay
// text) and of its error boxes (whether the display runs full screen; the box is DDMesBox).
bool DDIsDirect3D();
void DDDrawPaceOverlay(DDSURFACEDATA* glyphs, const char* text);
bool DDIsFullScreen();
