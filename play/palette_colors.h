#pragma once
// The palette routines of the frame and the menus: the window-colour palette with its blend
// table (8-bit DirectDraw), and the colour animation run once per drawn frame (the palette's
// animated entries under DirectDraw, the pulsing flash colours under Direct3D).
#include "platform/os/windows_types.h"

// One flash colour: ARGB, and the colour operation it is drawn with (7 add, 10 subtract).
struct FLASHCOLOR {
    DWORD dwColor;
    int nColorOp;
};
// Entries 1 to 9 are the flash colours a chara's colour-change index picks; entry 0 is unused.
extern FLASHCOLOR g_FlashColors[10];

// Window colour 0 to 23 of the options: its blend table, the palette turned or recoloured by it
// and shown. True at once outside 8-bit DirectDraw; false when a file cannot be read.
bool LoadHbtPalette(int nNumber);
// One step of the colour animation.
void AnimatePaletteColors();
// Back to the state of the program's start (tests).
void ResetPaletteAnimation();
