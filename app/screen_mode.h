#pragma once
// The screen-mode rules of start-up: the window flag, the vertical sync and the colour depth
// from System.ini and the System data, and the check of that depth against the back end and
// the desktop.
#include "data/system_data.h"
#include "shell/system_ini.h"

enum SCREENMODECHECK {
    SCREENMODE_ACCEPTED,
    SCREENMODE_REFUSED_WINDOW,  // a window of 16 or 32 bits that the desktop or back end refuses
    SCREENMODE_REFUSED,         // every other refusal
};

struct SCREENMODE {
    int bWindowed;
    int nBpp;    // the requested colour depth
    int nCheck;  // SCREENMODECHECK
};

// Applies the rules to ini as start-up keeps them (VSync and Bpp are rewritten) and checks
// the result. ini.Direct3D is the back end after the boot choice (non-zero: Direct3D).
// windows6OrLater: the system counts as Windows 6.0 or later (automatic vertical sync).
SCREENMODE ApplyScreenModeRules(SYSTEMINI& ini, const cSystemData& system, int desktopBpp, bool windows6OrLater);

// The error box of a refused mode; nothing for an accepted one.
void ShowScreenModeRefusal(int check);
