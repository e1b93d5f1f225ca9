#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "platform/audio/ogg_decoder.h"
#include "platform/audio/ogg_player.h"
#include "tools/lib/wave_fuzz.h"
#include "tests/sound/audio_test_support.h"
#include "tests/support/temp_folder.h"

namespace {

using namespace std::chrono_literals;

struct cReference {
    int rate = 0;
    std::vector<float> frames;  // stereo, clamped as the mixer's output is
    std::size_t Length() const { return frames.size() / 2; }
};

// The reference decode: libvorbisfile's ov_read_float over the whole file, by itself.
cReference DecodeReference(const char* path)
{
    cReference ref;
    OggVorbis_File file;
    if (ov_fopen(path, &file) != 0) return ref;
    ref.rate = static_cast<int>(ov_info(&file, -1)->rate);
    const int channels = ov_info(&file, -1)->channels;
    float** pcm;
    int section;
    long got;
    while ((got = ov_read_float(&file, &pcm, 4096, &section)) > 0) {
        for (long i = 0; i < got; ++i) {
            ref.frames.push_back(std::clamp(pcm[0][i], -1.0f, 1.0f));
            ref.frames.push_back(std::clamp(pcm[channels > 1 ? 1 : 0][i], -1.0f, 1.0f));
        }
    }
    ov_clear(&file);
    return ref;
}

// Renders `frames` frames by blocks of the device's size, each once the player has them.
std::vector<float> RenderPlayer(plat::cOggPlayer& player, std::size_t frames)
{
    std::vector<float> out;
    while (out.size() / 2 < frames) {
        const int block = static_cast<int>(std::min<std::size_t>(plat::kAudioMaxFrames, frames - out.size() / 2));
        EXPECT_TRUE(player.WaitBuffered(static_cast<std::size_t>(block) + 1, 10s));
        const std::vector<float> part = qbtest::Render(block);
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

// First frame where the render differs from the reference repeated; -1 when none.
long FirstDifference(const std::vector<float>& rendered, const cReference& ref, std::size_t frames)
{
    for (std::size_t i = 0; i < frames; ++i) {
        const std::size_t r = i % ref.Length();
        if (rendered[2 * i] != ref.frames[2 * r] || rendered[2 * i + 1] != ref.frames[2 * r + 1])
            return static_cast<long>(i);
    }
    return -1;
}

TEST(OggPlayer, LoopedSongEqualsTheReferenceDecodeOverTwoPeriodsWithoutAGap)
{
    for (const char* path : {qbtest::kOgg44Stereo, qbtest::kOgg48Mono, qbtest::kOgg48Stereo}) {
        const cReference ref = DecodeReference(path);
        ASSERT_GT(ref.Length(), 0u) << path << " (test package sound-theme-freedesktop)";
        qbtest::cHeadlessAudio audio(ref.rate);
        plat::cOggPlayer player;
        ASSERT_TRUE(player.Load(qbtest::ProgramPath(path).c_str())) << path << ": " << player.LastError();
        player.SetLoop(plat::cOggPlayer::kLoopForever);
        player.Play();
        const std::size_t frames = 2 * ref.Length() + 3000;
        const std::vector<float> rendered = RenderPlayer(player, frames);
        EXPECT_EQ(FirstDifference(rendered, ref, frames), -1) << path << " of " << ref.Length() << " frames";
        EXPECT_TRUE(player.IsPlaying()) << path;
    }
}

TEST(OggPlayer, PlayOnceEndsInSilenceAndStopSilencesAtOnce)
{
    const cReference ref = DecodeReference(qbtest::kOgg44Stereo);
    ASSERT_GT(ref.Length(), 0u);
    qbtest::cHeadlessAudio audio(ref.rate);
    plat::cOggPlayer player;
    ASSERT_TRUE(player.Load(qbtest::ProgramPath(qbtest::kOgg44Stereo).c_str())) << player.LastError();

    player.SetLoop(0);
    player.Play();
    const std::vector<float> once = RenderPlayer(player, ref.Length());
    EXPECT_EQ(FirstDifference(once, ref, ref.Length()), -1);
    EXPECT_TRUE(qbtest::AllZero(qbtest::Render(4096)));
    EXPECT_FALSE(player.IsPlaying());

    player.SetLoop(plat::cOggPlayer::kLoopForever);
    player.Play();
    const std::vector<float> start = RenderPlayer(player, 2048);
    EXPECT_EQ(FirstDifference(start, ref, 2048), -1);  // Play starts again from the first sample
    player.Stop();
    EXPECT_TRUE(qbtest::AllZero(qbtest::Render(4096)));
    EXPECT_FALSE(player.IsPlaying());
}

TEST(OggPlayer, ResamplesToTheDeviceRate)
{
    const cReference ref = DecodeReference(qbtest::kOgg44Stereo);
    ASSERT_GT(ref.Length(), 0u);
    qbtest::cHeadlessAudio audio(48000);
    plat::cOggPlayer player;
    ASSERT_TRUE(player.Load(qbtest::ProgramPath(qbtest::kOgg44Stereo).c_str())) << player.LastError();
    player.SetLoop(0);
    player.Play();
    // The song lasts as long at 48 kHz: its frames times 48000 / 44100, within a frame or two.
    const std::size_t expected = ref.Length() * 48000 / 44100;
    std::vector<float> rendered = RenderPlayer(player, expected + 2000);
    std::size_t lastSound = 0;
    for (std::size_t i = 0; i < rendered.size() / 2; ++i) {
        if (rendered[2 * i] != 0.0f || rendered[2 * i + 1] != 0.0f) lastSound = i;
    }
    EXPECT_NEAR(static_cast<double>(lastSound), static_cast<double>(expected), 3.0);
}

TEST(OggPlayer, BadFilesAreRefusedWithAReason)
{
    qbtest::cHeadlessAudio audio(44100);
    qbtest::cTempFolder folder;
    folder.ChangeInto();
    std::ifstream in(qbtest::kOgg44Stereo, std::ios::binary);
    const std::string song((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(song.empty());
    folder.WriteFile("empty.ogg", "");
    folder.WriteFile("text.ogg", "not a song at all");
    folder.WriteFile("header-only.ogg", song.substr(0, 200));
    plat::cOggPlayer player;
    for (const char* name : {"empty.ogg", "text.ogg", "header-only.ogg", "missing.ogg"}) {
        EXPECT_FALSE(player.Load(name)) << name;
        EXPECT_FALSE(player.LastError().empty()) << name;
        player.Play();  // nothing loaded: nothing plays
        EXPECT_FALSE(player.IsPlaying()) << name;
    }
}

// An input of no bytes may come without a buffer at all (the data of an empty vector): it is
// refused like any other stream that is not Vorbis, without touching the missing bytes.
TEST(OggDecoder, RefusesAnEmptyInputThatHasNoBuffer)
{
    plat::cOggDecoder decoder;
    std::string error;
    EXPECT_FALSE(decoder.OpenMemory(nullptr, 0, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(decoder.IsOpen());
    EXPECT_EQ(FuzzOgg(nullptr, 0), 0);
}

// Every prefix of a real song and seeded mutations of it decode to an end, twice (as a loop
// reads), without a crash or a hang.
TEST(OggDecoder, SurvivesEveryPrefixAndMutations)
{
    std::ifstream in(qbtest::kOgg44Stereo, std::ios::binary);
    const std::string song((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(song.empty());
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(song.data());
    for (std::size_t n = 0; n <= song.size(); ++n) FuzzOgg(bytes, n);

    std::mt19937 random(19);
    for (int round = 0; round < 300; ++round) {
        std::string mutated = song;
        for (int flips = 1 + random() % 16; flips > 0; --flips)
            mutated[random() % mutated.size()] ^= static_cast<char>(1 << (random() % 8));
        FuzzOgg(reinterpret_cast<const std::uint8_t*>(mutated.data()), mutated.size());
    }
}

}  // namespace
