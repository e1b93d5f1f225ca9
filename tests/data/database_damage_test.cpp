// Damaged database files: every prefix, counts and lengths replaced by 0, -1 and huge numbers, and
// random byte flips from a fixed seed. Nothing may crash or hang, and all that a read allocates
// stays within eight times the file beyond a fixed base; a failed read reports why, and a failed
// load leaves every list as it was. Quick enough for the sanitizer build.
#include <gtest/gtest.h>

#include <random>

#include "data/database.h"
#include "platform/os/message_box.h"
#include "tests/data/allocation_probe.h"
#include "tests/data/database_fixtures.h"
#include "tests/data/record_test_support.h"
#include "tests/support/temp_folder.h"

using qbtest::DistinctDatabaseBuilder;

namespace {

int SilentBox(HWND, const char*, const char*, UINT)
{
    return IDOK;
}

std::string FileName(int file)
{
    std::string path = DatabasePath(file);
    for (char& c : path) {
        if (c == '\\') c = '/';
    }
    return path;
}

// Every kind at the current version and at one old enough to lack most later fields.
struct Fixture { int file; std::uint32_t version; };
const Fixture kFixtures[] = {
    {DATABASE_ANIMESET, 692}, {DATABASE_ANIMESET, 118}, {DATABASE_ANIME, 692}, {DATABASE_ANIME, 54},
    {DATABASE_BMPCHARAEXC, 692}, {DATABASE_BMPCHARAEXC, 151}, {DATABASE_SWORDTYPE, 692}, {DATABASE_SWORDTYPE, 137},
    {DATABASE_EFFECT, 692}, {DATABASE_EFFECT, 150}, {DATABASE_CHARAEFFECT, 692}, {DATABASE_CHARAEFFECT, 510},
    {DATABASE_SCREFFECT, 692}, {DATABASE_PICTURE, 692}, {DATABASE_SOUND, 150}, {DATABASE_BGM, 692},
};

class DatabaseDamage : public testing::Test {
protected:
    DatabaseDamage()
    {
        plat::SetBoxPresenter(SilentBox);
        m_Loaded.m_Sounds[1].m_strName = "loaded";
        m_Loaded.FillReverseLists();
        m_strLoaded = Snapshot(m_Loaded);
    }
    ~DatabaseDamage() override { plat::SetBoxPresenter(nullptr); }

    static std::string Snapshot(cDatabase& db)
    {
        std::string all;
        for (int file = 0; file < DATABASE_FILES; ++file) {
            cDataWriter writer;
            db.WriteList(file, writer);
            all += writer.Image();
        }
        return all;
    }

    // Reads a damaged image of `file` over a copy of the loaded database, as Load does; a
    // read that fails must say why.
    void ExpectRefusedOrValid(int file, const std::string& image, const std::string& what)
    {
        cDatabase staged(m_Loaded);
        bool read = false;
        {
            qbtest::cAllocationProbe probe;
            cDataReader reader(image);
            read = staged.ReadList(file, reader);
            EXPECT_EQ(read, !reader.Failed()) << what;
            if (!read) {
                EXPECT_FALSE(reader.Error().empty()) << what;
            }
            EXPECT_LE(probe.Total(), qbtest::ReadMemoryLimit(image.size())) << what;
        }
        if (read) {
            ++m_nValid;
            // What was read writes an image that reads back to the same image.
            cDataWriter first;
            staged.WriteList(file, first);
            cDatabase again;
            cDataReader reader(first.Image());
            ASSERT_TRUE(again.ReadList(file, reader)) << what;
            cDataWriter second;
            again.WriteList(file, second);
            EXPECT_EQ(second.Image(), first.Image()) << what;
        }
    }

    // The same through the files: a load that fails leaves every list as it was.
    void ExpectLoadRefusedOrValid(qbtest::cTempFolder& folder, int file, const std::string& image, const std::string& what)
    {
        folder.WriteFile(FileName(file), image);
        cDatabase db(m_Loaded);
        if (db.Load() == 0) {
            EXPECT_EQ(Snapshot(db), m_strLoaded) << what;
        }
    }

    void WriteGoodFiles(qbtest::cTempFolder& folder)
    {
        for (int file = 0; file < DATABASE_FILES; ++file) folder.WriteFile(FileName(file), qbtest::DistinctDatabaseFile(file, 2));
    }

    qbtest::cDataSettingsScope m_Settings;
    cDatabase m_Loaded;
    std::string m_strLoaded;
    int m_nValid = 0;
};

}  // namespace

TEST_F(DatabaseDamage, EveryPrefixOfAValidFileFailsToLoad)
{
    qbtest::cTempFolder folder;
    folder.ChangeInto();
    WriteGoodFiles(folder);
    for (const Fixture& f : kFixtures) {
        const std::string file = DistinctDatabaseBuilder(f.file, 3, f.version).Str();
        for (std::size_t length = 0; length < file.size(); ++length) {
            const std::string what = std::to_string(f.file) + " v" + std::to_string(f.version) + " prefix " + std::to_string(length);
            ExpectRefusedOrValid(f.file, file.substr(0, length), what);
            if (length % 53 == 0) ExpectLoadRefusedOrValid(folder, f.file, file.substr(0, length), what);
        }
        folder.WriteFile(FileName(f.file), qbtest::DistinctDatabaseFile(f.file, 2));
    }
    EXPECT_EQ(m_nValid, 0);
}

TEST_F(DatabaseDamage, CountsAndLengthsOfZeroMinusOneAndHugeAreRefusedOrReadWhole)
{
    qbtest::cTempFolder folder;
    folder.ChangeInto();
    WriteGoodFiles(folder);
    int cases = 0;
    for (const Fixture& f : kFixtures) {
        const qbtest::cDatabaseFileBuilder builder = DistinctDatabaseBuilder(f.file, 3, f.version);
        for (std::size_t offset : builder.CountOffsets()) {
            for (std::uint32_t value : {0u, 0xFFFFFFFFu, 0x7FFFFFFFu, 0x80000000u}) {
                qbtest::cByteBuilder damaged;
                damaged.Bytes(builder.Str());
                damaged.PatchU32(offset, value);
                const std::string what = std::to_string(f.file) + " offset " + std::to_string(offset) + " value " + std::to_string(value);
                ExpectRefusedOrValid(f.file, damaged.Str(), what);
                if (++cases % 17 == 0) ExpectLoadRefusedOrValid(folder, f.file, damaged.Str(), what);
            }
        }
        folder.WriteFile(FileName(f.file), qbtest::DistinctDatabaseFile(f.file, 2));
    }
    EXPECT_GT(cases, 500);
}

TEST_F(DatabaseDamage, RandomByteFlipsNeverCrashOrHalfLoad)
{
    qbtest::cTempFolder folder;
    folder.ChangeInto();
    WriteGoodFiles(folder);
    std::mt19937 random(20261210);
    for (const Fixture& f : kFixtures) {
        const std::string file = DistinctDatabaseBuilder(f.file, 3, f.version).Str();
        for (int round = 0; round < 300; ++round) {
            std::string damaged = file;
            const int flips = 1 + static_cast<int>(random() % 4);
            for (int i = 0; i < flips; ++i) damaged[random() % damaged.size()] ^= static_cast<char>(1 + random() % 255);
            const std::string what = std::to_string(f.file) + " round " + std::to_string(round);
            ExpectRefusedOrValid(f.file, damaged, what);
            if (round % 50 == 0) ExpectLoadRefusedOrValid(folder, f.file, damaged, what);
        }
        folder.WriteFile(FileName(f.file), qbtest::DistinctDatabaseFile(f.file, 2));
    }
}
