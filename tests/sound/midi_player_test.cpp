// The MIDI player over our MIDI stream, heard through a recording sink: where each message lands,
// to the sample, through buffer refills, pauses, stops and loops.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>

#include "shell/log.h"
#include "sound/bgm.h"
#include "sound/midi.h"
#include "tests/sound/audio_test_support.h"
#include "tests/sound/midi_builder.h"
#include "tests/sound/midi_recording_sink.h"
#include "tests/sound/midicsv.h"
#include "tests/support/temp_folder.h"

namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;
using qbtest::Ev;
using qbtest::kEndOfTrack;
using qbtest::MidiFile;
using qbtest::NoteOn;

constexpr int kRate = 48000;

// A tempo map: the sample of a tick from the tempo changes before it, by the formula.
struct cTempoMap {
    int division;
    std::vector<std::pair<std::uint64_t, double>> changes;  // tick, microseconds per quarter note

    double Sample(std::uint64_t tick) const
    {
        if (division & 0x8000) {
            const int fps = -static_cast<int>(static_cast<std::int8_t>(division >> 8));
            const double framesPerSecond = fps == 29 ? 30000.0 / 1001.0 : fps;
            return tick * kRate / (framesPerSecond * (division & 0xFF));
        }
        double sample = 0, tempo = 500000;
        std::uint64_t at = 0;
        for (const auto& [changeTick, changeTempo] : changes) {
            if (changeTick >= tick) break;
            sample += (changeTick - at) * tempo * kRate / (1e6 * division);
            at = changeTick;
            tempo = changeTempo;
        }
        return sample + (tick - at) * tempo * kRate / (1e6 * division);
    }
};

class MidiPlayerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_Folder.ChangeInto();
        ASSERT_TRUE(OpenReportFile("Report_Game.txt"));
        plat::UseMidiSink(m_Sink);
    }
    void TearDown() override { plat::UseMidiSink(nullptr); }

    std::unique_ptr<cMidi> Make(const std::string& file)
    {
        m_Folder.WriteFile("bgm/Song.mid", file);
        auto midi = std::make_unique<cMidi>("bgm\\Song.mid");
        EXPECT_TRUE(midi->HasImage());
        EXPECT_NE(midi->Stream(), nullptr) << m_Folder.ReadFile("Report_Game.txt");
        return midi;
    }

    // Renders in the device's own block size, letting the player's callbacks run after each
    // block as they would between two blocks of a real device.
    void Advance(cMidi& midi, std::int64_t frames)
    {
        while (frames > 0) {
            const int n = static_cast<int>(std::min<std::int64_t>(frames, plat::kAudioMaxFrames));
            qbtest::Render(n);
            ASSERT_TRUE(plat::MidiStreamWaitCallbacks(midi.Stream(), 5s));
            frames -= n;
        }
    }

    qbtest::cHeadlessAudio m_Audio{kRate};
    std::shared_ptr<qbtest::cRecordingSink> m_Sink = std::make_shared<qbtest::cRecordingSink>();
    qbtest::cTempFolder m_Folder;
};

