#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "shell/log.h"
#include "sound/bgm.h"
#include "sound/direct_sound.h"
#include "tests/sound/audio_test_support.h"
#include "tests/support/temp_folder.h"

namespace {

using namespace std::chrono_literals;

// A manager of its own with its own slot names, a headless device, a working folder holding a
// real Ogg song under several names, and the report file.
class BgmTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_Folder.ChangeInto();
        ASSERT_TRUE(OpenReportFile("Report_Game.txt"));
        std::ifstream in(qbtest::kOgg44Stereo, std::ios::binary);
        const std::string song((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ASSERT_FALSE(song.empty()) << "test package sound-theme-freedesktop";
        m_Folder.WriteFile("bgm/Title.ogg", song);
        m_Folder.WriteFile("bgm/Loud.OGG", song);
        m_Folder.WriteFile("bgm/Song.wav", std::string("RIFF\x04\0\0\0WAVE", 12));
        std::memcpy(m_OggNames, g_BgmOggNames, sizeof m_OggNames);
        std::memcpy(m_MidiNames, g_BgmMidiNames, sizeof m_MidiNames);
    }
    void TearDown() override { m_Bgm.UnInit(); }

    int Init() { return m_Bgm.Init(1, m_OggNames, m_MidiNames, kBgmSlots); }
    bool Sounding()
    {
        if (auto& player = m_Bgm.m_Vox.m_Players.At(0)) player->WaitBuffered(2048, 10s);
        return !qbtest::AllZero(qbtest::Render(1024));
    }

    qbtest::cHeadlessAudio m_Audio{44100};
    qbtest::cTempFolder m_Folder;
    char m_OggNames[kBgmSlots][MAX_PATH];
    char m_MidiNames[kBgmSlots][kMidiNameSize];
    cBgm m_Bgm;
};

TEST_F(BgmTest, TheExtensionDecidesTheSlotKindAndNames)
{
    ASSERT_EQ(Init(), 1);
    struct Case { const char* file; int result, kind; const char* ogg; const char* midi; } cases[] = {
        {"bgm\\a.ogg", 1, 1, "bgm\\a.ogg", "bgm\\Stage.mid"},
        {"bgm\\b.OGG", 1, 1, "bgm\\b.OGG", "bgm\\Stage.mid"},
        {"bgm\\c.MID", 1, 2, "bgm\\b.OGG", "bgm\\c.mid"},
        {"bgm\\d.mid", 1, 2, "bgm\\b.OGG", "bgm\\d.mid"},
        {"bgm\\e.wav", 0, 0, "bgm\\e.wav", "bgm\\e.wav"},
        {"bgm\\none", 0, 0, "", ""},
        {"", 0, 0, "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(m_Bgm.SetSlotFile(4, c.file), c.result) << c.file;
        EXPECT_EQ(m_Bgm.m_SlotKind[4], c.kind) << c.file;
        EXPECT_STREQ(m_OggNames[4], c.ogg) << c.file;
        EXPECT_STREQ(m_MidiNames[4], c.midi) << c.file;
    }
    EXPECT_STREQ(m_OggNames[0], "bgm\\Title.ogg") << "other slots keep their files";
}

TEST_F(BgmTest, BeforeInitEveryOperationReturnsAtOnce)
{
    EXPECT_EQ(m_Bgm.SetSlotFile(0, "bgm\\Title.ogg"), 1);
    EXPECT_EQ(m_Bgm.Play(0, 0, 1, 0, 1), 0);
    m_Bgm.Stop();
    EXPECT_EQ(m_Bgm.m_nCurSlot, -1);
    EXPECT_TRUE(qbtest::AllZero(qbtest::Render(1024)));
}

TEST_F(BgmTest, AnOggSlotPlaysAndStopKeepsTheCurrentSlot)
{
    ASSERT_EQ(Init(), 1);
    for (const char* file : {"bgm\\Title.ogg", "bgm\\Loud.OGG"}) {
        m_Bgm.SetSlotFile(1, file);
        EXPECT_EQ(m_Bgm.Play(0, 1, 1, 0, 1), 1) << file;
        EXPECT_EQ(m_Bgm.m_nCurSlot, 1);
        EXPECT_EQ(m_Bgm.m_ChannelKind[0], 1);
        EXPECT_TRUE(Sounding()) << file;
    }
    m_Bgm.Stop();
    EXPECT_TRUE(qbtest::AllZero(qbtest::Render(1024)));
    EXPECT_EQ(m_Bgm.m_nCurSlot, 1) << "BGM 0 stops the music but keeps the slot";
}

TEST_F(BgmTest, TheCurrentSlotIsNotRestartedUnlessForced)
{
    ASSERT_EQ(Init(), 1);
    m_Bgm.SetSlotFile(0, "bgm\\Title.ogg");
    ASSERT_EQ(m_Bgm.Play(0, 0, 0, 0, 1), 1);
    ASSERT_TRUE(Sounding());
    m_Bgm.Stop();
    EXPECT_EQ(m_Bgm.Play(0, 0, 0, 0, 0), 1);
    EXPECT_TRUE(qbtest::AllZero(qbtest::Render(1024))) << "same slot, not forced: nothing done";
    EXPECT_EQ(m_Bgm.Play(0, 0, 0, 0, 1), 1);
    EXPECT_TRUE(Sounding());
}

TEST_F(BgmTest, AFileNeitherPlayerTakesLeavesSilenceNoSlotAndAReportLine)
{
    ASSERT_EQ(Init(), 1);
    m_Bgm.SetSlotFile(0, "bgm\\Title.ogg");
    ASSERT_EQ(m_Bgm.Play(0, 0, 1, 0, 1), 1);
    struct Case { const char* file; const char* report; } cases[] = {
        {"bgm\\Song.wav", "BGM bgm\\Song.wav : not an Ogg Vorbis file"},  // Ogg first, then MIDI
        {"bgm\\Missing.ogg", "BGM bgm\\Missing.ogg : cannot open the file"},
        {"bgm\\Song.MID", "BGM bgm\\Song.mid : the MIDI player could not load it"},
    };
    for (const Case& c : cases) {
        m_Bgm.SetSlotFile(2, c.file);
        EXPECT_EQ(m_Bgm.Play(0, 2, 1, 0, 1), 0) << c.file;
        EXPECT_EQ(m_Bgm.m_nCurSlot, -1) << c.file;
        EXPECT_EQ(m_Bgm.m_ChannelKind[0], 0) << c.file;
        EXPECT_TRUE(qbtest::AllZero(qbtest::Render(1024))) << c.file << ": the song before is stopped";
        EXPECT_NE(m_Folder.ReadFile("Report_Game.txt").find(c.report), std::string::npos) << c.file;
    }
    // With no current slot, the same slot is tried again even without force.
    m_Bgm.SetSlotFile(2, "bgm\\Title.ogg");
    EXPECT_EQ(m_Bgm.Play(0, 2, 1, 0, 0), 1);
}

TEST_F(BgmTest, InitOnARunningManagerStopsItsSongFirst)
{
    ASSERT_EQ(Init(), 1);
    m_Bgm.SetSlotFile(0, "bgm\\Title.ogg");
    ASSERT_EQ(m_Bgm.Play(0, 0, 1, 0, 1), 1);
    ASSERT_TRUE(Sounding());
    ASSERT_EQ(Init(), 1);
    EXPECT_TRUE(qbtest::AllZero(qbtest::Render(2048))) << "the old players are gone with their song";
    EXPECT_EQ(m_Bgm.m_Vox.m_Players.size(), 1u);
    m_Bgm.SetSlotFile(0, "bgm\\Title.ogg");
    EXPECT_EQ(m_Bgm.Play(0, 0, 1, 0, 1), 1);
    EXPECT_TRUE(Sounding());
}

TEST_F(BgmTest, OptionsOnTheGameThreadAndCloseOnTheWindowThreadDoNotMeetHalfWay)
{
    ASSERT_EQ(Init(), 1);
    std::thread game([&] {
        for (int i = 0; i < 30; ++i) {
            m_Bgm.UnInit();
            Init();
        }
    });
    std::thread window([&] {
        for (int i = 0; i < 100; ++i) {
            m_Bgm.SetSlotFile(0, "bgm\\Title.ogg");
            m_Bgm.Play(0, 0, 1, 0, 1);
            m_Bgm.Stop();
        }
    });
    game.join();
    window.join();
    EXPECT_EQ(m_Bgm.m_bInit, 1);
}

TEST_F(BgmTest, TheDeviceClosesOnlyAfterTheLastBgmVoiceLetsGo)
{
    ASSERT_TRUE(DS_Init(nullptr, 22050, 8, 1));
    ASSERT_EQ(Init(), 1);
    m_Bgm.SetSlotFile(0, "bgm\\Title.ogg");
    ASSERT_EQ(m_Bgm.Play(0, 0, 1, 0, 1), 1);
    DS_UnInit();  // shutdown releases sound effects before the BGM
    EXPECT_TRUE(plat::IsAudioDeviceOpen());
    EXPECT_TRUE(Sounding()) << "the song still plays on the device";
    m_Bgm.UnInit();
    EXPECT_FALSE(plat::IsAudioDeviceOpen());
}

}  // namespace
