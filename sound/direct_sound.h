#pragma once
// Sound effects: the sound table and the DS_* calls that load and play it. The mixer behind
// them is not built yet: every call says so once and the game runs silent.
#include "platform/os/windows_types.h"
#include "shell/safe_container.h"

// One loaded sound effect of the sound table.
struct DSSOUNDDATA {
    int bLoaded = 0;
    int nNextCopy = 0;
};

// What to load for one entry of the sound table.
struct DSSOUNDFILE {
    char szFile[MAX_PATH] = {};
    int nCopies = 0;
    int nVolume = 0;     // hundredths of a decibel, -10000..0
    int nFlag = 0;
};

// Entries 0..16 the built-in sounds, entry k + 16 the Sound database entry k.
extern cSafeVector<DSSOUNDDATA> g_SoundTable;
extern cSafeVector<DSSOUNDFILE> g_SoundFileTable;

// The size of one sound-table entry as the out-of-range report of a sound request gives it.
constexpr int kSoundEntryReportSize = 284;

bool DS_Init(HWND hWnd, int samplesPerSecond, int bitsPerSample, int channels);
void DS_UnInit();
bool DS_LoadSoundTable(cSafeVector<DSSOUNDDATA>& table, cSafeVector<DSSOUNDFILE>& files, int volume);
void DS_Play(DSSOUNDDATA& entry, DWORD flags);