TEST_F(MidiPlayerTest, EveryMessageLandsOnTheSampleOfItsTickUnderTheTempoMap)
{
    struct Case {
        const char* what;
        int division;
        std::vector<std::pair<std::uint64_t, double>> tempos;
        std::vector<std::uint64_t> noteTicks;
    } cases[] = {
        {"no tempo event: 500,000 us", 96, {}, {0, 96, 200, 1001}},
        {"tempo changes between notes", 480, {{0, 600000}, {700, 300000}, {1001, 1234567}}, {0, 480, 960, 1000, 1001, 5000}},
        {"a tempo change on the tick of a note", 120, {{0, 500000}, {240, 250000}}, {120, 240, 241, 360}},
        {"SMPTE 25 frames of 40 ticks", 0xE728, {{0, 250000}}, {0, 1, 1000, 1001, 2999}},
        {"SMPTE 29.97 frames of 80 ticks", 0xE350, {}, {0, 1, 79, 80, 30000}},
    };
    for (const Case& c : cases) {
        m_Sink->Clear();
        // Tempo events and notes in one track, in tick order; notes on the same tick as a tempo
        // event follow it.
        std::vector<std::pair<std::uint64_t, std::string>> events;
        for (const auto& [tick, tempo] : c.tempos) events.push_back({tick, qbtest::Tempo(static_cast<std::uint32_t>(tempo))});
        for (std::size_t i = 0; i < c.noteTicks.size(); ++i)
            events.push_back({c.noteTicks[i], NoteOn(0, 40 + static_cast<int>(i), 100)});
        std::stable_sort(events.begin(), events.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        std::string track;
        std::uint64_t at = 0;
        for (const auto& [tick, bytes] : events) {
            track += Ev(static_cast<std::uint32_t>(tick - at), bytes);
            at = tick;
        }
        track += Ev(10, kEndOfTrack);
        const cTempoMap map{c.division, c.division & 0x8000 ? decltype(c.tempos){} : c.tempos};
        {
            auto midi = Make(MidiFile(0, c.division, {track}));
            const std::int64_t start = m_Sink->Frames();
            midi->Play(0, 1, 0);
            Advance(*midi, static_cast<std::int64_t>(map.Sample(c.noteTicks.back() + 10)) + 2048);
            const std::vector<qbtest::cSinkRecord> records = m_Sink->Records();
            ASSERT_EQ(records.size(), c.noteTicks.size()) << c.what;
            for (std::size_t i = 0; i < records.size(); ++i) {
                EXPECT_EQ(records[i].bytes, NoteOn(0, 40 + static_cast<int>(i), 100)) << c.what;
                EXPECT_NEAR(static_cast<double>(records[i].sample - start), map.Sample(c.noteTicks[i]), 1.0)
                    << c.what << ", tick " << c.noteTicks[i];
            }
            EXPECT_EQ(midi->State(), 0) << c.what << ": the end mark stops a song that does not loop";
        }
    }
}

// The buffers as the stream reads them: delta and event field of each event, and the bytes of
// long messages.
struct cPacked {
    DWORD delta;
    DWORD field;
    std::string parameters = {};
};

std::vector<cPacked> Unpack(const MIDIHDR& header)
{
    std::vector<cPacked> events;
    for (DWORD at = 0; at + 12 <= header.dwBytesRecorded;) {
        DWORD delta, field;
        std::memcpy(&delta, header.lpData + at, 4);
        std::memcpy(&field, header.lpData + at + 8, 4);
        const DWORD padded = (field & MEVT_F_LONG) ? ((field & 0xFFFFFF) + 3) & ~3u : 0;
        events.push_back({delta, field, std::string(header.lpData + at + 12, padded)});
        at += 12 + padded;
    }
    return events;
}

TEST_F(MidiPlayerTest, BuffersPadLongMessagesCarryDeltasAcrossEdgesAndPassOverWhatCannotFit)
{
    const DWORD note = 0x00644090;  // 90 40 64
    std::string fullBuffer;         // exactly 2000 short events: one buffer
    for (int i = 0; i < 2000; ++i) fullBuffer += Ev(1, "\x90\x40\x64"s);
    const std::string sysex = qbtest::Sysex("\x41\x10\x42\x12\xF7");
    const std::string huge = qbtest::Sysex(std::string(24000, '\x01') + "\xF7");
    struct Case {
        const char* what;
        std::string track;
        std::vector<std::vector<cPacked>> buffersTail;  // the last events of each buffer
    } cases[] = {
        {"a system-exclusive message padded to four bytes", Ev(3, sysex) + Ev(2, kEndOfTrack),
         {{{3, MEVT_F_LONG | 6, "\xF0\x41\x10\x42\x12\xF7\0\0"s}, {2, cMidi::kEndMark}}}},
        {"a text event's delta goes to the next event", Ev(120, qbtest::Meta(1, "text")) + Ev(0, "\x90\x40\x64"s) + Ev(0, kEndOfTrack),
         {{{120, note}, {0, cMidi::kEndMark}}}},
        {"a meta event's delta at a buffer edge goes to the next buffer",
         fullBuffer + Ev(50, qbtest::Meta(6, "edge")) + Ev(7, "\x90\x40\x64"s) + Ev(0, kEndOfTrack),
         {{{1, note}, {1, note | MEVT_F_CALLBACK}}, {{57, note}, {0, cMidi::kEndMark}}}},
        {"a system-exclusive message longer than a buffer is passed over with its delta",
         Ev(30, huge) + Ev(5, "\x90\x40\x64"s) + Ev(0, kEndOfTrack), {{{35, note}, {0, cMidi::kEndMark}}}},
        {"an end mark that does not fit begins the next buffer", fullBuffer + Ev(9, kEndOfTrack),
         {{{1, note}, {1, note | MEVT_F_CALLBACK}}, {{9, cMidi::kEndMark}}}},
    };
    for (const Case& c : cases) {
        auto midi = Make(MidiFile(0, 96, {c.track}));
        std::vector<char> block(cMidi::kBufferSize);
        MIDIHDR header{};
        header.lpData = block.data();
        header.dwBufferLength = cMidi::kBufferSize;
        DWORD position = kMidiImageFirstEvent;
        for (const auto& tail : c.buffersTail) {
            position += midi->FillBuffer(position, header);
            const std::vector<cPacked> events = Unpack(header);
            ASSERT_GE(events.size(), tail.size()) << c.what;
            for (std::size_t i = 0; i < tail.size(); ++i) {
                const cPacked& got = events[events.size() - tail.size() + i];
                EXPECT_EQ(got.delta, tail[i].delta) << c.what << ", event " << i;
                EXPECT_EQ(got.field, tail[i].field) << c.what << ", event " << i;
                EXPECT_EQ(got.parameters, tail[i].parameters) << c.what << ", event " << i;
            }
        }
        EXPECT_EQ(position, midi->Image().size()) << c.what << ": the whole song is in the buffers";
    }
}

TEST_F(MidiPlayerTest, ASongPlaysThroughBufferEdgesAndOversizedMessagesWithoutStalling)
{
    // 2000 notes fill the first buffer; a marker's delta and an oversized system-exclusive
    // message's delta must reach the note after them, in the second buffer.
    std::string track;
    for (int i = 0; i < 2000; ++i) track += Ev(1, "\x90\x40\x64"s);
    track += Ev(50, qbtest::Meta(6, "edge")) + Ev(30, qbtest::Sysex(std::string(30000, '\x02') + "\xF7")) +
             Ev(7, NoteOn(1, 50, 60)) + Ev(0, kEndOfTrack);
    const cTempoMap map{96, {}};
    auto midi = Make(MidiFile(0, 96, {track}));
    midi->Play(0, 1, 0);
    Advance(*midi, static_cast<std::int64_t>(map.Sample(2000 + 87)) + 4096);
    const std::vector<qbtest::cSinkRecord> records = m_Sink->Records();
    ASSERT_EQ(records.size(), 2001u);
    EXPECT_EQ(records.back().bytes, NoteOn(1, 50, 60));
    EXPECT_NEAR(static_cast<double>(records.back().sample), map.Sample(2087), 1.0);
    EXPECT_NEAR(static_cast<double>(records[1999].sample), map.Sample(2000), 1.0);
    EXPECT_EQ(midi->State(), 0);
}

TEST_F(MidiPlayerTest, ALoopingSongStartsAgainExactlyAtItsEndAndTheEndMarkIsNeverSent)
{
    const std::string track = Ev(0, NoteOn(0, 60, 100)) + Ev(100, NoteOn(0, 60, 0)) + Ev(860, kEndOfTrack);
    const cTempoMap map{96, {}};
    const double period = map.Sample(960);  // five seconds
    auto midi = Make(MidiFile(0, 96, {track}));
    midi->Play(0, 1, 1);
    Advance(*midi, static_cast<std::int64_t>(2.5 * period));
    const std::vector<qbtest::cSinkRecord> records = m_Sink->Records();
    ASSERT_EQ(records.size(), 6u);
    for (int pass = 0; pass < 3; ++pass) {
        EXPECT_NEAR(static_cast<double>(records[2 * pass].sample), pass * period, 1.0) << pass;
        EXPECT_NEAR(static_cast<double>(records[2 * pass + 1].sample), pass * period + map.Sample(100), 1.0) << pass;
    }
    for (const auto& r : records) EXPECT_NE(static_cast<unsigned char>(r.bytes[0]), 0xFF);
    EXPECT_EQ(m_Sink->Resets(), 0);
    EXPECT_EQ(midi->State(), 1);
}

TEST_F(MidiPlayerTest, EachLoopStartsAtTheDefaultTempoWhenTheSongSetsItsTempoOnlyLater)
{
    // The tempo event halves the quarter note after the first note: a second pass that kept it
    // would place its first two notes twice as early.
    const std::string track = Ev(0, NoteOn(0, 60, 100)) + Ev(96, qbtest::Tempo(250000)) + Ev(0, NoteOn(0, 61, 100)) +
                              Ev(96, NoteOn(0, 62, 100)) + Ev(96, kEndOfTrack);
    const cTempoMap map{96, {{96, 250000}}};
    const double period = map.Sample(288);
    auto midi = Make(MidiFile(0, 96, {track}));
    midi->Play(0, 1, 1);
    Advance(*midi, static_cast<std::int64_t>(2.9 * period));
    const std::vector<qbtest::cSinkRecord> records = m_Sink->Records();
    ASSERT_EQ(records.size(), 9u);
    for (int pass = 0; pass < 3; ++pass) {
        EXPECT_NEAR(static_cast<double>(records[3 * pass].sample), pass * period, 1.0) << pass;
        EXPECT_NEAR(static_cast<double>(records[3 * pass + 1].sample), pass * period + map.Sample(96), 1.0) << pass;
        EXPECT_NEAR(static_cast<double>(records[3 * pass + 2].sample), pass * period + map.Sample(192), 1.0) << pass;
    }
}

// A song of no length has nothing to repeat: looped, it plays its instant once and goes on as
// silence (still playing), instead of striking its notes again on every block.
TEST_F(MidiPlayerTest, ALoopingSongOfNoLengthPlaysItsEventsOnceThenLoopsAsSilence)
{
    struct Case {
        const char* what;
        std::vector<std::string> tracks;
        std::vector<std::string> heard;
    } cases[] = {
        {"an empty track", {Ev(0, kEndOfTrack)}, {}},
        {"meta events only", {Ev(0, qbtest::Tempo(250000)) + Ev(0, qbtest::Meta(3, "name")) + Ev(0, kEndOfTrack)}, {}},
        {"every event at tick 0",
         {Ev(0, NoteOn(0, 60, 100)) + Ev(0, NoteOn(1, 64, 100)) + Ev(0, kEndOfTrack)},
         {NoteOn(0, 60, 100), NoteOn(1, 64, 100)}},
        {"two tracks at tick 0", {Ev(0, NoteOn(0, 60, 100)) + Ev(0, kEndOfTrack), Ev(0, kEndOfTrack)}, {NoteOn(0, 60, 100)}},
    };
    for (const auto& c : cases) {
        m_Sink->Clear();
        auto midi = Make(MidiFile(1, 96, c.tracks));
        midi->Play(0, 1, 1);
        Advance(*midi, 16 * plat::kAudioMaxFrames);
        std::vector<std::string> heard;
        for (const auto& r : m_Sink->Records()) heard.push_back(r.bytes);
        EXPECT_EQ(heard, c.heard) << c.what;
        EXPECT_EQ(midi->State(), 1) << c.what;

        // Stopped and played again, it plays its instant once more.
        midi->Stop(0);
        midi->Play(0, 1, 1);
        Advance(*midi, 16 * plat::kAudioMaxFrames);
        EXPECT_EQ(m_Sink->Records().size(), 2 * c.heard.size()) << c.what;
    }
}

TEST_F(MidiPlayerTest, PauseKeepsThePositionStopRewindsAndBothSilenceTheNotes)
{
    std::string track;
    for (int i = 0; i < 8; ++i) track += Ev(i == 0 ? 0 : 96, NoteOn(0, 60 + i, 100));  // every half second
    track += Ev(96, kEndOfTrack);
    const std::int64_t half = kRate / 2;
    auto midi = Make(MidiFile(0, 96, {track}));
    midi->Play(0, 1, 0);
    Advance(*midi, half + half / 2);
    ASSERT_EQ(m_Sink->Records().size(), 2u);

    midi->Stop(1);
    EXPECT_EQ(midi->State(), 2);
    EXPECT_EQ(m_Sink->Silences(), 16) << "all notes off on every channel";
    Advance(*midi, 5 * half);
    EXPECT_EQ(m_Sink->Records().size(), 2u) << "nothing plays while paused";
    midi->Stop(1);
    midi->Play(0, 1, 0);
    EXPECT_EQ(midi->State(), 1);
    Advance(*midi, half);
    auto records = m_Sink->Records();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[2].bytes, NoteOn(0, 62, 100)) << "the song goes on where it was";
    EXPECT_EQ(records[2].sample, 2 * half + 5 * half);

    midi->Stop(0);
    EXPECT_EQ(midi->State(), 0);
    Advance(*midi, 3 * half);
    EXPECT_EQ(m_Sink->Records().size(), 3u);
    midi->Play(0, 1, 0);
    Advance(*midi, 1024);
    records = m_Sink->Records();
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[3].bytes, NoteOn(0, 60, 100)) << "a stopped song starts from its first event";
}

