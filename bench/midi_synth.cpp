// The CPU cost of the MIDI music: one minute of a dense song (planetblupi's music009.mid, about
// 55,000 events) synthesised through the runtime's own player, stream and mixer with FluidSynth
// and TimGM6mb, as a share of real time; beside it FluidSynth's own file player rendering the same
// minute of the same song with the same sound font, so that our overhead shows in one run.
#include <benchmark/benchmark.h>
#include <fluidsynth.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/audio/audio_device.h"
#include "platform/audio/midi_synth.h"
#include "platform/os/files.h"
#include "sound/midi.h"

namespace {

constexpr const char* kSong = "/usr/share/planetblupi/music/music009.mid";  // planetblupi-music-midi
constexpr int kRate = 48000;
constexpr int kSeconds = 60;
constexpr int kBlock = plat::kAudioMaxFrames;

bool SongPresent(benchmark::State& state)
{
    if (std::filesystem::exists(kSong) && std::filesystem::exists(plat::kMidiSoundFont)) return true;
    state.SkipWithError("install planetblupi-music-midi and timgm6mb-soundfont");
    return false;
}

void ReportShare(benchmark::State& state, double seconds)
{
    state.counters["share_of_real_time_%"] = 100.0 * seconds / (kSeconds * static_cast<double>(state.iterations()));
}

// Our player: the mixer pulls one minute in the device's block size.
void BM_OurPlayer(benchmark::State& state)
{
    if (!SongPresent(state)) return;
    plat::UseHeadlessAudio(kRate);
    std::string path;
    plat::ToProgramPath(kSong, path);
    {
        cMidi midi(path.c_str());
        if (!midi.Stream()) {
            state.SkipWithError("the MIDI stream could not open");
            plat::UseHeadlessAudio(0);
            return;
        }
        std::vector<float> out(2 * kBlock);
        double seconds = 0;
        for (auto _ : state) {
            midi.Stop(0);
            midi.Play(0, 1, 1);
            const auto start = std::chrono::steady_clock::now();
            for (int frames = 0; frames < kRate * kSeconds; frames += kBlock) plat::RenderAudio(out.data(), kBlock);
            seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            benchmark::DoNotOptimize(out.data());
        }
        ReportShare(state, seconds);
    }
    plat::UseHeadlessAudio(0);
}
BENCHMARK(BM_OurPlayer)->Unit(benchmark::kMillisecond)->Iterations(3);

// FluidSynth's own file player on its own synthesiser with the same settings and sound font.
void BM_FluidSynthPlayer(benchmark::State& state)
{
    if (!SongPresent(state)) return;
    for (int level = 0; level < LAST_LOG_LEVEL; ++level) fluid_set_log_function(level, nullptr, nullptr);
    std::unique_ptr<fluid_settings_t, void (*)(fluid_settings_t*)> settings(new_fluid_settings(), delete_fluid_settings);
    fluid_settings_setnum(settings.get(), "synth.sample-rate", kRate);
    fluid_settings_setint(settings.get(), "synth.threadsafe-api", 0);
    std::unique_ptr<fluid_synth_t, void (*)(fluid_synth_t*)> synth(new_fluid_synth(settings.get()), delete_fluid_synth);
    fluid_synth_sfload(synth.get(), plat::kMidiSoundFont, 1);
    std::vector<float> out(2 * kBlock);
    double seconds = 0;
    for (auto _ : state) {
        std::unique_ptr<fluid_player_t, void (*)(fluid_player_t*)> player(new_fluid_player(synth.get()), delete_fluid_player);
        fluid_player_add(player.get(), kSong);
        fluid_player_play(player.get());
        const auto start = std::chrono::steady_clock::now();
        for (int frames = 0; frames < kRate * kSeconds; frames += kBlock)
            fluid_synth_write_float(synth.get(), kBlock, out.data(), 0, 2, out.data(), 1, 2);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        benchmark::DoNotOptimize(out.data());
        fluid_player_stop(player.get());
        fluid_synth_all_sounds_off(synth.get(), -1);
    }
    ReportShare(state, seconds);
}
BENCHMARK(BM_FluidSynthPlayer)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
