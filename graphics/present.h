#pragma once
// The Direct3D end of a frame: the virtual back buffer copied to the back buffer, the frame
// paced at the frame rate by the runtime (whatever the vertical sync setting: our
// presentation never blocks the drawing thread on the vertical blank), then presented.
#include "graphics/surface_data.h"

// 0 when the device is lost (the caller asks the window thread for a restore), else 1; 1 at
// once in DirectDraw mode. a: draw the pacing figures; b: their glyph sheet (null: none).
int DDPresent(int nFps, int a, DDSURFACEDATA* b);

// Registers the graphics layer's side of the shell's frame pacing (the Direct3D test and the
// overlay text), of its error boxes (full screen and DDMesBox) and of the display report.
// DDInit calls it.
void DDRegisterShellHooks();
