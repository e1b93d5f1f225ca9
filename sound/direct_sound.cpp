#include "sound/direct_sound.h"

#include "shell/not_built_yet.h"

cSafeVector<DSSOUNDDATA> g_SoundTable;
cSafeVector<DSSOUNDFILE> g_SoundFileTable;

bool DS_Init(HWND, int, int, int)
{
    // Without a mixer the game goes on silent, as it does without an audio device.
    LogNotBuiltYet("DS_Init");
    return true;
}

void DS_UnInit() { LogNotBuiltYet("DS_UnInit"); }

bool DS_LoadSoundTable(cSafeVector<DSSOUNDDATA>&, cSafeVector<DSSOUNDFILE>&, int)
{
    LogNotBuiltYet("DS_LoadSoundTable");
    return false;
}

void DS_Play(DSSOUNDDATA&, DWORD) { LogNotBuiltYet("DS_Play"); }
