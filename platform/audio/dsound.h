#pragma once
// Our DirectSound: the sound device object and its buffers, with the members the sound layer
// calls. A secondary buffer is a mixer voice over a block of float samples converted when the
// buffer is unlocked; duplicates share that block and keep their own position, volume and
// play state. Buffers are owned by unique_ptr: releasing one is destroying it.
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/audio/audio_device.h"
#include "platform/audio/wave_reader.h"
#include "platform/os/windows_types.h"

constexpr HRESULT DS_OK = 0;
constexpr HRESULT DSERR_INVALIDPARAM = static_cast<HRESULT>(0x80070057);
constexpr HRESULT DSERR_NODRIVER = static_cast<HRESULT>(0x88780078);
constexpr HRESULT DSERR_BADFORMAT = static_cast<HRESULT>(0x88780064);
constexpr HRESULT DSERR_INVALIDCALL = static_cast<HRESULT>(0x88780032);
constexpr HRESULT DSERR_OUTOFMEMORY = static_cast<HRESULT>(0x8007000E);

constexpr DWORD DSSCL_PRIORITY = 2;
constexpr DWORD DSBCAPS_PRIMARYBUFFER = 0x00000001;
constexpr DWORD DSBCAPS_STATIC = 0x00000002;
constexpr DWORD DSBCAPS_CTRLFREQUENCY = 0x00000020;
constexpr DWORD DSBCAPS_CTRLPAN = 0x00000040;
constexpr DWORD DSBCAPS_CTRLVOLUME = 0x00000080;
constexpr DWORD DSBCAPS_GETCURRENTPOSITION2 = 0x00010000;
constexpr DWORD DSBPLAY_LOOPING = 0x00000001;
constexpr DWORD DSBLOCK_ENTIREBUFFER = 0x00000002;
constexpr DWORD DSBSTATUS_PLAYING = 0x00000001;
constexpr DWORD DSBSTATUS_LOOPING = 0x00000004;
constexpr LONG DSBVOLUME_MIN = -10000;
constexpr LONG DSBVOLUME_MAX = 0;
constexpr DWORD DSBSIZE_MIN = 4;
constexpr DWORD DSBSIZE_MAX = 0x0FFFFFFF;

struct DSBUFFERDESC {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwBufferBytes;
    DWORD dwReserved;
    const WAVEFORMATEX* lpwfxFormat;
};

namespace plat {
// Samples of a secondary buffer as the mixer reads them: interleaved floats in -1..1.
struct cSampleBlock {
    std::vector<float> samples;
    int nChannels = 1;
    int nRate = 0;
    std::size_t Frames() const { return samples.size() / static_cast<std::size_t>(nChannels); }
};
}  // namespace plat

class IDirectSoundBuffer : public plat::cAudioSource {
    struct cMadeByDevice { explicit cMadeByDevice() = default; };

public:
    // Made only by IDirectSound.
    IDirectSoundBuffer(cMadeByDevice, std::shared_ptr<plat::cAudioDevice> device, bool primary);
    ~IDirectSoundBuffer() override;
    IDirectSoundBuffer(const IDirectSoundBuffer&) = delete;
    IDirectSoundBuffer& operator=(const IDirectSoundBuffer&) = delete;

    HRESULT Play(DWORD reserved, DWORD priority, DWORD flags);
    HRESULT Stop();
    HRESULT SetCurrentPosition(DWORD bytes);     // in bytes of the buffer's format
    HRESULT GetCurrentPosition(DWORD* play, DWORD* write);
    HRESULT SetVolume(LONG volume);              // hundredths of a decibel, -10000..0
    HRESULT GetVolume(LONG* volume);
    HRESULT GetStatus(DWORD* status);
    HRESULT SetFormat(const WAVEFORMATEX* format);  // primary buffer only
    // The whole buffer is handed out in one piece; the second piece is always empty.
    HRESULT Lock(DWORD offset, DWORD bytes, void** part1, DWORD* bytes1, void** part2, DWORD* bytes2, DWORD flags);
    HRESULT Unlock(void* part1, DWORD bytes1, void* part2, DWORD bytes2);

    // Not DirectSound: the sample block, so that tests can see that duplicates share it.
    const plat::cSampleBlock* SampleBlock() const { return m_Block.get(); }

    void MixInto(float* out, int frames, int rate) override;

private:
    friend class IDirectSound;

    std::shared_ptr<plat::cAudioDevice> m_Device;
    bool m_bPrimary;
    WAVEFORMATEX m_Format{};
    DWORD m_dwBytes = 0;
    std::vector<BYTE> m_Staging;                     // bytes between Lock and Unlock
    std::shared_ptr<const plat::cSampleBlock> m_Block;
    // The mixer's state, changed with the device locked.
    std::uint64_t m_nPosition = 0;                   // frames, 32.32 fixed point
    bool m_bPlaying = false;
    bool m_bLooping = false;
    LONG m_nVolume = 0;
    float m_fGain = 1.0f;
};

class IDirectSound {
public:
    explicit IDirectSound(std::shared_ptr<plat::cAudioDevice> device) : m_Device(std::move(device)) {}

    HRESULT SetCooperativeLevel(HWND hWnd, DWORD level);
    HRESULT CreateSoundBuffer(const DSBUFFERDESC* desc, std::unique_ptr<IDirectSoundBuffer>* buffer, void* outer);
    HRESULT DuplicateSoundBuffer(IDirectSoundBuffer* original, std::unique_ptr<IDirectSoundBuffer>* duplicate);

    // Not DirectSound: the device, to lock it around several buffer calls.
    plat::cAudioDevice& Device() { return *m_Device; }

private:
    std::shared_ptr<plat::cAudioDevice> m_Device;
};

struct GUID;
// The default device when guid is null; DSERR_NODRIVER when no audio device can be opened.
HRESULT DirectSoundCreate(const GUID* guid, std::unique_ptr<IDirectSound>* ds, void* outer);