TEST_F(MidiPlayerTest, ARealSongMatchesMidicsvThroughRefillsAndALoop)
{
    const std::string path = "/usr/share/games/openttd/baseset/openmsx/be_sharp_bw_redfarn.mid";
    int division = 0;
    const std::vector<qbtest::cMidiEvent> all = qbtest::MidicsvEvents(path, &division);
    ASSERT_FALSE(all.empty()) << "install openttd-openmsx and midicsv";
    cTempoMap map{division, {}};
    std::vector<qbtest::cMidiEvent> sent;  // what reaches the synthesiser: no meta events
    for (const auto& e : all) {
        if (static_cast<unsigned char>(e.bytes[0]) == 0xFF) {
            if (e.bytes[1] == 0x51) {
                const auto* t = reinterpret_cast<const unsigned char*>(e.bytes.data() + 3);
                map.changes.push_back({e.time, double((t[0] << 16) | (t[1] << 8) | t[2])});
            }
        } else {
            sent.push_back(e);
        }
    }
    ASSERT_GT(sent.size(), 3u * 2000u) << "more than three buffers";
    ASSERT_GT(map.changes.size(), 10u);
    // A song starts again on the whole sample where its end of track falls.
    const double period = std::floor(map.Sample(all.back().time));

    std::ifstream in(path, std::ios::binary);
    auto midi = Make(std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
    midi->Play(0, 1, 1);
    Advance(*midi, static_cast<std::int64_t>(period + map.Sample(all[sent.size() / 2].time)) + 1);
    const std::vector<qbtest::cSinkRecord> records = m_Sink->Records();
    ASSERT_GT(records.size(), sent.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        const bool second = i >= sent.size();
        const qbtest::cMidiEvent& e = sent[second ? i - sent.size() : i];
        ASSERT_EQ(records[i].bytes, e.bytes) << "record " << i;
        ASSERT_NEAR(static_cast<double>(records[i].sample), map.Sample(e.time) + (second ? period : 0.0), 1.0)
            << "record " << i << ", tick " << e.time;
    }
}

TEST_F(MidiPlayerTest, TheBgmManagerPlaysAMidiSlotAndAnOggSlotStopsIt)
{
    m_Folder.WriteFile("bgm/Song.mid", MidiFile(0, 96, {Ev(0, NoteOn(0, 60, 100)) + Ev(96, kEndOfTrack)}));
    std::ifstream in(qbtest::kOgg44Stereo, std::ios::binary);
    m_Folder.WriteFile("bgm/Title.ogg", std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
    char oggNames[kBgmSlots][MAX_PATH], midiNames[kBgmSlots][kMidiNameSize];
    std::memcpy(oggNames, g_BgmOggNames, sizeof oggNames);
    std::memcpy(midiNames, g_BgmMidiNames, sizeof midiNames);
    cBgm bgm;
    ASSERT_EQ(bgm.Init(1, oggNames, midiNames, kBgmSlots), 1);
    bgm.SetSlotFile(4, "bgm\\song.MID");
    ASSERT_EQ(bgm.Play(0, 4, 1, 0, 1), 1);
    EXPECT_EQ(bgm.m_ChannelKind[0], 2);
    cMidi* midi = bgm.m_MidiChannels.m_Players[0].get();
    ASSERT_NE(midi, nullptr);
    EXPECT_EQ(midi->State(), 1);
    Advance(*midi, 1024);
    ASSERT_EQ(m_Sink->Records().size(), 1u);
    EXPECT_EQ(m_Sink->Records()[0].bytes, NoteOn(0, 60, 100));

    bgm.SetSlotFile(0, "bgm\\Title.ogg");
    ASSERT_EQ(bgm.Play(0, 0, 1, 0, 1), 1);
    EXPECT_EQ(bgm.m_ChannelKind[0], 1);
    EXPECT_EQ(midi->State(), 0) << "stopped, not paused";
    bgm.UnInit();
    EXPECT_EQ(m_Sink->Resets(), 1) << "deleting the player resets the synthesiser";
}

}  // namespace
