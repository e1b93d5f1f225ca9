#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "sound/direct_sound.h"
#include "tests/sound/audio_test_support.h"
#include "tests/support/temp_folder.h"
#include "tests/support/wait.h"

namespace {

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The 16-bit mono samples of a canonical WAVE file, found by its "data" chunk.
std::vector<std::int16_t> WaveSamples(const std::string& file)
{
    const std::size_t data = file.find("data");
    std::vector<std::int16_t> samples;
    if (data == std::string::npos) return samples;
    std::uint32_t size;
    std::memcpy(&size, file.data() + data + 4, 4);
    samples.resize(std::min<std::size_t>(size, file.size() - data - 8) / 2);
    std::memcpy(samples.data(), file.data() + data + 8, samples.size() * 2);
    return samples;
}

// The packaged WAVE file goes the whole way: DS_Init opens a real SDL device (the disk driver,
// which writes what it is given to a file at the pace of a sound card), the sound is loaded and
// played, and the file then holds its samples.
TEST(DiskOutput, APackagedWaveFilePlaysThroughTheWholePath)
{
    const std::string wave = ReadBytes(qbtest::kAlsaFrontCenter);
    const std::vector<std::int16_t> samples = WaveSamples(wave);
    ASSERT_GT(samples.size(), 10000u) << "test package alsa-utils";

    qbtest::cTempFolder folder;
    folder.ChangeInto();
    const std::string output = (folder.Path() / "out.raw").string();
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
    plat::UseHeadlessAudio(0);

    ASSERT_TRUE(DS_Init(nullptr, 22050, 8, 1)) << plat::AudioDeviceError();
    DSSOUNDDATA sound;
    ASSERT_TRUE(DS_LoadSound(sound, qbtest::ProgramPath(qbtest::kAlsaFrontCenter).c_str(), 1, 0));
    DS_Play(sound, 0);
    const bool ended = qbtest::WaitUntil(
        [&sound] {
            DWORD status = 0;
            sound.lpBuffers[0]->GetStatus(&status);
            return (status & DSBSTATUS_PLAYING) == 0;
        },
        std::chrono::milliseconds(30000));
    EXPECT_TRUE(ended) << "the sound has ended";
    DS_ReleaseSound(sound);
    DS_UnInit();  // the last holder: the device closes and the file is complete

    const std::string raw = ReadBytes(output);
    std::vector<float> frames(raw.size() / sizeof(float));
    std::memcpy(frames.data(), raw.data(), frames.size() * sizeof(float));
    std::size_t first = 0;
    while (first < frames.size() && frames[first] == 0.0f) ++first;
    first -= first % 2;
    ASSERT_LT(first, frames.size()) << "nothing was heard";
    // The device runs at the file's 48 kHz: the samples come out as they are, on both sides.
    std::size_t leading = 0;
    while (samples[leading] == 0) ++leading;
    ASSERT_GE(frames.size() - first, 2 * (samples.size() - leading));
    for (std::size_t i = leading; i < samples.size(); ++i) {
        const float expected = samples[i] / 32768.0f;
        ASSERT_EQ(frames[first + 2 * (i - leading)], expected) << i;
        ASSERT_EQ(frames[first + 2 * (i - leading) + 1], expected) << i;
    }
}

}  // namespace
