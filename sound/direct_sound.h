#pragma once
// Sound effects: the sound table and the DS_* library that loads and plays it over our
// DirectSound. Every entry is loaded at start-up into one or more buffers that share their
// samples; a request plays the next copy in turn from its start.
#include <memory>
#include <vector>

#include "platform/audio/dsound.h"
#include "platform/audio/wave_reader.h"
#include "platform/os/windows_types.h"
#include "shell/safe_container.h"

// What to load for one entry of the sound table.
struct DSSOUNDFILE {
    char szFile[MAX_PATH] = {};
    int nCopies = 0;     // buffers to make; 0 (or less) makes 1
    int nVolume = 0;     // hundredths of a decibel, -10000..0
    int nFlag = 0;
};

// One loaded sound effect of the sound table. Not loaded while lpBuffers is empty.
struct DSSOUNDDATA {
    char szFile[MAX_PATH] = {};
    // Element 0 holds the samples, elements 1 on are duplicates sharing them; an element can
    // be null when its buffer could not be made.
    std::vector<std::unique_ptr<IDirectSoundBuffer>> lpBuffers;
    int nCopies = 0;     // buffers actually made
    int nNextCopy = 0;   // the copy the next play uses
};

// A WAVE file as DS_LoadWave reads it.
struct DSWAVEDATA {
    WAVEFORMATEX wfx{};
    std::vector<BYTE> data;
};

// Entries 0..16 the built-in sounds, entry k + 16 the Sound database entry k.
extern cSafeVector<DSSOUNDDATA> g_SoundTable;
extern cSafeVector<DSSOUNDFILE> g_SoundFileTable;

constexpr int kBuiltInSounds = 17;

// The size of one sound-table entry as the out-of-range report of a sound request gives it.
constexpr int kSoundEntryReportSize = 284;

// Sound-effect volume by the option's level 0..10, in hundredths of a decibel.
constexpr int kSoundVolumeTable[11] = {-10000, -3000, -2000, -1300, -800, -500, -300, -150, -80, -30, 0};
// The volume of a level; a level outside 0..10 is taken as the nearest one.
int DS_VolumeOfLevel(int level);

bool DS_Init(HWND hWnd, int samplesPerSecond, int bitsPerSample, int channels);
void DS_UnInit();
bool DS_LoadWave(const char* file, DSWAVEDATA& wave);
void DS_FreeWave(DSWAVEDATA& wave);
bool DS_CreateBufferFromFile(std::unique_ptr<IDirectSoundBuffer>& buffer, const char* file);
bool DS_DuplicateBuffer(std::unique_ptr<IDirectSoundBuffer>& buffer, IDirectSoundBuffer* source);
bool DS_LoadSound(DSSOUNDDATA& sound, const char* file, int copies, int volume);
void DS_ReleaseSound(DSSOUNDDATA& sound);
bool DS_LoadSoundTable(cSafeVector<DSSOUNDDATA>& table, cSafeVector<DSSOUNDFILE>& files, int volume);
void DS_Play(DSSOUNDDATA& sound, DWORD flags);
int DS_SetVolume(DSSOUNDDATA& sound, int copy, int volume, int relative);
int DS_GetVolume(DSSOUNDDATA& sound, int copy);
// Plays sound n of the remembered table for a direction key on the menu's axes (bit 1 left
// and right, bit 2 up and down); a diagonal on a two-axis menu plays it twice.
void DS_PlayOnDirectionKey(int keys, int axes, int n);
