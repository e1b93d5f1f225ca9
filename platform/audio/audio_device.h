#pragma once
// The one sound output of the program: an SDL audio device (float, stereo, the device's rate,
// at most 1024 frames a buffer) whose callback runs our mixer. Sound buffers and streams are
// sources attached to it; the device closes only when the last holder lets go of it, so a BGM
// voice can never outlive the output it mixes into.
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace plat {

// Something the mixer pulls: a sound buffer or a music stream. MixInto is called with the
// device locked; it adds `frames` stereo frames (interleaved left, right) at `rate` to out and
// never allocates, frees or waits.
class cAudioSource {
public:
    virtual ~cAudioSource() = default;
    virtual void MixInto(float* out, int frames, int rate) = 0;
};

class cAudioDevice {
public:
    cAudioDevice() = default;  // made by AcquireAudioDevice
    ~cAudioDevice();
    cAudioDevice(const cAudioDevice&) = delete;
    cAudioDevice& operator=(const cAudioDevice&) = delete;

    int Rate() const { return m_nRate; }
    // True when an SDL device pulls the mixer; false for a device that tests render by hand.
    bool HasOutput() const { return m_nDeviceId != 0; }

    // Excludes the callback (the SDL device lock, or a mutex without device). Recursive.
    void Lock();
    void Unlock();

    // Sources must be attached and detached with the device locked.
    void Attach(cAudioSource* source);
    void Detach(cAudioSource* source);

    // Renders frames of stereo into out (overwritten), with the device locked by the caller
    // or from the callback.
    void Render(float* out, int frames);

private:
    friend std::shared_ptr<cAudioDevice> AcquireAudioDevice();

    std::uint32_t m_nDeviceId = 0;
    int m_nRate = 0;
    bool m_bQuitAudio = false;       // we initialised SDL's audio subsystem
    std::recursive_mutex m_Mutex;    // the lock of a device without SDL output
    std::vector<cAudioSource*> m_Sources;
};

// RAII lock of a device.
class cAudioLock {
public:
    explicit cAudioLock(cAudioDevice& device) : m_Device(device) { m_Device.Lock(); }
    ~cAudioLock() { m_Device.Unlock(); }
    cAudioLock(const cAudioLock&) = delete;
    cAudioLock& operator=(const cAudioLock&) = delete;

private:
    cAudioDevice& m_Device;
};

// The device, opened on first use and shared by every holder; null when no audio device can
// be opened (the program then runs silent; the reason is in AudioDeviceError()).
std::shared_ptr<cAudioDevice> AcquireAudioDevice();
const char* AudioDeviceError();
// True while some holder keeps the device open.
bool IsAudioDeviceOpen();

// Tests: devices opened from now on have no SDL output and run at this rate (0 goes back to
// SDL). Render them with RenderAudio.
void UseHeadlessAudio(int rate);
// Locks the device and renders `frames` stereo frames into out; zeros when no device is open.
void RenderAudio(float* out, int frames);

// The largest buffer the device asks for, in frames: a sound starts within one frame of the game.
constexpr int kAudioMaxFrames = 1024;

// DirectSound volume (hundredths of a decibel, -10000..0) as a gain: 10^(v/2000); -10000 and
// below are exactly silent.
float VolumeToGain(long volume);

}  // namespace plat
