// The key-configuration file and its defaults.
#include "shell/key_config.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/os/files.h"
#include "tests/shell/input_fixture.h"
#include "tests/support/byte_builder.h"
#include "tests/support/temp_folder.h"

namespace {

constexpr int kConfigKeyboard = qbtest::kKeyboardDevice;

}  // namespace

// "user_data\KeyConfig.dat": 12 entries of {i32 device, u16 code, u16 unused}, then i32 entry
// count, i32 joystick count, i32 use flag.
class KeyConfigFile : public ::testing::Test {
protected:
    void SetUp() override { m_Folder.ChangeInto(); }

    static qbtest::cByteBuilder Table(int entries, int joysticks, int use)
    {
        qbtest::cByteBuilder b;
        for (int i = 0; i < 12; ++i)
            b.I32(i % 2 ? kConfigKeyboard : 0).U16(static_cast<std::uint16_t>(100 + i)).U16(0xBEEF);
        b.I32(entries).I32(joysticks).I32(use);
        return b;
    }

    bool Read(const std::string& bytes, KEYCONFIG& config)
    {
        m_Folder.WriteFile("user_data/KeyConfig.dat", bytes);
        plat::FlushPathCache();
        return ReadKeyConfig("user_data\\KeyConfig.dat", config);
    }

    qbtest::cTempFolder m_Folder;
};

TEST_F(KeyConfigFile, TheDefaultsAreTheArrowsAndZXCVASDF)
{
    KEYCONFIG config;
    for (auto& e : config.Entry) e = {3, 1, 0x1234};
    DefaultKeyConfig(config);
    const WORD codes[12] = {37, 39, 38, 40, 90, 88, 67, 86, 65, 83, 68, 70};
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(config.Entry[i].nDevice, 8) << i;
        EXPECT_EQ(config.Entry[i].wCode, codes[i]) << i;
        EXPECT_EQ(config.Entry[i].wUnused, 0x1234) << i;   // left as it was
    }
    EXPECT_EQ(config.nEntries, 12);
    EXPECT_EQ(config.nJoysticks, 1);
    EXPECT_EQ(config.bUse, 0);
}

TEST_F(KeyConfigFile, AWholeFileIsTheTable)
{
    KEYCONFIG config;
    DefaultKeyConfig(config);
    ASSERT_TRUE(Read(Table(12, 2, 1).Str(), config));
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(config.Entry[i].nDevice, i % 2 ? 8 : 0) << i;
        EXPECT_EQ(config.Entry[i].wCode, 100 + i) << i;
        EXPECT_EQ(config.Entry[i].wUnused, 0xBEEF) << i;
    }
    EXPECT_EQ(config.nEntries, 12);
    EXPECT_EQ(config.nJoysticks, 2);
    EXPECT_EQ(config.bUse, 1);
}

TEST_F(KeyConfigFile, AShortFileReplacesTheStartAndALongOneOnly108Bytes)
{
    const std::string whole = Table(12, 2, 1).Str();
    struct Case { std::string bytes; int entries; int joysticks; int use; } cases[] = {
        {"", 12, 1, 0},
        {whole.substr(0, 10), 12, 1, 0},      // entry 0 and part of entry 1
        {whole.substr(0, 96), 12, 1, 0},
        {whole.substr(0, 100), 12, 1, 0},
        {whole.substr(0, 104), 12, 2, 0},
        {whole + std::string(50, '\x7F'), 12, 2, 1},
    };
    for (const auto& c : cases) {
        KEYCONFIG config;
        DefaultKeyConfig(config);
        const KEYCONFIG before = config;
        ASSERT_TRUE(Read(c.bytes, config)) << c.bytes.size();
        const std::size_t size = c.bytes.size();
        for (int i = 0; i < 12; ++i) {
            const bool replaced = size >= static_cast<std::size_t>(8 * i + 8);
            EXPECT_EQ(config.Entry[i].wCode, replaced ? 100 + i : before.Entry[i].wCode) << size << ' ' << i;
        }
        EXPECT_EQ(config.Entry[0].nDevice, size >= 4 ? 0 : 8) << size;
        EXPECT_EQ(config.nEntries, c.entries) << size;
        EXPECT_EQ(config.nJoysticks, c.joysticks) << size;
        EXPECT_EQ(config.bUse, c.use) << size;
    }
}

TEST_F(KeyConfigFile, CountsBeyondTheTableAreClamped)
{
    struct Case { int entries, joysticks; int keptEntries, keptJoysticks; } cases[] = {
        {12, 8, 12, 8}, {13, 9, 12, 8}, {0x7FFFFFFF, 0x7FFFFFFF, 12, 8}, {-1, -1, 0, 0},
        {-2147483647 - 1, -2147483647 - 1, 0, 0}, {3, 0, 3, 0},
    };
    for (const auto& c : cases) {
        KEYCONFIG config;
        ASSERT_TRUE(Read(Table(c.entries, c.joysticks, 1).Str(), config));
        EXPECT_EQ(config.nEntries, c.keptEntries) << c.entries;
        EXPECT_EQ(config.nJoysticks, c.keptJoysticks) << c.joysticks;
    }
}

TEST_F(KeyConfigFile, AMissingFileFailsAndLeavesTheTable)
{
    KEYCONFIG config;
    DefaultKeyConfig(config);
    EXPECT_FALSE(ReadKeyConfig("user_data\\KeyConfig.dat", config));
    EXPECT_EQ(config.Entry[4].wCode, 'Z');
}
