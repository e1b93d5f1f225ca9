#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "shell/log.h"
#include "sound/direct_sound.h"
#include "tests/sound/audio_test_support.h"
#include "tests/sound/wave_builder.h"
#include "tests/support/temp_folder.h"

namespace {

using qbtest::cWaveSpec;

constexpr int kDeviceRate = 44100;

// A headless device, sound initialised, a working folder for the WAVE files and the report.
class DirectSoundTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_Folder.ChangeInto();
        ASSERT_TRUE(OpenReportFile("Report_Game.txt"));
        ASSERT_TRUE(DS_Init(nullptr, 22050, 8, 1));
    }
    void TearDown() override
    {
        for (DSSOUNDDATA& sound : m_Sounds) DS_ReleaseSound(sound);
        DS_UnInit();
    }
    DSSOUNDDATA& Load(const std::string& name, const std::string& bytes, int copies = 1, int volume = 0)
    {
        m_Folder.WriteFile(name, bytes);
        DSSOUNDDATA& sound = m_Sounds.emplace_back();
        DS_LoadSound(sound, name.c_str(), copies, volume);
        return sound;
    }

    qbtest::cHeadlessAudio m_Audio{kDeviceRate};
    qbtest::cTempFolder m_Folder;
    std::vector<DSSOUNDDATA> m_Sounds = std::vector<DSSOUNDDATA>(0);

public:
    DirectSoundTest() { m_Sounds.reserve(16); }  // Load hands out references into it
};

const cWaveSpec kSine8{22050, 8, 1, 441.0, 0.5, 22050};
const cWaveSpec kSine16{44100, 16, 1, 441.0, 0.5, 44100};

TEST_F(DirectSoundTest, EachVolumeLevelGivesItsLevelInDecibels)
{
    for (const cWaveSpec& form : {kSine8, kSine16}) {
        DSSOUNDDATA& sound = Load("sine" + std::to_string(form.bits) + ".wav", qbtest::SineWave(form));
        ASSERT_FALSE(sound.lpBuffers.empty()) << form.bits;
        double fullRms = 0;
        for (int level = 10; level >= 0; --level) {
            EXPECT_EQ(DS_SetVolume(sound, 0, DS_VolumeOfLevel(level), 0), kSoundVolumeTable[level]);
            DS_Play(sound, 0);
            const std::vector<float> out = qbtest::Render(8820);
            const double rms = qbtest::Rms(out, 0);
            if (level == 10) {
                fullRms = rms;
                // The sine's own level: amplitude / sqrt 2 (8-bit samples are a little coarser).
                EXPECT_NEAR(20 * std::log10(rms / (0.5 / std::sqrt(2.0))), 0.0, form.bits == 8 ? 0.2 : 0.01);
                EXPECT_NEAR(qbtest::ZeroCrossingFrequency(out, kDeviceRate), 441.0, 441.0 * 0.005) << form.bits;
            } else if (level == 0) {
                EXPECT_TRUE(qbtest::AllZero(out)) << "-10000 is exactly silent, " << form.bits << " bits";
            } else {
                EXPECT_NEAR(20 * std::log10(rms / fullRms), kSoundVolumeTable[level] / 100.0, 0.05)
                    << "level " << level << ", " << form.bits << " bits";
            }
            EXPECT_EQ(qbtest::Rms(out, 0), qbtest::Rms(out, 1)) << "a mono sound plays on both sides";
        }
    }
}

TEST_F(DirectSoundTest, OverlappingCopiesAddUp)
{
    const cWaveSpec quiet{44100, 16, 1, 441.0, 0.25, 44100};
    DSSOUNDDATA& sound = Load("quiet.wav", qbtest::SineWave(quiet), 2);
    DS_Play(sound, 0);
    const std::vector<float> one = qbtest::Render(2000);
    DS_Play(sound, 0);
    DS_Play(sound, 0);
    const std::vector<float> two = qbtest::Render(2000);
    for (std::size_t i = 0; i < one.size(); ++i) ASSERT_EQ(two[i], 2 * one[i]) << i;
}

DWORD Position(DSSOUNDDATA& sound, int copy)
{
    DWORD play = 0;
    sound.lpBuffers[static_cast<std::size_t>(copy)]->GetCurrentPosition(&play, nullptr);
    return play;
}

TEST_F(DirectSoundTest, CopiesPlayInTurnAndTheFourthPlayOfThreeRestartsCopyZero)
{
    DSSOUNDDATA& sound = Load("three.wav", qbtest::SineWave(kSine16), 3);
    ASSERT_EQ(sound.nCopies, 3);
    EXPECT_EQ(sound.lpBuffers[1]->SampleBlock(), sound.lpBuffers[0]->SampleBlock()) << "duplicates share samples";
    EXPECT_EQ(sound.lpBuffers[2]->SampleBlock(), sound.lpBuffers[0]->SampleBlock());
    for (int play = 0; play < 3; ++play) {
        DS_Play(sound, 0);
        qbtest::Render(100);
    }
    EXPECT_EQ(Position(sound, 0), 300u * 2);
    EXPECT_EQ(Position(sound, 1), 200u * 2);
    EXPECT_EQ(Position(sound, 2), 100u * 2);
    DS_Play(sound, 0);
    EXPECT_EQ(Position(sound, 0), 0u) << "the fourth play restarts copy 0";
    EXPECT_EQ(Position(sound, 1), 200u * 2);
    EXPECT_EQ(sound.nNextCopy, 1);
    for (int copy = 0; copy < 3; ++copy) {
        DWORD status = 0;
        sound.lpBuffers[static_cast<std::size_t>(copy)]->GetStatus(&status);
        EXPECT_EQ(status, DSBSTATUS_PLAYING) << copy;
    }
}

