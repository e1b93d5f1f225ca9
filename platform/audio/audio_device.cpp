#include "platform/audio/audio_device.h"

#include <SDL.h>
#include <dlfcn.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

namespace plat {

namespace {

std::mutex s_AcquireMutex;
std::weak_ptr<cAudioDevice> s_Device;
int s_nHeadlessRate = 0;
std::string s_strError;

constexpr int kPreferredRate = 48000;
// Sources that can be attached without the list growing while the game runs.
constexpr std::size_t kReservedSources = 512;

void AudioCallback(void* userData, Uint8* stream, int bytes)
{
    auto* device = static_cast<cAudioDevice*>(userData);
    device->Render(reinterpret_cast<float*>(stream), bytes / static_cast<int>(2 * sizeof(float)));
}

// ALSA's library prints each failed look-up of a sound card on standard error (16 lines on a
// machine without one), while SDL's own error already names the failure for the report line.
void DropAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

// SDL loads ALSA's library at run time; loaded here as well (and never let go, so that the
// handler outlives SDL unloading it), it gets a handler that drops the messages.
void QuietAlsaMessages()
{
    static const bool quietened = [] {
        void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
        if (!alsa) return false;
        using ErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);
        using SetErrorHandler = int (*)(ErrorHandler);
        void* symbol = dlsym(alsa, "snd_lib_error_set_handler");
        if (!symbol) return false;
        reinterpret_cast<SetErrorHandler>(symbol)(DropAlsaMessage);
        return true;
    }();
    (void)quietened;
}

}  // namespace

float VolumeToGain(long volume)
{
    if (volume <= -10000) return 0.0f;
    if (volume >= 0) return 1.0f;
    return static_cast<float>(std::pow(10.0, static_cast<double>(volume) / 2000.0));
}

cAudioDevice::~cAudioDevice()
{
    if (m_nDeviceId != 0) SDL_CloseAudioDevice(m_nDeviceId);  // waits for a running callback
    if (m_bQuitAudio) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void cAudioDevice::Lock()
{
    if (m_nDeviceId != 0) SDL_LockAudioDevice(m_nDeviceId);
    else m_Mutex.lock();
}

void cAudioDevice::Unlock()
{
    if (m_nDeviceId != 0) SDL_UnlockAudioDevice(m_nDeviceId);
    else m_Mutex.unlock();
}

void cAudioDevice::Attach(cAudioSource* source)
{
    if (std::find(m_Sources.begin(), m_Sources.end(), source) == m_Sources.end()) m_Sources.push_back(source);
}

void cAudioDevice::Detach(cAudioSource* source)
{
    m_Sources.erase(std::remove(m_Sources.begin(), m_Sources.end(), source), m_Sources.end());
}

void cAudioDevice::Render(float* out, int frames)
{
    std::fill(out, out + static_cast<std::ptrdiff_t>(frames) * 2, 0.0f);
    for (cAudioSource* source : m_Sources) source->MixInto(out, frames, m_nRate);
    for (int i = 0; i < frames * 2; ++i) out[i] = std::clamp(out[i], -1.0f, 1.0f);
}

std::shared_ptr<cAudioDevice> AcquireAudioDevice()
{
    std::lock_guard<std::mutex> lock(s_AcquireMutex);
    if (auto device = s_Device.lock()) return device;
    auto device = std::make_shared<cAudioDevice>();
    device->m_Sources.reserve(kReservedSources);
    if (s_nHeadlessRate > 0) {
        device->m_nRate = s_nHeadlessRate;
        s_Device = device;
        return device;
    }
    QuietAlsaMessages();
    if (!SDL_WasInit(SDL_INIT_AUDIO)) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            s_strError = std::string("no audio driver: ") + SDL_GetError();
            return nullptr;
        }
        device->m_bQuitAudio = true;
    }
    SDL_AudioSpec want{};
    want.freq = kPreferredRate;
    want.format = AUDIO_F32SYS;
    want.channels = 2;
    want.samples = kAudioMaxFrames;
    want.callback = AudioCallback;
    want.userdata = device.get();
    SDL_AudioSpec have{};
    // The rate may follow the device; format, channels and buffer size stay ours (SDL converts).
    device->m_nDeviceId = SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    if (device->m_nDeviceId == 0) {
        s_strError = std::string("no audio device: ") + SDL_GetError();
        return nullptr;  // the destructor quits the subsystem again
    }
    device->m_nRate = have.freq;
    SDL_PauseAudioDevice(device->m_nDeviceId, 0);
    s_Device = device;
    return device;
}

const char* AudioDeviceError() { return s_strError.c_str(); }

bool IsAudioDeviceOpen()
{
    std::lock_guard<std::mutex> lock(s_AcquireMutex);
    return !s_Device.expired();
}

void UseHeadlessAudio(int rate)
{
    std::lock_guard<std::mutex> lock(s_AcquireMutex);
    s_nHeadlessRate = rate;
}

void RenderAudio(float* out, int frames)
{
    std::shared_ptr<cAudioDevice> device;
    {
        std::lock_guard<std::mutex> lock(s_AcquireMutex);
        device = s_Device.lock();
    }
    if (!device) {
        std::fill(out, out + static_cast<std::ptrdiff_t>(frames) * 2, 0.0f);
        return;
    }
    cAudioLock lock(*device);
    device->Render(out, frames);
}

}  // namespace plat
