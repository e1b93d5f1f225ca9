// The fuzzer entries of "System.ini" and "user_data\KeyConfig.dat", driven by bounded
// mutations of valid files: every prefix, counts of 0, -1 and huge, and byte flips from a
// fixed seed. They abort on a broken invariant, so passing means none was found.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "tools/lib/settings_fuzz.h"
#include "shell/key_config.h"
#include "tests/support/byte_builder.h"

namespace {

int Fuzz(int (*entry)(const std::uint8_t*, std::size_t), const std::string& bytes)
{
    return entry(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

// Every prefix of file, then rounds of one to four random byte changes.
void Mutate(int (*entry)(const std::uint8_t*, std::size_t), const std::string& file, int rounds)
{
    for (std::size_t n = 0; n <= file.size(); ++n) EXPECT_EQ(Fuzz(entry, file.substr(0, n)), 0) << n;
    std::mt19937 random(7340033);
    for (int round = 0; round < rounds; ++round) {
        std::string damaged = file;
        for (int flips = 1 + static_cast<int>(random() % 4); flips > 0; --flips) {
            damaged[random() % damaged.size()] = static_cast<char>(random());
        }
        EXPECT_EQ(Fuzz(entry, damaged), 0) << round;
    }
}

}  // namespace

TEST(SettingsFuzzEntries, SystemIniSurvivesPrefixesFlipsAndOverlongValues)
{
    const std::string file = "Direct3D=1\r\nWindowMode=1 / window\r\nBpp=16\tVSync=0\r\n"
                             "FreeStage=stg\\a.stg4_000\r\nShowFps=2/English=1\r\nExit\r\n";
    Mutate(FuzzSystemIni, file, 400);
    for (const std::string& value : {std::string(259, 's'), std::string(260, 's'), std::string(5000, 's')}) {
        EXPECT_EQ(Fuzz(FuzzSystemIni, "FreeStage=" + value + "\nExit\n"), 0) << value.size();
        EXPECT_EQ(Fuzz(FuzzSystemIni, value + "=1\nExit\n"), 0) << value.size();
    }
    EXPECT_EQ(Fuzz(FuzzSystemIni, std::string(3, '\0')), 0);
}

TEST(SettingsFuzzEntries, KeyConfigSurvivesPrefixesBadCountsAndFlips)
{
    const KEYCONFIG before = g_KeyConfig;
    auto table = [](std::int32_t device, std::int32_t entries, std::int32_t joysticks) {
        qbtest::cByteBuilder b;
        for (int i = 0; i < 12; ++i) b.I32(i % 3 == 0 ? 8 : device).U16(static_cast<std::uint16_t>(0x25 + i * 300)).U16(0);
        b.I32(entries).I32(joysticks).I32(1);
        return b.Str();
    };
    Mutate(FuzzKeyConfig, table(0, 12, 1), 400);
    for (std::int32_t count : {0, -1, 13, 0x7FFFFFFF, -2147483647 - 1}) {
        for (std::int32_t device : {0, 7, 9, -1, 0x7FFFFFFF}) {
            EXPECT_EQ(Fuzz(FuzzKeyConfig, table(device, count, count)), 0) << count << ' ' << device;
        }
    }
    EXPECT_EQ(Fuzz(FuzzKeyConfig, table(1, 12, 2) + std::string(300, '\xFF')), 0);
    // The entry polls with its own table and leaves the program's as it was.
    EXPECT_EQ(std::memcmp(&g_KeyConfig, &before, sizeof before), 0);
}

// A fuzzer's empty input comes as no buffer at all (the data of an empty vector): each entry
// reads it as an empty file.
TEST(SettingsFuzzEntries, AnEmptyInputWithoutABufferIsAnEmptyFile)
{
    for (auto entry : {FuzzSystemIni, FuzzKeyConfig}) EXPECT_EQ(entry(nullptr, 0), 0);
}
