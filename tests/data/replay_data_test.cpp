// The replay record: run-length recording, playback that ends at the shorter list, the copy,
// and the record's body in the file.
#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "data/replay_data.h"
#include "tests/data/record_test_support.h"
#include "tests/data/replay_file_builder.h"

namespace {

using FRAMES = std::vector<std::pair<std::uint16_t, std::uint16_t>>;

// Every frame playback gives until it reports the end (bounded, so a replay that never ends
// fails the test instead of hanging it).
FRAMES PlayAll(cReplayData& replay)
{
    FRAMES frames;
    std::uint16_t d = 0xAAAA, b = 0xBBBB;
    while (frames.size() < 10000 && replay.Playback(d, b) == 0) frames.emplace_back(d, b);
    // Once ended, it stays ended and gives nothing.
    std::uint16_t d2 = 0x1234, b2 = 0x5678;
    EXPECT_EQ(replay.Playback(d2, b2), 1);
    EXPECT_EQ(d2, 0x1234);
    EXPECT_EQ(b2, 0x5678);
    return frames;
}

}  // namespace

TEST(ReplayData, RecordingCodesEachStreamAsRunsOfItsOwn)
{
    cReplayData replay;
    for (int i = 0; i < 1000; ++i) replay.Record(6, 1);
    EXPECT_EQ(replay.m_DirectionValues, (cSafeVector<std::uint16_t>{6}));
    EXPECT_EQ(replay.m_DirectionRuns, (cSafeVector<std::uint32_t>{1000}));
    EXPECT_EQ(replay.m_ButtonValues, (cSafeVector<std::uint16_t>{1}));
    EXPECT_EQ(replay.m_ButtonRuns, (cSafeVector<std::uint32_t>{1000}));

    // A direction that alternates every frame makes an entry a frame in its stream only.
    replay.Clear();
    for (int i = 0; i < 5; ++i) replay.Record(i % 2 ? 4 : 6, 0);
    EXPECT_EQ(replay.m_DirectionValues, (cSafeVector<std::uint16_t>{6, 4, 6, 4, 6}));
    EXPECT_EQ(replay.m_DirectionRuns, (cSafeVector<std::uint32_t>{1, 1, 1, 1, 1}));
    EXPECT_EQ(replay.m_ButtonRuns, (cSafeVector<std::uint32_t>{5}));
}

TEST(ReplayData, PlaybackGivesWhatWasRecordedFrameForFrame)
{
    cReplayData replay;
    FRAMES recorded;
    for (int i = 0; i < 300; ++i) {
        const auto d = static_cast<std::uint16_t>((i / 7) % 3 == 0 ? 0 : 0x8000 | (i / 7));
        const auto b = static_cast<std::uint16_t>((i / 11) % 2 ? 0xFFFF : 2);
        replay.Record(d, b);
        recorded.emplace_back(d, b);
    }
    EXPECT_EQ(PlayAll(replay), recorded);
    replay.Rewind();
    EXPECT_EQ(PlayAll(replay), recorded);
}

TEST(ReplayData, PlaybackEndsAtTheShorterListAndPlaysNoFrameForARunOfZero)
{
    struct Case {
        const char* what;
        cSafeVector<std::uint16_t> directions, buttons;
        cSafeVector<std::uint32_t> directionRuns, buttonRuns;
        FRAMES frames;
    } cases[] = {
        {"button stream shorter", {1}, {2, 3}, {5}, {1, 1}, {{1, 2}, {1, 3}}},
        {"more values than runs", {1, 7, 9}, {2}, {1, 1}, {9}, {{1, 2}, {7, 2}}},
        {"more runs than values", {1}, {2}, {1, 4, 4}, {9}, {{1, 2}}},
        {"a run of zero", {1, 5, 7}, {2}, {1, 0, 2}, {9}, {{1, 2}, {7, 2}, {7, 2}}},
        {"only runs of zero", {1, 5}, {2}, {0, 0}, {3}, {}},
        {"empty", {}, {}, {}, {}, {}},
    };
    for (const Case& c : cases) {
        cReplayData replay;
        replay.m_DirectionValues = c.directions;
        replay.m_ButtonValues = c.buttons;
        replay.m_DirectionRuns = c.directionRuns;
        replay.m_ButtonRuns = c.buttonRuns;
        EXPECT_EQ(PlayAll(replay), c.frames) << c.what;
    }
}

TEST(ReplayData, RunsLongerThanAnIntAreCountedWithoutOverflow)
{
    cReplayData replay;
    replay.m_DirectionValues = {3, 4};
    replay.m_DirectionRuns = {0x80000001u, 1};
    replay.m_ButtonValues = {0};
    replay.m_ButtonRuns = {0xFFFFFFFFu};
    replay.m_nPlayPosition[2] = 0x7FFFFFFF;   // frames used of the long direction run
    replay.m_nPlayPosition[3] = 0x7FFFFFFF;
    std::uint16_t d = 0, b = 0;
    ASSERT_EQ(replay.Playback(d, b), 0);
    EXPECT_EQ(d, 3);   // frame 0x80000000 of 0x80000001
    ASSERT_EQ(replay.Playback(d, b), 0);
    EXPECT_EQ(d, 3);   // the last frame of the run
    ASSERT_EQ(replay.Playback(d, b), 0);
    EXPECT_EQ(d, 4);
    EXPECT_EQ(replay.m_nPlayPosition[1], 0);   // the button run goes on
}

TEST(ReplayData, CopyingTakesStreamsAndSeedButNotThePlaybackPosition)
{
    cReplayData source;
    source.Record(1, 2);
    source.Record(3, 2);
    source.m_nSeed = -77;
    for (int& position : source.m_nPlayPosition) position = 9;
    cReplayData copy;
    copy.m_nPlayPosition[0] = 1;
    copy = source;
    EXPECT_EQ(copy.m_DirectionValues, source.m_DirectionValues);
    EXPECT_EQ(copy.m_ButtonRuns, source.m_ButtonRuns);
    EXPECT_EQ(copy.m_nSeed, -77);
    EXPECT_EQ(copy.m_nPlayPosition[0], 1);
    EXPECT_EQ(copy.m_nPlayPosition[1], 0);
}

TEST(ReplayData, TheBodyIsTheSeedThenEachCountedStream)
{
    qbtest::cDataSettingsScope settings;
    qbtest::REPLAYSTREAMS streams{-5, {6, 4}, {1}, {10, 2}, {12}};
    const std::string body = qbtest::ReplayBody(streams);
    cReplayData replay;
    replay.m_nSeed = -5;
    for (int i = 0; i < 10; ++i) replay.Record(6, 1);
    for (int i = 0; i < 2; ++i) replay.Record(4, 1);
    EXPECT_EQ(qbtest::WriteImage(replay), std::string("\xB4\x02\0\0", 4) + body);

    cReplayData read;
    ASSERT_EQ(qbtest::ReadImage(read, std::string("\xB4\x02\0\0", 4) + body), 1);
    EXPECT_EQ(read.m_DirectionValues, replay.m_DirectionValues);
    EXPECT_EQ(read.m_DirectionRuns, replay.m_DirectionRuns);
    EXPECT_EQ(read.m_ButtonValues, replay.m_ButtonValues);
    EXPECT_EQ(read.m_ButtonRuns, replay.m_ButtonRuns);
    EXPECT_EQ(read.m_nSeed, -5);
}
