// Loudness of the music a game can play, rendered whole through the mixer with no audio device:
// a player switching between an Ogg tune and a MIDI tune must not have to reach for the volume.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/audio/midi_synth.h"
#include "platform/audio/ogg_player.h"
#include "shell/log.h"
#include "sound/midi.h"
#include "tests/sound/audio_test_support.h"
#include "tests/support/demo_game.h"
#include "tests/support/temp_folder.h"

namespace {

using namespace std::chrono_literals;

constexpr int kLoudnessRate = 48000;
// A song that has not ended by then is cut there: no test song is near this long.
constexpr int kLoudnessLongestSeconds = 600;
// A General MIDI song of several instruments and drums, about a minute long.
const char* const kLoudnessGmSong = "/usr/share/games/openttd/baseset/openmsx/careless_perc_redfarn.mid";
// The loudest song of the two packages: at the same gain its chords would pass full scale.
const char* const kLoudnessLoudestSong = "/usr/share/games/openttd/baseset/openmsx/flying_scotsman.mid";

struct cSongLevel {
    std::string strName;
    double dRmsDb = -400;   // over both channels and the whole song
    float fPeak = 0;        // largest magnitude of a sample
    double dSeconds = 0;
};

cSongLevel MeasureSong(const std::string& name, const std::vector<float>& stereo)
{
    cSongLevel level;
    level.strName = name;
    double sum = 0;
    for (float v : stereo) {
        sum += double(v) * v;
        level.fPeak = std::max(level.fPeak, std::fabs(v));
    }
    if (sum > 0) level.dRmsDb = 10 * std::log10(sum / static_cast<double>(stereo.size()));
    level.dSeconds = static_cast<double>(stereo.size() / 2) / kLoudnessRate;
    return level;
}

// Renders a MIDI file played once, block by block as the device would, until it stops.
cSongLevel RenderMidiSong(const std::string& name, const std::string& path)
{
    cMidi midi(qbtest::ProgramPath(path).c_str());
    EXPECT_NE(midi.Stream(), nullptr) << path;
    if (!midi.Stream()) return {};
    midi.Play(0, 1, 0);
    std::vector<float> all;
    while (midi.State() != 0 && all.size() < std::size_t{2} * kLoudnessRate * kLoudnessLongestSeconds) {
        const std::vector<float> block = qbtest::Render(plat::kAudioMaxFrames);
        all.insert(all.end(), block.begin(), block.end());
        EXPECT_TRUE(plat::MidiStreamWaitCallbacks(midi.Stream(), 5s)) << path;
    }
    EXPECT_EQ(midi.State(), 0) << path << " still plays after " << kLoudnessLongestSeconds << " s";
    return MeasureSong(name, all);
}

// Renders an Ogg file played once, each block once the player has decoded it.
cSongLevel RenderOggSong(const std::string& name, const std::string& path)
{
    plat::cOggPlayer player;
    EXPECT_TRUE(player.Load(qbtest::ProgramPath(path).c_str())) << path << ": " << player.LastError();
    player.SetLoop(0);
    player.Play();
    std::vector<float> all;
    while (player.IsPlaying() && all.size() < std::size_t{2} * kLoudnessRate * kLoudnessLongestSeconds) {
        EXPECT_TRUE(player.WaitBuffered(plat::kAudioMaxFrames + 1, 10s)) << path;
        const std::vector<float> block = qbtest::Render(plat::kAudioMaxFrames);
        all.insert(all.end(), block.begin(), block.end());
    }
    return MeasureSong(name, all);
}

// The demo's Ogg tune is the reference: mastered music near -17 dBFS. A lone MIDI lead voice and
// a song of a whole band differ by 4 dB by themselves, so each is held to the reference.
TEST(MusicLoudness, MidiSongsPlayWithinThreeDecibelsOfTheOggTuneWithoutClipping)
{
    ASSERT_TRUE(std::filesystem::exists(plat::kMidiSoundFont)) << "install timgm6mb-soundfont";
    ASSERT_TRUE(std::filesystem::exists(kLoudnessGmSong)) << "install openttd-openmsx";
    ASSERT_TRUE(std::filesystem::exists(kLoudnessLoudestSong)) << "install openttd-openmsx";
    qbtest::cHeadlessAudio audio(kLoudnessRate);
    qbtest::cTempFolder folder;
    folder.ChangeInto();
    ASSERT_TRUE(OpenReportFile("Report_Game.txt"));
    ASSERT_TRUE(qbtest::WriteDemoGame(folder.Path() / "demo"));
    const std::filesystem::path bgm = folder.Path() / "demo" / "bgm";

    const cSongLevel reference = RenderOggSong("the demo's Ogg tune", (bgm / "Title.ogg").string());
    EXPECT_GT(reference.dSeconds, 1.0);
    EXPECT_LT(reference.fPeak, 1.0f);
    struct {
        const char* name;
        std::string path;
        bool bLoudnessHeld;   // the loudest song is here for its peaks only
    } const songs[] = {
        {"the demo's MIDI tune", (bgm / "Title.mid").string(), true},
        {"a General MIDI song", kLoudnessGmSong, true},
        {"the loudest packaged song", kLoudnessLoudestSong, false},
    };
    for (const auto& song : songs) {
        const cSongLevel level = RenderMidiSong(song.name, song.path);
        EXPECT_GT(level.dSeconds, 1.0) << song.name;
        EXPECT_LT(level.fPeak, 1.0f) << song.name << " reaches full scale (clipped)";
        if (song.bLoudnessHeld) {
            EXPECT_NEAR(level.dRmsDb, reference.dRmsDb, 3.0)
                << song.name << " against " << reference.strName << " at " << reference.dRmsDb << " dBFS";
        }
    }
}

}  // namespace