TEST_F(DirectSoundTest, OneCopyRestartsAndNoCopyCountsAsOne)
{
    DSSOUNDDATA& none = Load("none.wav", qbtest::SineWave(kSine16), 0);
    ASSERT_EQ(none.lpBuffers.size(), 1u);
    EXPECT_EQ(none.nCopies, 1);
    DS_Play(none, 0);
    qbtest::Render(100);
    DS_Play(none, 0);
    EXPECT_EQ(Position(none, 0), 0u);
    EXPECT_EQ(none.nNextCopy, 0);
    EXPECT_FALSE(qbtest::AllZero(qbtest::Render(100)));
}

TEST_F(DirectSoundTest, VolumesAreClampedAndRelativeChangesAdd)
{
    DSSOUNDDATA& sound = Load("v.wav", qbtest::SineWave(kSine16), 2, -500);
    EXPECT_EQ(DS_GetVolume(sound, 0), -500);
    EXPECT_EQ(DS_GetVolume(sound, 1), -500);
    struct Case { int volume, relative, expected; } cases[] = {
        {-200, 1, -700}, {-9900, 1, -10000}, {300, 0, 0}, {-20000, 0, -10000}, {2147483647, 1, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(DS_SetVolume(sound, 0, c.volume, c.relative), c.expected) << c.volume;
    EXPECT_EQ(DS_GetVolume(sound, 1), -500) << "other copies keep theirs";
    EXPECT_EQ(DS_SetVolume(sound, 5, -100, 0), 0) << "a copy without buffer";
    EXPECT_EQ(DS_GetVolume(sound, -1), 0);
}

TEST_F(DirectSoundTest, ABadFileIsAbsentSilentAndReported)
{
    DSSOUNDDATA& bad = Load("float.wav", qbtest::SineWave({22050, 16, 1, 441, 0.5, 100, 16, false, 3}));
    EXPECT_EQ(bad.nCopies, 0);
    EXPECT_TRUE(bad.lpBuffers.empty() || !bad.lpBuffers[0]);
    DS_Play(bad, 0);
    EXPECT_TRUE(qbtest::AllZero(qbtest::Render(256)));
    DSSOUNDDATA& missing = Load("x.wav", "");
    DS_Play(missing, 0);
    const std::string report = m_Folder.ReadFile("Report_Game.txt");
    EXPECT_NE(report.find("float.wav : not PCM"), std::string::npos) << report;
    EXPECT_NE(report.find("x.wav : not a RIFF WAVE file"), std::string::npos) << report;
}

TEST_F(DirectSoundTest, TheTableLoadsWithTheOptionVolumeAndDirectionKeysPlayTheCursorSound)
{
    m_Folder.WriteFile("wave/cursor.wav", qbtest::SineWave({44100, 16, 1, 441, 0.25, 44100}));
    cSafeVector<DSSOUNDDATA> table;
    table.resize(3);
    cSafeVector<DSSOUNDFILE> files(3);
    std::snprintf(files[0].szFile, MAX_PATH, "wave\\cursor.wav");
    files[0].nCopies = 2;
    files[0].nVolume = -300;
    std::snprintf(files[1].szFile, MAX_PATH, "wave\\cursor.wav");
    files[1].nVolume = -300;
    DS_LoadSoundTable(table, files, 0);  // level 10: each file's own volume
    EXPECT_EQ(DS_GetVolume(table[0], 1), -300);
    EXPECT_TRUE(table[2].lpBuffers.empty()) << "an entry without a file stays unloaded";
    DS_LoadSoundTable(table, files, -800);  // already loaded: unchanged
    EXPECT_EQ(DS_GetVolume(table[1], 0), -300);

    DS_SetVolume(table[0], 0, 0, 0);
    DS_SetVolume(table[0], 1, 0, 0);
    DS_PlayOnDirectionKey(4, 1, 0);  // up on a left-right menu: nothing
    DS_PlayOnDirectionKey(0, 3, 0);
    EXPECT_TRUE(qbtest::AllZero(qbtest::Render(256)));
    DS_PlayOnDirectionKey(1, 1, 0);
    const std::vector<float> one = qbtest::Render(1000);
    DS_PlayOnDirectionKey(2 | 8, 3, 0);  // a diagonal on a two-axis menu: two plays
    const std::vector<float> two = qbtest::Render(1000);
    for (std::size_t i = 0; i < one.size(); ++i) ASSERT_EQ(two[i], 2 * one[i]) << i;
    DS_UnInit();  // releases the remembered table before it goes
}

TEST_F(DirectSoundTest, TwoThreadsPlayingOneSoundKeepTheCopyInRange)
{
    DSSOUNDDATA& sound = Load("t.wav", qbtest::SineWave(kSine8), 3);
    auto player = [&] {
        for (int i = 0; i < 2000; ++i) DS_Play(sound, 0);
    };
    std::thread window(player), game(player);
    std::vector<float> out(512);
    for (int i = 0; i < 200; ++i) plat::RenderAudio(out.data(), 256);
    window.join();
    game.join();
    EXPECT_EQ(sound.nNextCopy, (4000 % 3));
}

TEST(DirectSound, WithoutInitEveryCallReturnsAtOnce)
{
    DSSOUNDDATA sound;
    EXPECT_TRUE(DS_LoadSound(sound, "missing.wav", 3, -100));
    EXPECT_TRUE(sound.lpBuffers.empty());
    DS_Play(sound, 0);
    EXPECT_EQ(DS_SetVolume(sound, 0, -100, 0), 0);
    DS_PlayOnDirectionKey(1, 1, 0);
    DS_UnInit();
}

}  // namespace
