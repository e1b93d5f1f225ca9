#include "platform/audio/dsound.h"

#include <algorithm>

namespace {

constexpr std::uint64_t kOne = std::uint64_t{1} << 32;

}  // namespace

IDirectSoundBuffer::IDirectSoundBuffer(cMadeByDevice, std::shared_ptr<plat::cAudioDevice> device, bool primary)
    : m_Device(std::move(device)), m_bPrimary(primary)
{
}

IDirectSoundBuffer::~IDirectSoundBuffer()
{
    if (m_bPrimary) return;
    plat::cAudioLock lock(*m_Device);
    m_Device->Detach(this);
}

HRESULT IDirectSoundBuffer::Play(DWORD, DWORD, DWORD flags)
{
    if (m_bPrimary || !m_Block) return DSERR_INVALIDCALL;
    plat::cAudioLock lock(*m_Device);
    m_bPlaying = true;
    m_bLooping = (flags & DSBPLAY_LOOPING) != 0;
    return DS_OK;
}

HRESULT IDirectSoundBuffer::Stop()
{
    plat::cAudioLock lock(*m_Device);
    m_bPlaying = false;
    return DS_OK;
}

HRESULT IDirectSoundBuffer::SetCurrentPosition(DWORD bytes)
{
    if (m_bPrimary || bytes >= m_dwBytes) return DSERR_INVALIDPARAM;
    plat::cAudioLock lock(*m_Device);
    m_nPosition = static_cast<std::uint64_t>(bytes / m_Format.nBlockAlign) << 32;
    return DS_OK;
}

HRESULT IDirectSoundBuffer::GetCurrentPosition(DWORD* play, DWORD* write)
{
    plat::cAudioLock lock(*m_Device);
    const DWORD bytes = m_bPrimary ? 0 : static_cast<DWORD>((m_nPosition >> 32) * m_Format.nBlockAlign);
    if (play) *play = bytes;
    if (write) *write = bytes;
    return DS_OK;
}

HRESULT IDirectSoundBuffer::SetVolume(LONG volume)
{
    if (volume < DSBVOLUME_MIN || volume > DSBVOLUME_MAX) return DSERR_INVALIDPARAM;
    const float gain = plat::VolumeToGain(volume);
    plat::cAudioLock lock(*m_Device);
    m_nVolume = volume;
    m_fGain = gain;
    return DS_OK;
}

HRESULT IDirectSoundBuffer::GetVolume(LONG* volume)
{
    if (!volume) return DSERR_INVALIDPARAM;
    plat::cAudioLock lock(*m_Device);
    *volume = m_nVolume;
    return DS_OK;
}

HRESULT IDirectSoundBuffer::GetStatus(DWORD* status)
{
    if (!status) return DSERR_INVALIDPARAM;
    plat::cAudioLock lock(*m_Device);
    *status = (m_bPlaying ? DSBSTATUS_PLAYING : 0) | (m_bPlaying && m_bLooping ? DSBSTATUS_LOOPING : 0);
    return DS_OK;
}

HRESULT IDirectSoundBuffer::SetFormat(const WAVEFORMATEX* format)
{
    if (!m_bPrimary) return DSERR_INVALIDCALL;
    if (!format) return DSERR_INVALIDPARAM;
    m_Format = *format;  // the mixer's own format stays; SDL converts to the device's
    return DS_OK;
}

HRESULT IDirectSoundBuffer::Lock(DWORD offset, DWORD bytes, void** part1, DWORD* bytes1, void** part2, DWORD* bytes2,
                                 DWORD flags)
{
    if (m_bPrimary || !part1 || !bytes1) return DSERR_INVALIDPARAM;
    if (!(flags & DSBLOCK_ENTIREBUFFER) && (offset != 0 || bytes != m_dwBytes)) return DSERR_INVALIDPARAM;
    m_Staging.assign(m_dwBytes, 0);
    *part1 = m_Staging.data();
    *bytes1 = m_dwBytes;
    if (part2) *part2 = nullptr;
    if (bytes2) *bytes2 = 0;
    return DS_OK;
}

HRESULT IDirectSoundBuffer::Unlock(void* part1, DWORD, void*, DWORD)
{
    if (m_bPrimary || part1 != m_Staging.data() || m_Staging.empty()) return DSERR_INVALIDPARAM;
    auto block = std::make_shared<plat::cSampleBlock>();
    block->nChannels = m_Format.nChannels;
    block->nRate = static_cast<int>(m_Format.nSamplesPerSec);
    const std::size_t frames = m_dwBytes / m_Format.nBlockAlign;
    const std::size_t count = frames * m_Format.nChannels;
    block->samples.resize(count);
    if (m_Format.wBitsPerSample == 8) {
        for (std::size_t i = 0; i < count; ++i) block->samples[i] = (static_cast<int>(m_Staging[i]) - 128) / 128.0f;
    } else {
        for (std::size_t i = 0; i < count; ++i) {
            const auto value = static_cast<std::int16_t>(m_Staging[2 * i] | (m_Staging[2 * i + 1] << 8));
            block->samples[i] = value / 32768.0f;
        }
    }
    std::vector<BYTE>().swap(m_Staging);
    plat::cAudioLock lock(*m_Device);
    m_Block = std::move(block);
    return DS_OK;
}

