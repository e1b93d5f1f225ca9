#pragma once
// The screen part of start-up: the screen mode, the main window's title and placement, the
// graphics device (Direct3D, else DirectDraw), the palette, the transparent colour and the
// first standard surface.

// False when start-up must end; the failing step has said why.
bool InitScreen(int showCommand);

// The steps of InitScreen that follow the device's start, for a program that starts the device
// itself (the play benchmark). Under Direct3D the mirror entries of the standard surfaces show
// another record's picture: each is linked to its source.
void LinkStandardMirrors();
// The palette and the transparent colour from the palette picture and the System data; false
// (reported) when the picture cannot be read.
bool SetPaletteAndTransparentColour();
