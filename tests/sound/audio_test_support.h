#pragma once
// Helpers of the sound tests: headless rendering, measures of rendered sound and the paths of
// the packaged sound files the tests play.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/audio/audio_device.h"
#include "platform/os/files.h"

namespace qbtest {

// Test-only Debian packages (installed by the test command): alsa-utils, sound-theme-freedesktop.
inline const char* kAlsaFrontCenter = "/usr/share/sounds/alsa/Front_Center.wav";
inline const char* kOgg44Stereo = "/usr/share/sounds/freedesktop/stereo/audio-volume-change.oga";
inline const char* kOgg48Mono = "/usr/share/sounds/freedesktop/stereo/audio-channel-front-center.oga";
inline const char* kOgg48Stereo = "/usr/share/sounds/freedesktop/stereo/message-new-instant.oga";

// The in-program path of a Linux file.
inline std::string ProgramPath(const std::string& native)
{
    std::string program;
    EXPECT_TRUE(plat::ToProgramPath(std::filesystem::absolute(native).string(), program)) << native;
    return program;
}

// Renders frames of stereo through the headless device.
inline std::vector<float> Render(int frames)
{
    std::vector<float> out(static_cast<std::size_t>(frames) * 2);
    plat::RenderAudio(out.data(), frames);
    return out;
}

// Root mean square of one channel (0 left, 1 right).
inline double Rms(const std::vector<float>& stereo, int channel)
{
    double sum = 0;
    const std::size_t frames = stereo.size() / 2;
    for (std::size_t i = 0; i < frames; ++i) sum += double(stereo[2 * i + channel]) * stereo[2 * i + channel];
    return frames ? std::sqrt(sum / frames) : 0.0;
}

// Frequency of a sine from its rising zero crossings (left channel).
inline double ZeroCrossingFrequency(const std::vector<float>& stereo, int rate)
{
    int first = -1, last = -1, count = 0;
    for (std::size_t i = 1; i < stereo.size() / 2; ++i) {
        if (stereo[2 * (i - 1)] < 0 && stereo[2 * i] >= 0) {
            if (first < 0) first = static_cast<int>(i);
            last = static_cast<int>(i);
            ++count;
        }
    }
    return count > 1 ? double(count - 1) * rate / (last - first) : 0.0;
}

inline bool AllZero(const std::vector<float>& stereo)
{
    for (float v : stereo) {
        if (v != 0.0f) return false;
    }
    return true;
}

// A headless output at a rate for the length of a test.
class cHeadlessAudio {
public:
    explicit cHeadlessAudio(int rate) { plat::UseHeadlessAudio(rate); }
    ~cHeadlessAudio() { plat::UseHeadlessAudio(0); }
};

}  // namespace qbtest