void IDirectSoundBuffer::MixInto(float* out, int frames, int rate)
{
    if (!m_bPlaying || !m_Block || rate <= 0) return;
    const plat::cSampleBlock& block = *m_Block;
    const std::uint64_t length = block.Frames();
    if (length == 0) {
        m_bPlaying = false;
        return;
    }
    const std::uint64_t step = (static_cast<std::uint64_t>(block.nRate) << 32) / static_cast<std::uint64_t>(rate);
    const float* s = block.samples.data();
    const bool stereo = block.nChannels == 2;
    for (int i = 0; i < frames; ++i) {
        std::uint64_t index = m_nPosition >> 32;
        if (index >= length) {
            if (!m_bLooping) {
                m_bPlaying = false;
                m_nPosition = 0;
                return;
            }
            m_nPosition -= length << 32;
            index = m_nPosition >> 32;
        }
        const float frac = static_cast<float>(m_nPosition & (kOne - 1)) * (1.0f / 4294967296.0f);
        // The frame after the last is the first again when looping, silence otherwise.
        const bool haveNext = index + 1 < length;
        const std::uint64_t next = haveNext ? index + 1 : 0;
        const float nextWeight = haveNext || m_bLooping ? 1.0f : 0.0f;
        float left, right;
        if (stereo) {
            left = s[2 * index] + (s[2 * next] * nextWeight - s[2 * index]) * frac;
            right = s[2 * index + 1] + (s[2 * next + 1] * nextWeight - s[2 * index + 1]) * frac;
        } else {
            left = right = s[index] + (s[next] * nextWeight - s[index]) * frac;
        }
        out[2 * i] += left * m_fGain;
        out[2 * i + 1] += right * m_fGain;
        m_nPosition += step;
    }
}

HRESULT IDirectSound::SetCooperativeLevel(HWND, DWORD) { return DS_OK; }

HRESULT IDirectSound::CreateSoundBuffer(const DSBUFFERDESC* desc, std::unique_ptr<IDirectSoundBuffer>* buffer, void*)
{
    if (!desc || !buffer) return DSERR_INVALIDPARAM;
    const bool primary = (desc->dwFlags & DSBCAPS_PRIMARYBUFFER) != 0;
    auto made = std::make_unique<IDirectSoundBuffer>(IDirectSoundBuffer::cMadeByDevice{}, m_Device, primary);
    if (!primary) {
        const WAVEFORMATEX* f = desc->lpwfxFormat;
        if (!f || desc->dwBufferBytes < DSBSIZE_MIN || desc->dwBufferBytes > DSBSIZE_MAX) return DSERR_INVALIDPARAM;
        const bool known = f->wFormatTag == WAVE_FORMAT_PCM && (f->nChannels == 1 || f->nChannels == 2) &&
                           (f->wBitsPerSample == 8 || f->wBitsPerSample == 16) &&
                           f->nBlockAlign == f->nChannels * f->wBitsPerSample / 8 && f->nSamplesPerSec > 0;
        if (!known) return DSERR_BADFORMAT;
        made->m_Format = *f;
        made->m_dwBytes = desc->dwBufferBytes - desc->dwBufferBytes % f->nBlockAlign;
        if (made->m_dwBytes == 0) return DSERR_INVALIDPARAM;
        plat::cAudioLock lock(*m_Device);
        m_Device->Attach(made.get());
    }
    *buffer = std::move(made);
    return DS_OK;
}

HRESULT IDirectSound::DuplicateSoundBuffer(IDirectSoundBuffer* original, std::unique_ptr<IDirectSoundBuffer>* duplicate)
{
    if (!original || !duplicate || original->m_bPrimary) return DSERR_INVALIDPARAM;
    auto made = std::make_unique<IDirectSoundBuffer>(IDirectSoundBuffer::cMadeByDevice{}, m_Device, false);
    plat::cAudioLock lock(*m_Device);
    made->m_Format = original->m_Format;
    made->m_dwBytes = original->m_dwBytes;
    made->m_Block = original->m_Block;
    made->m_nVolume = original->m_nVolume;
    made->m_fGain = original->m_fGain;
    m_Device->Attach(made.get());
    *duplicate = std::move(made);
    return DS_OK;
}

HRESULT DirectSoundCreate(const GUID*, std::unique_ptr<IDirectSound>* ds, void*)
{
    if (!ds) return DSERR_INVALIDPARAM;
    std::shared_ptr<plat::cAudioDevice> device = plat::AcquireAudioDevice();
    if (!device) return DSERR_NODRIVER;
    *ds = std::make_unique<IDirectSound>(std::move(device));
    return DS_OK;
}
