#include "sound/direct_sound.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "shell/log.h"

namespace {

// The DirectSound state: the device object (null while sound is not initialised), the window
// given to DS_Init, the primary buffer and the tables last given to DS_LoadSoundTable.
struct DIRECTSOUNDSTATE {
    std::unique_ptr<IDirectSound> lpDS;
    HWND hWnd = nullptr;
    std::unique_ptr<IDirectSoundBuffer> lpPrimary;
    cSafeVector<DSSOUNDDATA>* lpSoundTable = nullptr;
    cSafeVector<DSSOUNDFILE>* lpFileTable = nullptr;
};

DIRECTSOUNDSTATE g_DirectSound;

IDirectSoundBuffer* CopyBuffer(DSSOUNDDATA& sound, int copy)
{
    if (copy < 0 || static_cast<std::size_t>(copy) >= sound.lpBuffers.size()) return nullptr;
    return sound.lpBuffers[static_cast<std::size_t>(copy)].get();
}

}  // namespace

int DS_VolumeOfLevel(int level) { return kSoundVolumeTable[std::clamp(level, 0, 10)]; }

bool DS_Init(HWND hWnd, int samplesPerSecond, int bitsPerSample, int channels)
{
    std::unique_ptr<IDirectSound> ds;
    if (FAILED(DirectSoundCreate(nullptr, &ds, nullptr))) {
        EcLogString("DIRECTSOUNDCREATE_ERR!");
        ReportLog("Sound : %s; the game runs without sound", plat::AudioDeviceError());
        return false;
    }
    if (FAILED(ds->SetCooperativeLevel(hWnd, DSSCL_PRIORITY))) {
        EcLogString("SETCOOPERATIVELEVEL_ERR!");
        return false;
    }
    DSBUFFERDESC desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;
    std::unique_ptr<IDirectSoundBuffer> primary;
    if (FAILED(ds->CreateSoundBuffer(&desc, &primary, nullptr))) {
        EcLogString("CREATESOUNDBUFFER_ERR!");
        return false;
    }
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = static_cast<WORD>(channels);
    format.nSamplesPerSec = static_cast<DWORD>(samplesPerSecond);
    format.wBitsPerSample = static_cast<WORD>(bitsPerSample);
    format.nBlockAlign = static_cast<WORD>(bitsPerSample / 8 * channels);
    format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
    primary->SetFormat(&format);
    // A second DS_Init lets go of the sounds made on the first device.
    DS_UnInit();
    g_DirectSound.lpDS = std::move(ds);
    g_DirectSound.lpPrimary = std::move(primary);
    g_DirectSound.hWnd = hWnd;
    g_DirectSound.lpSoundTable = nullptr;
    g_DirectSound.lpFileTable = nullptr;
    return true;
}

void DS_UnInit()
{
    if (!g_DirectSound.lpDS) return;
    if (g_DirectSound.lpSoundTable) {
        for (DSSOUNDDATA& sound : *g_DirectSound.lpSoundTable) DS_ReleaseSound(sound);
    }
    g_DirectSound.lpPrimary.reset();
    g_DirectSound.lpDS.reset();  // the device closes once no BGM voice holds it either
    g_DirectSound.lpSoundTable = nullptr;
    g_DirectSound.lpFileTable = nullptr;
}

bool DS_LoadWave(const char* file, DSWAVEDATA& wave)
{
    plat::cWaveData read;
    std::string why;
    if (!plat::ReadWaveFile(file, read, &why)) {
        // The error-check log is off in normal play: the report says why the sound is absent.
        ReportLog("%s : %s", file, why.c_str());
        return false;
    }
    wave.wfx = read.format;
    wave.data = std::move(read.samples);
    return true;
}

void DS_FreeWave(DSWAVEDATA& wave) { std::vector<BYTE>().swap(wave.data); }

bool DS_CreateBufferFromFile(std::unique_ptr<IDirectSoundBuffer>& buffer, const char* file)
{
    if (!g_DirectSound.lpDS) return true;
    DSWAVEDATA wave;
    if (!DS_LoadWave(file, wave)) {
        EcLogF("%s読み込み失敗！", file);
        return false;
    }
    DSBUFFERDESC desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DSBCAPS_STATIC | DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME |
                   DSBCAPS_GETCURRENTPOSITION2;
    desc.dwBufferBytes = static_cast<DWORD>(wave.data.size());
    desc.lpwfxFormat = &wave.wfx;
    std::unique_ptr<IDirectSoundBuffer> made;
    if (FAILED(g_DirectSound.lpDS->CreateSoundBuffer(&desc, &made, nullptr))) {
        EcLogF("%s生成失敗！", file);
        ReportLog("%s : the sound buffer could not be made", file);
        return false;
    }
    void* bytes = nullptr;
    DWORD size = 0;
    if (!FAILED(made->Lock(0, 0, &bytes, &size, nullptr, nullptr, DSBLOCK_ENTIREBUFFER))) {
        std::copy_n(wave.data.data(), std::min<std::size_t>(size, wave.data.size()), static_cast<BYTE*>(bytes));
        made->Unlock(bytes, size, nullptr, 0);
    }
    DS_FreeWave(wave);
    buffer = std::move(made);
    return true;
}

