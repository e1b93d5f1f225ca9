// Replay files: the four records taken all or none, old files without a progress record, the
// durable save, and damaged files refused without harm.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "data/replay_file.h"
#include "platform/os/file_ops.h"
#include "tests/data/allocation_probe.h"
#include "tests/data/record_test_support.h"
#include "tests/data/replay_file_builder.h"
#include "tests/support/temp_folder.h"
#include "tools/lib/data_fuzz.h"

namespace {

qbtest::REPLAYSTREAMS SomeStreams()
{
    return {4321, {6, 5, 4}, {0, 1}, {90, 3, 7}, {40, 60}};
}

qbtest::SaveFields SomeProgress(int lives)
{
    qbtest::SaveFields save;
    save["nLives"] = lives;
    save["nStartLives"] = 5;
    save["nScore"] = 1200;
    save.stageKey = "data\\stg4\\ステージ.stg4_692";
    return save;
}

class ReplayFile : public testing::Test {
protected:
    ReplayFile() { m_Folder.ChangeInto(); }

    std::string Image(int version = 692) const
    {
        return qbtest::ReplayImage(version, qbtest::DistinctStage(), SomeStreams(), SomeProgress(3));
    }

    qbtest::cDataSettingsScope m_Settings{1, 2000};
    qbtest::cTempFolder m_Folder;
    cReplayData m_Replay;
    cStageData m_Stage, m_Settings2;
    cSaveData m_Progress;
};

}  // namespace

TEST_F(ReplayFile, SaveLoadSaveGivesTheSameBytesAndTheStoredStreamsSeedAndProgress)
{
    m_Folder.WriteFile("in.rpl4_692", Image());
    ASSERT_EQ(LoadReplayFile("in.rpl4_692", m_Replay, m_Stage, m_Settings2, m_Progress), 1);
    EXPECT_EQ(m_Replay.m_nSeed, 4321);
    EXPECT_EQ(m_Replay.m_DirectionRuns, (cSafeVector<std::uint32_t>{90, 3, 7}));
    EXPECT_EQ(m_Progress.m_nLives, 3);
    EXPECT_EQ(m_Progress.m_nScore, 1200);
    EXPECT_EQ(m_Stage.m_strPath, "in.rpl4_692");
    EXPECT_EQ(m_Stage.m_nWidth, 300);
    EXPECT_EQ(m_Settings2.m_nWidth, 300);
    EXPECT_TRUE(m_Settings2.m_Charas.empty());   // the copy keeps settings only

    ASSERT_EQ(SaveReplayFile("out.rpl4_692", m_Stage, m_Settings2, m_Replay, m_Progress), 1);
    const std::string first = m_Folder.ReadFile("out.rpl4_692");
    // The stage and the streams are written as they were read (the progress record is
    // normalised against the loaded game).
    const std::string stageBytes = qbtest::StageImage(692, qbtest::DistinctStage()).bytes;
    EXPECT_TRUE(first.compare(0, stageBytes.size(), stageBytes) == 0);
    EXPECT_TRUE(first.compare(stageBytes.size(), qbtest::ReplayBody(SomeStreams()).size(), qbtest::ReplayBody(SomeStreams())) == 0);
    cReplayData replay;
    cStageData stage, settings;
    cSaveData progress;
    ASSERT_EQ(LoadReplayFile("out.rpl4_692", replay, stage, settings, progress), 1);
    ASSERT_EQ(SaveReplayFile("again.rpl4_692", stage, settings, replay, progress), 1);
    EXPECT_TRUE(m_Folder.ReadFile("again.rpl4_692") == first);
}

TEST_F(ReplayFile, AFileOfVersion172OrOlderLeavesTheProgressAsItWas)
{
    for (int version : {172, 150}) {
        m_Folder.WriteFile("old.rpl4_172", Image(version));
        cSaveData progress;
        progress.m_nLives = 42;
        ASSERT_EQ(LoadReplayFile("old.rpl4_172", m_Replay, m_Stage, m_Settings2, progress), 1) << version;
        EXPECT_EQ(progress.m_nLives, 42) << version;
        EXPECT_EQ(m_Replay.m_nSeed, 4321) << version;
    }
}

TEST_F(ReplayFile, AFileThatCannotBeLoadedLeavesAllFourRecordsAsTheyWere)
{
    qbtest::STAGEFILE noHero = qbtest::DistinctStage();
    noHero.placed[qbtest::KIND_CHARA].clear();
    const std::string image = Image();
    struct Case { const char* what; std::string bytes; } cases[] = {
        {"cut in the replay streams", image.substr(0, qbtest::StageImage(692, qbtest::DistinctStage()).bytes.size() + 20)},
        {"cut in the progress record", image.substr(0, image.size() - 9)},
        {"no hero", qbtest::ReplayImage(692, noHero, SomeStreams(), SomeProgress(3))},
        {"missing", ""},
    };
    for (const Case& c : cases) {
        if (*c.what == 'm') std::remove("bad.rpl4_692");
        else m_Folder.WriteFile("bad.rpl4_692", c.bytes);
        m_Replay.Clear();
        m_Replay.Record(1, 1);
        m_Stage.m_nWidth = 77;
        m_Settings2.m_nWidth = 78;
        m_Progress.m_nLives = 79;
        EXPECT_EQ(LoadReplayFile("bad.rpl4_692", m_Replay, m_Stage, m_Settings2, m_Progress), 0) << c.what;
        EXPECT_EQ(m_Replay.m_DirectionRuns, (cSafeVector<std::uint32_t>{1})) << c.what;
        EXPECT_EQ(m_Stage.m_nWidth, 77) << c.what;
        EXPECT_EQ(m_Settings2.m_nWidth, 78) << c.what;
        EXPECT_EQ(m_Progress.m_nLives, 79) << c.what;
    }
}

