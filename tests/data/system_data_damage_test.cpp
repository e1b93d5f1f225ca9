// Damaged System.dat files: every prefix, counts and lengths replaced by 0, -1 and huge numbers,
// and random byte flips. Nothing may crash or hang, and all that a read allocates stays within
// eight times the file beyond a fixed base; a failed load reports failure and leaves the record as
// it was. Quick enough for the sanitizer build.
#include <gtest/gtest.h>

#include <random>

#include "tools/lib/data_fuzz.h"
#include "data/system_data.h"
#include "tests/data/allocation_probe.h"
#include "tests/data/record_test_support.h"
#include "tests/data/system_file_builder.h"
#include "tests/support/temp_folder.h"

using qbtest::BuildSystemFile;
using qbtest::ReadImage;
using qbtest::WriteImage;

namespace {

class SystemDataDamage : public testing::Test {
protected:
    SystemDataDamage() : m_Settings(1, 100)
    {
        m_strGood = BuildSystemFile(qbtest::DistinctSystemValues(), 692).bytes;
        EXPECT_EQ(ReadImage(m_Data, m_strGood), 1);
    }

    // Reads a damaged image into the loaded record; true when it was refused and the record
    // kept its values. A read that succeeds is a file that happens to be valid.
    void ExpectRefusedOrValid(const std::string& image, const std::string& what)
    {
        int loaded = 0;
        {
            qbtest::cAllocationProbe probe;
            loaded = ReadImage(m_Data, image);
            EXPECT_LE(probe.Total(), qbtest::ReadMemoryLimit(image.size())) << what;
        }
        if (loaded) {
            ++m_nValid;
            ASSERT_EQ(ReadImage(m_Data, m_strGood), 1);
        } else {
            EXPECT_EQ(WriteImage(m_Data), m_strGood) << what;
        }
        const std::string fuzzInput = std::string(1, '\0') + image;
        FuzzDataFile(reinterpret_cast<const std::uint8_t*>(fuzzInput.data()), fuzzInput.size());
    }

    qbtest::cDataSettingsScope m_Settings;
    std::string m_strGood;
    cSystemData m_Data;
    int m_nValid = 0;
};

}  // namespace

TEST_F(SystemDataDamage, EveryPrefixOfAValidFileFailsToLoad)
{
    qbtest::cTempFolder folder;
    folder.ChangeInto();
    for (const std::string& file : {m_strGood, BuildSystemFile(qbtest::DistinctSystemValues(), 236).bytes}) {
        for (std::size_t length = 0; length < file.size(); ++length) {
            ExpectRefusedOrValid(file.substr(0, length), "prefix " + std::to_string(length));
            // The same through the file, for a spread of lengths.
            if (length % 61 != 0 && length + 3 < file.size()) continue;
            folder.WriteFile("System.dat", file.substr(0, length));
            EXPECT_EQ(m_Data.Load("System.dat"), 0) << length;
            ASSERT_EQ(WriteImage(m_Data), m_strGood) << length;
        }
    }
    EXPECT_EQ(m_nValid, 0);
}

TEST_F(SystemDataDamage, CountsAndLengthsOfZeroMinusOneAndHugeAreRefused)
{
    const qbtest::SystemFileImage image = BuildSystemFile(qbtest::DistinctSystemValues(), 692);
    ASSERT_GT(image.countOffsets.size(), 100u);
    for (std::size_t offset : image.countOffsets) {
        for (std::uint32_t value : {0u, 0xFFFFFFFFu, 0x7FFFFFFFu, 0x80000000u}) {
            qbtest::cByteBuilder damaged;
            damaged.Bytes(image.bytes);
            if (damaged.Str().compare(offset, 4, qbtest::cByteBuilder().U32(value).Str()) == 0) continue;
            damaged.PatchU32(offset, value);
            const int validBefore = m_nValid;
            ExpectRefusedOrValid(damaged.Str(), "offset " + std::to_string(offset) + " value " + std::to_string(value));
            if (value != 0) {
                EXPECT_EQ(m_nValid, validBefore) << "offset " << offset << " value " << value;
            }
        }
    }
    // Only a count cut to 0 can leave a file that reads: what it counted is then bytes after
    // the last value, which are not read. Anything else is a count or length taken apart.
    EXPECT_LE(m_nValid, 2);
}

TEST_F(SystemDataDamage, RandomByteFlipsNeverCrashOrHalfLoad)
{
    std::mt19937 random(20240611);
    for (const std::string& file : {m_strGood, BuildSystemFile(qbtest::DistinctSystemValues(), 180).bytes}) {
        for (int round = 0; round < 1500; ++round) {
            std::string damaged = file;
            const int flips = 1 + static_cast<int>(random() % 4);
            for (int i = 0; i < flips; ++i) {
                damaged[random() % damaged.size()] ^= static_cast<char>(1 + random() % 255);
            }
            ExpectRefusedOrValid(damaged, "round " + std::to_string(round));
        }
    }
}

TEST(DataFuzzEntry, ReadsWritesAndRereadsWhatItIsGiven)
{
    qbtest::cDataSettingsScope settings;
    const std::string file = BuildSystemFile(qbtest::DistinctSystemValues(), 300).bytes;
    for (const std::string& input : {std::string(), std::string(1, '\0'), std::string(1, '\0') + file,
                                     std::string(1, '\x07') + file.substr(0, 40)}) {
        EXPECT_EQ(FuzzDataFile(reinterpret_cast<const std::uint8_t*>(input.data()), input.size()), 0);
    }
}
