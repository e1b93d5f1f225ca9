// Damaged palette files: every prefix, every 4-byte value replaced by 0, -1 and huge numbers, and
// random byte flips from a fixed seed. Nothing may crash or hang, and all that a read allocates
// stays within eight times the file beyond a fixed base; a read that fails says why and leaves the
// palette as it was; a read that succeeds writes an image that reads back to the same image.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "data/palette_data.h"
#include "tests/data/allocation_probe.h"
#include "tests/data/flow_record_builder.h"
#include "tests/data/record_test_support.h"
#include "tests/data/template_file_builder.h"

using namespace qbtest;

namespace {

// A palette with conditions, flows with commands and item actions in every list.
std::string DamageFixture(int version)
{
    COMMANDBODY wait;
    wait.kind = 1;
    wait.time = 2;
    FLOWBODY flow;
    flow.id = 1;
    flow.conditions = {ConditionBody(version, CONDITIONBODY{})};
    flow.commands = {CommandBody(wait)};
    COMMANDBODY action;
    action.itemAction = 1;
    TEMPLATEBODY block = Inheriting(1, 1, 11, {2});
    block.name = "ブロック";
    block.conditions = {ConditionBody(version, CONDITIONBODY{})};
    TEMPLATEBODY chara = version < 210 ? Inheriting(1, 1, 30, {20}) : Inheriting(1, 1, 37, {36});
    chara.lists = {FlowBody(version, flow), FlowBody(version, flow)};
    TEMPLATEBODY item = Inheriting(2, 1, 13, {12});
    item.lists = {CommandBody(action)};
    return PaletteImage(version, {TEMPLATEBODY{}, block, block}, {TEMPLATEBODY{}, chara, chara}, {item, item});
}

class PaletteDamage : public ::testing::Test {
protected:
    PaletteDamage()
    {
        m_Databases.SetAll(20);
        m_Loaded.m_Blocks.resize(4);
        m_Loaded.m_Blocks[3].m_strName = "loaded";
        m_strLoaded = WriteImage(m_Loaded);
    }

    void ExpectRefusedOrValid(const std::string& image, const std::string& what)
    {
        cPaletteData palette = m_Loaded;
        int read = 0;
        {
            cAllocationProbe probe;
            cDataReader reader(image);
            read = palette.LoadFrom(reader);
            EXPECT_EQ(read != 0, !reader.Failed()) << what;
            if (!read) {
                EXPECT_FALSE(reader.Error().empty()) << what;
            }
            EXPECT_LE(probe.Total(), ReadMemoryLimit(image.size())) << what;
        }
        if (!read) {
            EXPECT_EQ(WriteImage(palette), m_strLoaded) << what;
            return;
        }
        ++m_nValid;
        const std::string first = WriteImage(palette);
        cPaletteData again;
        ASSERT_EQ(ReadImage(again, first), 1) << what;
        EXPECT_EQ(WriteImage(again), first) << what;
    }

    cDataSettingsScope m_Settings;
    cDatabaseSizesScope m_Databases;
    cPaletteData m_Loaded;
    std::string m_strLoaded;
    int m_nValid = 0;
};

const int kVersions[] = {692, 150};

}  // namespace

TEST_F(PaletteDamage, EveryPrefixOfAValidFileIsRefused)
{
    for (int version : kVersions) {
        const std::string file = DamageFixture(version);
        ExpectRefusedOrValid(file, "whole");
        for (std::size_t length = 0; length < file.size(); ++length) {
            ExpectRefusedOrValid(file.substr(0, length), "v" + std::to_string(version) + " prefix " + std::to_string(length));
        }
    }
    EXPECT_EQ(m_nValid, 2);
}

TEST_F(PaletteDamage, ValuesOfZeroMinusOneAndHugeAnywhereAreRefusedOrReadWhole)
{
    for (int version : kVersions) {
        const std::string file = DamageFixture(version);
        for (std::size_t offset = 4; offset + 4 <= file.size(); ++offset) {
            for (std::uint32_t value : {0u, 0xFFFFFFFFu, 0x7FFFFFFFu, 0x80000000u}) {
                cByteBuilder damaged;
                damaged.Bytes(file);
                damaged.PatchU32(offset, value);
                ExpectRefusedOrValid(damaged.Str(), "v" + std::to_string(version) + " offset " + std::to_string(offset) +
                                                        " value " + std::to_string(value));
            }
        }
    }
}

TEST_F(PaletteDamage, RandomByteFlipsNeverCrashOrHalfLoad)
{
    std::mt19937 random(20261210);
    for (int version : kVersions) {
        const std::string file = DamageFixture(version);
        for (int round = 0; round < 400; ++round) {
            std::string damaged = file;
            const int flips = 1 + static_cast<int>(random() % 4);
            for (int i = 0; i < flips; ++i) damaged[random() % damaged.size()] ^= static_cast<char>(1 + random() % 255);
            ExpectRefusedOrValid(damaged, "v" + std::to_string(version) + " round " + std::to_string(round));
        }
    }
}
