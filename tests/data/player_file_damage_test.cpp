// Damaged world map, option and ranking files: every prefix, every word replaced by 0, -1 and huge
// numbers, and random byte flips from a fixed seed. Nothing may crash, and all that a read
// allocates stays within eight times the file beyond a fixed base (a world map's grid too); a
// refused file leaves the record as it was, and one that reads writes an image that reads back
// the same. Quick enough for the sanitizer build.
#include <gtest/gtest.h>

#include <random>

#include "data/world_map_data.h"
#include "platform/os/message_box.h"
#include "tests/data/allocation_probe.h"
#include "tests/data/player_file_builders.h"
#include "tests/data/record_test_support.h"
#include "tests/data/save_test_fixture.h"
#include "tools/lib/data_file_kinds.h"
#include "tools/lib/data_fuzz.h"

namespace {

struct PlayerFileFixture {
    const char* kind;
    std::string file;
};

// A save with a carried status, best values, challenge records and short switch lists.
std::string SaveFile(std::uint32_t version)
{
    qbtest::SaveFields save;
    save["nLives"] = 3;
    save.stageKey = "a.";
    if (version >= 692) save.carryBodies = {qbtest::CarryStatusBody({1, 2, 3, 4, 5}, qbtest::CharaBody(cCharaData()))};
    save.stageValues = {{"a.", 10}};
    save.challenges = {{1, 2}, {0, 0}};
    save.switches.assign(20, 1);
    save.variables.assign(10, 2);
    return qbtest::BuildSaveFile(save, version);
}

std::vector<PlayerFileFixture> Fixtures()
{
    return {
        {"worldmap", qbtest::BuildWorldMapFile(qbtest::DistinctWorldMap())},
        {"worldmap", qbtest::BuildWorldMapFile(qbtest::DistinctWorldMap(), 208)},
        {"option", qbtest::BuildOptionFile(3, 0, 9, 2, "名前")},
        {"ranking", qbtest::BuildRankingFile(qbtest::DistinctRankingTables())},
        {"ranking", qbtest::BuildRankingFile(std::vector<qbtest::RankingTableFields>(3), 180)},
        {"save", SaveFile(692)},
        {"challenge", SaveFile(165)},
    };
}

int SilentPlayerFileBox(HWND, const char*, const char*, UINT)
{
    return IDOK;
}

class PlayerFileDamage : public testing::Test {
protected:
    PlayerFileDamage() { plat::SetBoxPresenter(SilentPlayerFileBox); }
    ~PlayerFileDamage() override { plat::SetBoxPresenter(nullptr); }

    // The image a fresh file of the kind writes, to tell that a refused read changed nothing.
    static std::string Written(cDataFile& file)
    {
        cDataWriter writer;
        file.WriteTo(writer);
        return writer.Image();
    }

    void ExpectRefusedOrValid(const PlayerFileFixture& fixture, const std::string& image, const std::string& what)
    {
        const DATAFILEKIND* kind = FindDataFileKind(fixture.kind);
        ASSERT_NE(kind, nullptr);
        std::unique_ptr<cDataFile> file = kind->create();
        const std::string before = Written(*file);
        bool read = false;
        {
            qbtest::cAllocationProbe probe;
            cDataReader reader(image);
            read = file->ReadFrom(reader);
            EXPECT_EQ(read, !reader.Failed()) << what;
            EXPECT_LE(probe.Total(), qbtest::ReadMemoryLimit(image.size())) << what;
        }
        if (!read) {
            EXPECT_EQ(Written(*file), before) << what;
        } else {
            ++m_nValid;
        }
        // The fuzz entry aborts when what was read does not write and read back the same.
        const std::span<const DATAFILEKIND> kinds = DataFileKinds();
        std::string input(1, static_cast<char>(kind - kinds.data()));
        input += image;
        FuzzDataFile(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
    }

    qbtest::cDataSettingsScope m_Settings;
    int m_nValid = 0;
};

}  // namespace

TEST_F(PlayerFileDamage, EveryPrefixOfAValidFileIsRefused)
{
    for (const PlayerFileFixture& f : Fixtures()) {
        for (std::size_t length = 0; length < f.file.size(); ++length)
            ExpectRefusedOrValid(f, f.file.substr(0, length), std::string(f.kind) + " prefix " + std::to_string(length));
    }
    EXPECT_EQ(m_nValid, 0);
}

TEST_F(PlayerFileDamage, WordsOfZeroMinusOneAndHugeAreRefusedOrReadWhole)
{
    int cases = 0;
    for (const PlayerFileFixture& f : Fixtures()) {
        for (std::size_t offset = 4; offset + 4 <= f.file.size(); offset += 4) {
            for (std::uint32_t value : {0u, 0xFFFFFFFFu, 0x7FFFFFFFu, 0x80000000u, 0x10000u}) {
                qbtest::cByteBuilder damaged;
                damaged.Bytes(f.file);
                damaged.PatchU32(offset, value);
                ExpectRefusedOrValid(f, damaged.Str(), std::string(f.kind) + " offset " + std::to_string(offset) + " value " + std::to_string(value));
                ++cases;
            }
        }
    }
    EXPECT_GT(cases, 2000);
}

TEST_F(PlayerFileDamage, RandomByteFlipsNeverCrashOrHalfLoad)
{
    std::mt19937 random(20261210);
    for (const PlayerFileFixture& f : Fixtures()) {
        for (int round = 0; round < 400; ++round) {
            std::string damaged = f.file;
            const int flips = 1 + static_cast<int>(random() % 4);
            for (int i = 0; i < flips; ++i) damaged[random() % damaged.size()] ^= static_cast<char>(1 + random() % 255);
            ExpectRefusedOrValid(f, damaged, std::string(f.kind) + " round " + std::to_string(round));
        }
    }
}