bool DS_DuplicateBuffer(std::unique_ptr<IDirectSoundBuffer>& buffer, IDirectSoundBuffer* source)
{
    if (!g_DirectSound.lpDS) return true;
    return !FAILED(g_DirectSound.lpDS->DuplicateSoundBuffer(source, &buffer));
}

bool DS_LoadSound(DSSOUNDDATA& sound, const char* file, int copies, int volume)
{
    if (!g_DirectSound.lpDS) return true;
    DS_ReleaseSound(sound);
    sound = DSSOUNDDATA{};
    // An entry asking for no copy still gets its one buffer.
    const int wanted = std::max(copies, 1);
    sound.lpBuffers.resize(static_cast<std::size_t>(wanted));
    std::snprintf(sound.szFile, sizeof sound.szFile, "%s", file ? file : "");
    if (!DS_CreateBufferFromFile(sound.lpBuffers[0], sound.szFile)) return false;
    bool ok = true;
    int made = 1;
    for (; made < wanted; ++made) {
        if (!DS_DuplicateBuffer(sound.lpBuffers[static_cast<std::size_t>(made)], sound.lpBuffers[0].get())) {
            EcLogF("%sのメモリ共用バッファの生成失敗！", sound.szFile);
            ok = false;
            break;
        }
    }
    // The copies played in turn are the buffers that exist.
    {
        plat::cAudioLock lock(g_DirectSound.lpDS->Device());
        sound.nCopies = made;
        sound.nNextCopy = 0;
    }
    if (volume != 0) {
        for (int j = 0; j < made; ++j) DS_SetVolume(sound, j, volume, 0);
    }
    return ok;
}

void DS_ReleaseSound(DSSOUNDDATA& sound)
{
    if (sound.lpBuffers.empty()) return;
    // Duplicates first, then the buffer that made the samples.
    for (std::size_t j = sound.lpBuffers.size(); j-- > 1;) sound.lpBuffers[j].reset();
    sound.lpBuffers[0].reset();
    if (g_DirectSound.lpDS) {
        plat::cAudioLock lock(g_DirectSound.lpDS->Device());
        sound.nCopies = 0;
        sound.nNextCopy = 0;
    }
    sound.lpBuffers.clear();
}

bool DS_LoadSoundTable(cSafeVector<DSSOUNDDATA>& table, cSafeVector<DSSOUNDFILE>& files, int volume)
{
    if (!g_DirectSound.lpDS) return true;
    g_DirectSound.lpSoundTable = &table;
    g_DirectSound.lpFileTable = &files;
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (!table[i].lpBuffers.empty()) continue;
        const DSSOUNDFILE& file = files.At(static_cast<int>(i));
        // An entry with no file name is an unused slot, not a fault worth a report line.
        if (!file.szFile[0]) continue;
        DS_LoadSound(table[i], file.szFile, file.nCopies, volume != 0 ? volume : file.nVolume);
    }
    return true;
}

void DS_Play(DSSOUNDDATA& sound, DWORD flags)
{
    if (!g_DirectSound.lpDS) return;
    // The window thread and the game thread both play sounds: the copy is chosen and advanced
    // under the device lock.
    plat::cAudioLock lock(g_DirectSound.lpDS->Device());
    if (sound.nCopies <= 0) return;
    if (sound.nNextCopy >= sound.nCopies || sound.nNextCopy < 0) sound.nNextCopy = 0;
    IDirectSoundBuffer* buffer = CopyBuffer(sound, sound.nNextCopy);
    if (++sound.nNextCopy >= sound.nCopies) sound.nNextCopy = 0;
    if (!buffer) return;
    buffer->Stop();
    buffer->SetCurrentPosition(0);
    buffer->Play(0, 0, flags);
}

int DS_SetVolume(DSSOUNDDATA& sound, int copy, int volume, int relative)
{
    if (!g_DirectSound.lpDS) return 0;
    IDirectSoundBuffer* buffer = CopyBuffer(sound, copy);
    if (!buffer) return 0;
    long long wanted = volume;
    if (relative == 1) wanted += DS_GetVolume(sound, copy);
    const LONG clamped = static_cast<LONG>(std::clamp<long long>(wanted, DSBVOLUME_MIN, DSBVOLUME_MAX));
    buffer->SetVolume(clamped);
    return static_cast<int>(clamped);
}

int DS_GetVolume(DSSOUNDDATA& sound, int copy)
{
    if (!g_DirectSound.lpDS) return 0;
    IDirectSoundBuffer* buffer = CopyBuffer(sound, copy);
    if (!buffer) return 0;
    LONG volume = 0;
    buffer->GetVolume(&volume);
    return static_cast<int>(volume);
}

void DS_PlayOnDirectionKey(int keys, int axes, int n)
{
    if (!g_DirectSound.lpDS || !g_DirectSound.lpSoundTable) return;
    if ((axes & 1) && (keys & (1 | 2))) DS_Play(g_DirectSound.lpSoundTable->At(n), 0);
    if ((axes & 2) && (keys & (4 | 8))) DS_Play(g_DirectSound.lpSoundTable->At(n), 0);
}
