// A real song through FluidSynth with the TimGM6mb sound font, rendered in the mixer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>

#include "shell/log.h"
#include "platform/audio/midi_synth.h"
#include "sound/midi.h"
#include "tests/sound/audio_test_support.h"
#include "tests/support/temp_folder.h"

namespace {

using namespace std::chrono_literals;

constexpr int kSynthRate = 48000;

// Level in dBFS of the loudest 100 ms window (root mean square over both channels).
double LoudestWindowDb(const std::vector<float>& stereo)
{
    const std::size_t window = kSynthRate / 10;
    double loudest = 0;
    for (std::size_t start = 0; start + window <= stereo.size() / 2; start += window) {
        double sum = 0;
        for (std::size_t i = 2 * start; i < 2 * (start + window); ++i) sum += double(stereo[i]) * stereo[i];
        loudest = std::max(loudest, std::sqrt(sum / (2 * window)));
    }
    return loudest > 0 ? 20 * std::log10(loudest) : -400;
}

double PeakDb(const std::vector<float>& stereo)
{
    float peak = 0;
    for (float v : stereo) peak = std::max(peak, std::fabs(v));
    return peak > 0 ? 20 * std::log10(peak) : -400;
}

std::vector<float> RenderSeconds(cMidi& midi, double seconds)
{
    std::vector<float> all;
    for (int left = static_cast<int>(seconds * kSynthRate); left > 0; left -= plat::kAudioMaxFrames) {
        const std::vector<float> block = qbtest::Render(std::min(left, plat::kAudioMaxFrames));
        all.insert(all.end(), block.begin(), block.end());
        EXPECT_TRUE(plat::MidiStreamWaitCallbacks(midi.Stream(), 5s));
    }
    return all;
}

TEST(MidiSynth, ARealSongIsHeardAndFallsSilentWithinHalfASecondOfStop)
{
    const std::string song = "/usr/share/games/openttd/baseset/openmsx/be_sharp_bw_redfarn.mid";
    ASSERT_TRUE(std::filesystem::exists(song)) << "install openttd-openmsx";
    ASSERT_TRUE(std::filesystem::exists(plat::kMidiSoundFont)) << "install timgm6mb-soundfont";
    qbtest::cHeadlessAudio audio(kSynthRate);
    qbtest::cTempFolder folder;
    folder.ChangeInto();
    ASSERT_TRUE(OpenReportFile("Report_Game.txt"));
    cMidi midi(qbtest::ProgramPath(song).c_str());
    ASSERT_TRUE(midi.HasImage());
    ASSERT_NE(midi.Stream(), nullptr) << folder.ReadFile("Report_Game.txt");
    midi.Play(0, 1, 1);
    EXPECT_GT(LoudestWindowDb(RenderSeconds(midi, 6.0)), -40.0);
    midi.Stop(0);
    RenderSeconds(midi, 0.5);
    EXPECT_LT(PeakDb(RenderSeconds(midi, 0.5)), -90.0) << "the tail after half a second";
}

}  // namespace
