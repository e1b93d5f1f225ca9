#pragma once
// The screen part of start-up: the screen mode, the main window's title and placement, the
// graphics device (Direct3D, else DirectDraw), the palette, the transparent colour and the
// first standard surface.

// False when start-up must end; the failing step has said why.
bool InitScreen(int showCommand);
