// Every MIDI song of two Debian packages read by our reader and by midicsv, merged into one
// track: the events must be the same, in the same order, at the same times.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "sound/midi_file.h"
#include "tests/sound/midicsv.h"

namespace {

TEST(MidiPackagedSongs, EveryEventEqualsWhatMidicsvReads)
{
    const std::vector<std::string> files = qbtest::PackagedMidiFiles();
    EXPECT_GE(files.size(), 40u) << "install openttd-openmsx and planetblupi-music-midi";
    std::size_t total = 0;
    for (const std::string& path : files) {
        std::ifstream in(path, std::ios::binary);
        const std::vector<BYTE> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::vector<BYTE> image;
        std::string error;
        ASSERT_TRUE(ConvertMidiFile(bytes.data(), bytes.size(), image, &error)) << path << ": " << error;
        int division = 0;
        const std::vector<qbtest::cMidiEvent> expected = qbtest::MidicsvEvents(path, &division);
        const std::vector<qbtest::cMidiEvent> ours = qbtest::ImageEvents(image);
        EXPECT_EQ((image[12] << 8) | image[13], division) << path;
        EXPECT_EQ(ours.size(), expected.size()) << path;
        const auto mismatch = std::mismatch(ours.begin(), ours.end(), expected.begin(), expected.end());
        if (mismatch.first != ours.end() || mismatch.second != expected.end()) {
            ADD_FAILURE() << path << ": event " << (mismatch.first - ours.begin()) << " differs: ours "
                          << (mismatch.first != ours.end() ? ::testing::PrintToString(*mismatch.first) : "none")
                          << ", midicsv "
                          << (mismatch.second != expected.end() ? ::testing::PrintToString(*mismatch.second) : "none");
        }
        total += ours.size();
    }
    EXPECT_GT(total, 500000u) << "all the songs' events compared";
}

}  // namespace
