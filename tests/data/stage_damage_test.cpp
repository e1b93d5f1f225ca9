// Damaged stage files: every prefix, every word replaced by 0, -1 and huge numbers, and random
// byte flips from a fixed seed. Nothing may crash or hang, and all that a read allocates stays
// within eight times the file beyond a fixed base; a read that fails says why and leaves the
// record as it was, and one that succeeds writes an image that reads back the same. Quick enough
// for the sanitizer build.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "data/stage_data.h"
#include "tests/data/allocation_probe.h"
#include "tests/data/record_test_support.h"
#include "tests/data/stage_file_builder.h"
#include "tools/lib/stage_fuzz.h"

namespace {

class StageDamage : public testing::Test {
protected:
    // One fixture at the current version, one old enough to lack most later fields.
    StageDamage()
    {
        m_Files[0] = qbtest::StageImage(692, qbtest::DistinctStage()).bytes;
        m_Files[1] = qbtest::StageImage(150, qbtest::DistinctStage()).bytes;
    }

    void ExpectRefusedOrValid(const std::string& image, const std::string& what)
    {
        cStageData stage;
        stage.m_strText = "unchanged";
        int read = 0;
        {
            qbtest::cAllocationProbe probe;
            cDataReader reader(image);
            read = stage.LoadFrom(reader);
            EXPECT_EQ(read == 1, !reader.Failed()) << what;
            if (!read) {
                EXPECT_FALSE(reader.Error().empty()) << what;
                EXPECT_EQ(stage.m_strText, "unchanged") << what;
            }
            EXPECT_LE(probe.Total(), qbtest::ReadMemoryLimit(image.size())) << what;
        }
        if (read) {
            ++m_nValid;
            const std::string first = qbtest::WriteImage(stage);
            cStageData again;
            ASSERT_EQ(qbtest::ReadImage(again, first), 1) << what;
            EXPECT_EQ(qbtest::WriteImage(again), first) << what;
        }
        FuzzStage(reinterpret_cast<const std::uint8_t*>(image.data()), image.size());
    }

    qbtest::cDataSettingsScope m_Settings{1, 2000};
    std::string m_Files[2];
    int m_nValid = 0;
};

}  // namespace

TEST_F(StageDamage, EveryPrefixOfAValidFileIsRefused)
{
    for (const std::string& file : m_Files) {
        for (std::size_t length = 0; length < file.size(); ++length) {
            ExpectRefusedOrValid(file.substr(0, length), "prefix " + std::to_string(length));
        }
    }
    EXPECT_EQ(m_nValid, 0);
}

TEST_F(StageDamage, AnyWordSetToZeroMinusOneOrHugeIsRefusedOrReadWhole)
{
    // Every offset of the current file; every third of the old one, whose layout is mostly the same.
    for (int f = 0; f < 2; ++f) {
        const std::string& file = m_Files[f];
        for (std::size_t offset = 4; offset + 4 <= file.size(); offset += f == 0 ? 1 : 3) {
            for (std::uint32_t value : {0u, 0xFFFFFFFFu, 0x7FFFFFFFu, 0x80000000u}) {
                std::string damaged = file;
                for (int i = 0; i < 4; ++i) damaged[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
                ExpectRefusedOrValid(damaged, "offset " + std::to_string(offset) + " value " + std::to_string(value));
            }
        }
    }
    EXPECT_GT(m_nValid, 100);
}

TEST_F(StageDamage, RandomByteFlipsNeverCrashOrHalfRead)
{
    std::mt19937 random(20261210);
    for (const std::string& file : m_Files) {
        for (int round = 0; round < 600; ++round) {
            std::string damaged = file;
            const int flips = 1 + static_cast<int>(random() % 4);
            for (int i = 0; i < flips; ++i) damaged[random() % damaged.size()] ^= static_cast<char>(1 + random() % 255);
            ExpectRefusedOrValid(damaged, "round " + std::to_string(round));
        }
    }
}