TEST_F(ReplayFile, ASaveThatFailsAfterAnyNumberOfBytesKeepsTheOldFile)
{
    m_Folder.WriteFile("in.rpl4_692", Image());
    ASSERT_EQ(LoadReplayFile("in.rpl4_692", m_Replay, m_Stage, m_Settings2, m_Progress), 1);
    const std::string old = "an older replay";
    const std::size_t size = Image().size();
    // Every failure point in the first bytes, then a spread over the rest.
    for (std::size_t n = 0; n < size; n += (n < 64 ? 1 : 997)) {
        m_Folder.WriteFile("r.rpl4_692", old);
        plat::FailCommitsAfter(static_cast<std::int64_t>(n));
        const int saved = SaveReplayFile("r.rpl4_692", m_Stage, m_Settings2, m_Replay, m_Progress);
        plat::FailCommitsAfter(-1);
        EXPECT_EQ(saved, 0) << n;
        EXPECT_EQ(m_Folder.ReadFile("r.rpl4_692"), old) << n;
        EXPECT_FALSE(m_Folder.Exists("r.rpl4_692.tmp")) << n;
    }
}

TEST_F(ReplayFile, SavingMidAttemptLeavesTheLiveStageUnnormalised)
{
    m_Folder.WriteFile("in.rpl4_692", Image());
    ASSERT_EQ(LoadReplayFile("in.rpl4_692", m_Replay, m_Stage, m_Settings2, m_Progress), 1);
    // A scroll limit outside the stage, as play may leave it: the file gets it in range, the
    // stage in play keeps it.
    m_Stage.m_nScrollRight = 100000;
    m_Stage.m_nSpeedLevel = 0;
    const int subSteps = m_Stage.m_nSubSteps;
    ASSERT_EQ(SaveReplayFile("out.rpl4_692", m_Stage, m_Stage, m_Replay, m_Progress), 1);
    EXPECT_EQ(m_Stage.m_nScrollRight, 100000);
    EXPECT_EQ(m_Stage.m_nSpeedLevel, 0);
    EXPECT_EQ(m_Stage.m_nSubSteps, subSteps);
}

// Every prefix, every word set to 0, -1 and huge values, and random byte flips from a fixed
// seed: a read either fails with its cause and the records as they were, or writes an image
// that reads back the same. Within the read's memory budget, and quick enough for the
// sanitizer build.
TEST_F(ReplayFile, DamagedImagesAreRefusedOrReadWhole)
{
    const std::string valid = Image();
    int readWhole = 0;
    auto check = [&](const std::string& image, const std::string& what) {
        REPLAYFILE file;
        file.replay.m_nSeed = 99;
        bool read = false;
        {
            qbtest::cAllocationProbe probe;
            cDataReader reader(image);
            read = ReadReplayFile(reader, file);
            EXPECT_EQ(read, !reader.Failed()) << what;
            if (!read) {
                EXPECT_FALSE(reader.Error().empty()) << what;
                EXPECT_EQ(file.replay.m_nSeed, 99) << what;
            }
            EXPECT_LE(probe.Total(), qbtest::ReadMemoryLimit(image.size())) << what;
        }
        if (read) ++readWhole;
        FuzzDataFileOfKind("replay", reinterpret_cast<const std::uint8_t*>(image.data()), image.size());
    };
    for (std::size_t n = 0; n < valid.size(); n += (n < 600 ? 1 : 7)) check(valid.substr(0, n), "prefix " + std::to_string(n));
    for (std::size_t at = 4; at + 4 <= valid.size(); at += 4) {
        for (std::uint32_t word : {0u, 0xFFFFFFFFu, 0x7FFFFFFFu, 0x40000000u}) {
            std::string damaged = valid;
            for (int i = 0; i < 4; ++i) damaged[at + i] = static_cast<char>((word >> (8 * i)) & 0xFF);
            check(damaged, "word at " + std::to_string(at));
        }
    }
    std::mt19937 random(41);
    for (int round = 0; round < 300; ++round) {
        std::string damaged = valid;
        for (int flips = 0; flips < 4; ++flips)
            damaged[random() % damaged.size()] ^= static_cast<char>(1 + random() % 255);
        check(damaged, "flips " + std::to_string(round));
    }
    check(valid, "valid");
    EXPECT_GT(readWhole, 0);
}
