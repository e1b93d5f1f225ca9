#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "shell/log.h"
#include "sound/midi_file.h"
#include "tests/sound/midi_builder.h"
#include "tests/sound/midi_image.h"
#include "tests/support/temp_folder.h"
#include "tools/lib/midi_fuzz.h"

namespace {

using qbtest::Ev;
using qbtest::kEndOfTrack;
using qbtest::MidiFile;
using qbtest::NoteOn;
using Events = std::vector<qbtest::cMidiEvent>;
using namespace std::string_literals;

bool Convert(const std::string& file, std::vector<BYTE>& image, std::string* error)
{
    return ConvertMidiFile(reinterpret_cast<const BYTE*>(file.data()), file.size(), image, error);
}

Events Merged(const std::string& file)
{
    std::vector<BYTE> image;
    std::string error;
    EXPECT_TRUE(Convert(file, image, &error)) << error;
    return qbtest::ImageEvents(image);
}

const std::string kEnd = std::string("\xFF\x2F\x00", 3);

TEST(MidiVarLen, WritesAndReadsEveryLengthAndRefusesWhatDoesNotFit)
{
    struct Case { DWORD value; int bytes; } cases[] = {
        {0, 1}, {0x7F, 1}, {0x80, 2}, {0x3FFF, 2}, {0x4000, 3}, {0x1FFFFF, 3}, {0x200000, 4}, {kMidiMaxVarLen, 4},
    };
    for (const Case& c : cases) {
        BYTE out[4] = {};
        ASSERT_EQ(WriteVarLen(out, c.value), c.bytes) << c.value;
        EXPECT_EQ(std::string(reinterpret_cast<char*>(out), c.bytes), qbtest::Vlq(c.value)) << c.value;
        DWORD back = 0;
        EXPECT_EQ(ReadVarLen(out, 4, &back), c.bytes) << c.value;
        EXPECT_EQ(back, c.value);
        EXPECT_EQ(ReadVarLen(out, c.bytes - 1, &back), 0) << c.value << ": a number cut by its bound";
    }
    BYTE out[4] = {0xAA, 0xAA, 0xAA, 0xAA};
    EXPECT_EQ(WriteVarLen(out, kMidiMaxVarLen + 1), 0);
    EXPECT_EQ(out[0], 0xAA) << "nothing written";
    const BYTE endless[] = {0x81, 0x82, 0x83, 0x84, 0x05};
    DWORD value = 0;
    EXPECT_EQ(ReadVarLen(endless, sizeof endless, &value), 0);
}

TEST(MidiFileReader, RefusesFilesThatBreakTheFormatWithAReason)
{
    const std::string track = Ev(0, NoteOn(0, 60, 100)) + Ev(10, kEnd);
    struct Case { const char* what; std::string file; const char* reason; } cases[] = {
        {"not MThd", "RIFF" + MidiFile(0, 96, {track}).substr(4), "標準MIDIでない(4)"},
        {"header length 7", qbtest::MidiHeader(0, 1, 96, 7) + std::string(1, '\0') + qbtest::MidiChunk("MTrk", track),
         "標準MIDIでない(6)"},
        {"format 2", qbtest::MidiHeader(2, 1, 96) + qbtest::MidiChunk("MTrk", track), "対応フォーマットが2でない"},
        {"format 3", qbtest::MidiHeader(3, 1, 96) + qbtest::MidiChunk("MTrk", track), "対応フォーマットが0または1でない"},
        {"no tracks", qbtest::MidiHeader(1, 0, 96), "the file has no tracks"},
        {"division 0", MidiFile(0, 0, {track}), "the time division is 0"},
        {"SMPTE at 23 frames", MidiFile(0, 0xE904, {track}), "the SMPTE frame rate is not 24, 25, 29 or 30"},
        {"SMPTE without ticks", MidiFile(0, 0xE700, {track}), "the SMPTE division has no ticks per frame"},
        {"a delta cut by its track", MidiFile(0, 96, {Ev(0, NoteOn(0, 60, 1)) + "\x81\x80"}),
         "a delta time runs past its track"},
        {"a note cut by its track", MidiFile(0, 96, {Ev(0, NoteOn(0, 60, 1).substr(0, 2))}),
         "an event runs past its track"},
        {"a meta longer than its track", MidiFile(0, 96, {Ev(0, "\xFF\x01\x10" "abc")}), "an event runs past its track"},
        {"a sysex length cut by its track", MidiFile(0, 96, {Ev(0, "\xF0\x85")}), "an event runs past its track"},
        {"a data byte first", MidiFile(0, 96, {Ev(0, "\x3C\x40") + Ev(0, kEnd)}), "a data byte without a status"},
        {"a data byte after a meta only", MidiFile(0, 96, {Ev(0, qbtest::Meta(1, "x")) + Ev(0, "\x3C\x40")}),
         "a data byte without a status"},
        {"fewer tracks than the header says", qbtest::MidiHeader(1, 2, 96) + qbtest::MidiChunk("MTrk", track),
         "a track is missing"},
        {"a track longer than the file", MidiFile(0, 96, {track}).substr(0, 22 + track.size() - 1),
         "a track runs past the end of the file"},
    };
    for (const Case& c : cases) {
        std::vector<BYTE> image(1, 0);
        std::string error;
        EXPECT_FALSE(Convert(c.file, image, &error)) << c.what;
        EXPECT_EQ(error, c.reason) << c.what;
        EXPECT_TRUE(image.empty()) << c.what;
    }
}

TEST(MidiFileReader, RebuildsOneTrackWithAStatusOnEveryEvent)
{
    // Running status: 3C 00 after a note-on is a second note-on; a meta event between does
    // not end the channel's running status.
    const std::string track = Ev(0, NoteOn(1, 60, 64)) + Ev(0, "\x3C\x00"s) + Ev(5, qbtest::Meta(6, "mark")) +
                              Ev(7, "\x3E\x50") + Ev(3, "\xC2\x05") + Ev(1, "\x07") + Ev(2, qbtest::Sysex("\x41\x10\xF7")) +
                              Ev(4, qbtest::Tempo(400000)) + Ev(200, kEnd);
    const Events expected = {
        {0, NoteOn(1, 60, 64)},
        {0, NoteOn(1, 60, 0)},
        {5, qbtest::Meta(6, "mark")},
        {12, NoteOn(1, 62, 80)},
        {15, "\xC2\x05"},
        {16, "\xC2\x07"},
        {18, qbtest::Sysex("\x41\x10\xF7")},
        {22, qbtest::Tempo(400000)},
        {222, kEnd},
    };
    EXPECT_EQ(Merged(MidiFile(0, 480, {track})), expected);
    std::vector<BYTE> image;
    ASSERT_TRUE(Convert(MidiFile(0, 480, {track}), image, nullptr));
    EXPECT_EQ(image[12], 0x01);
    EXPECT_EQ(image[13], 0xE0) << "the time division is copied";
}

TEST(MidiFileReader, MergesTracksByTimeTakingTheLowerTrackFirstAndEndsAtTheLatestEnd)
{
    const Events merged = Merged(MidiFile(1, 96,
                                          {Ev(10, NoteOn(0, 60, 1)) + Ev(0, kEnd),
                                           Ev(10, NoteOn(1, 61, 1)) + Ev(20, NoteOn(1, 62, 1)) + Ev(500, kEnd),
                                           Ev(5, NoteOn(2, 63, 1)) + Ev(5, NoteOn(2, 64, 1)) + Ev(1, kEnd)}));
    const Events expected = {
        {5, NoteOn(2, 63, 1)},  {10, NoteOn(0, 60, 1)}, {10, NoteOn(1, 61, 1)},
        {10, NoteOn(2, 64, 1)}, {30, NoteOn(1, 62, 1)}, {530, kEnd},
    };
    EXPECT_EQ(merged, expected) << "the last track ends at 11, the song at 530";
}

TEST(MidiFileReader, ReadsEachTrackInsideItsChunkAndSkipsOtherChunks)
{
    const std::string first = Ev(0, NoteOn(0, 60, 1)) + Ev(4, kEnd) + "junk after the end";
    const std::string second = Ev(2, NoteOn(0, 61, 1)) + Ev(9, NoteOn(0, 62, 1));  // no end of track
    const std::string file = qbtest::MidiHeader(1, 2, 96) + qbtest::MidiChunk("XFIH", std::string("\x90\x3C", 2)) +
                             qbtest::MidiChunk("MTrk", first) + qbtest::MidiChunk("MTrx", "ignored") +
                             qbtest::MidiChunk("MTrk", second) + "trailing bytes";
    const Events expected = {{0, NoteOn(0, 60, 1)}, {2, NoteOn(0, 61, 1)}, {11, NoteOn(0, 62, 1)}, {11, kEnd}};
    EXPECT_EQ(Merged(file), expected);
}

TEST(MidiFileReader, SurvivesEveryPrefixCountsAndLengthsAndRandomChanges)
{
    const std::string tracks[] = {
        Ev(0, qbtest::Tempo(500000)) + Ev(0, qbtest::Meta(3, "name")) + Ev(0, NoteOn(0, 60, 90)) + Ev(96, "\x3C\x00"s) +
            Ev(0, qbtest::Sysex("\x7E\x7F\x09\x01\xF7")) + Ev(48, "\xE0\x00\x40"s) + Ev(0, kEnd),
        Ev(24, "\xC9\x10") + Ev(0, NoteOn(9, 36, 100)) + Ev(0x3FFF, NoteOn(9, 36, 0)) + Ev(0, kEnd),
    };
    const std::string file = MidiFile(1, 96, {tracks[0], tracks[1]});
    auto fuzz = [](const std::string& bytes) {
        return FuzzMidi(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    };
    for (std::size_t n = 0; n <= file.size(); ++n) EXPECT_EQ(fuzz(file.substr(0, n)), 0) << n;
    // Track counts, chunk lengths and event lengths set to 0, -1 and huge values.
    const std::size_t firstTrack = 14, lengthOfSysex = file.find("\xF0\x05") + 1;
    struct Field { std::size_t at; int bytes; } fields[] = {{10, 2}, {12, 2}, {firstTrack + 4, 4}, {lengthOfSysex, 1}};
    for (const Field& f : fields) {
        for (std::uint32_t value : {0u, 0xFFFFFFFFu, 0x7FFFFFFFu, 0x80000000u, 0x7Fu}) {
            std::string damaged = file;
            damaged.replace(f.at, f.bytes, qbtest::BigEndian(value, f.bytes));
            EXPECT_EQ(fuzz(damaged), 0) << f.at << " " << value;
        }
    }
    std::mt19937 random(20261210);
    for (int round = 0; round < 3000; ++round) {
        std::string damaged = file;
        for (int flips = 1 + static_cast<int>(random() % 4); flips > 0; --flips)
            damaged[random() % damaged.size()] = static_cast<char>(random());
        EXPECT_EQ(fuzz(damaged), 0) << round;
    }
}

TEST(MidiFileReader, LoadLogsAMissingOrRefusedFileAndKeepsNoImage)
{
    qbtest::cTempFolder folder;
    folder.ChangeInto();
    ASSERT_TRUE(OpenReportFile("Report_Game.txt"));
    folder.WriteFile("bgm/Song.mid", MidiFile(1, 96, {Ev(0, NoteOn(0, 60, 1)) + Ev(1, kEnd)}));
    folder.WriteFile("bgm/Bad.mid", qbtest::MidiHeader(0, 1, 96, 7));
    struct Case { const char* name; bool image; const char* line; } cases[] = {
        {"bgm\\song.MID", true, nullptr},  // found whatever the case
        {"bgm\\Missing.mid", false, "Midi bgm\\Missing.mid Create ファイルが開けません"},
        {"bgm\\Bad.mid", false, "Midi bgm\\Bad.mid Init 標準MIDIでない(6)"},
    };
    for (const Case& c : cases) {
        cMidiFile file(c.name);
        EXPECT_EQ(file.HasImage(), c.image) << c.name;
        if (c.line) {
            EXPECT_NE(folder.ReadFile("Report_Game.txt").find(c.line), std::string::npos) << c.name;
        }
    }
}

}  // namespace
