// Data files read from disk: only regular files are opened, values are read from the file as
// they come, and what follows the last value never reaches memory.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <string>

#include "data/database.h"
#include "data/world_map_data.h"
#include "platform/os/files.h"
#include "platform/os/message_box.h"
#include "shell/log.h"
#include "tests/data/allocation_probe.h"
#include "tests/data/database_fixtures.h"
#include "tests/data/record_test_support.h"
#include "tests/support/byte_builder.h"
#include "tests/support/pipe_load.h"
#include "tests/support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

// A file of 3000 values: lengths of strings that cross the reader's chunks every way, and one
// string longer than a chunk.
std::string MixedValuesFile()
{
    qbtest::cByteBuilder b;
    b.U32(692);
    for (int i = 0; i < 3000; ++i) {
        if (i % 3 == 0) {
            b.I32(i * 7919);
        } else {
            const std::size_t length = i == 1000 ? 200 * 1024 : static_cast<std::size_t>(i % 97);
            // Length + 1 stored, then the text and its NUL; the empty string is the length 1 alone.
            b.I32(static_cast<std::int32_t>(length + 1));
            if (length) b.Bytes(std::string(length, static_cast<char>('a' + i % 26))).U8(0);
        }
    }
    return b.Str();
}

}  // namespace

TEST(DataFileRead, ValuesReadFromAFileAreThoseOfItsImageWhereverTheChunksEnd)
{
    qbtest::cTempFolder folder;
    folder.ChangeInto();
    const std::string image = MixedValuesFile();
    folder.WriteFile("values.dat", image);
    cDataReader fromFile;
    ASSERT_TRUE(OpenDataFileRead("values.dat", fromFile));
    cDataReader fromImage(image);
    EXPECT_EQ(fromFile.Version(), 692u);
    EXPECT_EQ(fromFile.Remaining(), fromImage.Remaining());
    for (int i = 0; i < 3000; ++i) {
        if (i % 3 == 0) {
            std::int32_t a = 0, b = 0;
            ASSERT_TRUE(fromFile.ReadInt32(a)) << i << " " << fromFile.Error();
            ASSERT_TRUE(fromImage.ReadInt32(b)) << i;
            ASSERT_EQ(a, b) << i;
        } else {
            std::string a, b;
            ASSERT_TRUE(fromFile.ReadString(a)) << i << " " << fromFile.Error();
            ASSERT_TRUE(fromImage.ReadString(b)) << i;
            ASSERT_EQ(a, b) << i;
        }
        ASSERT_EQ(fromFile.Position(), fromImage.Position()) << i;
    }
    EXPECT_EQ(fromFile.Remaining(), 0u);
    std::int32_t past = 0;
    EXPECT_FALSE(fromFile.ReadInt32(past));
    EXPECT_FALSE(fromFile.Error().empty());
}

TEST(DataFileRead, ANamedPipeOrAFolderWhereADataFileBelongsIsRefusedAtOnce)
{
    qbtest::cTempFolder folder;
    folder.ChangeInto();
    fs::create_directories(folder.Path() / "data" / "Folder.dat");
    const fs::path pipe = folder.Path() / "data" / "WorldMap.dat";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    plat::FlushPathCache();
    plat::SetBoxesShownBySdl(false);

    cDataReader reader;
    EXPECT_FALSE(OpenDataFileRead("data\\Folder.dat", reader));
    struct Case { const char* path; fs::path native; } cases[] = {
        {"data\\WorldMap.dat", pipe},
        {"data\\Folder.dat", folder.Path() / "data" / "Folder.dat"},
    };
    for (const Case& c : cases) {
        const std::optional<int> loaded = qbtest::LoadWithin(c.native, [&c] {
            cWorldMapData map;
            return static_cast<int>(map.Load(c.path));
        });
        ASSERT_TRUE(loaded.has_value()) << c.path << " held the read";
        EXPECT_EQ(*loaded, 0) << c.path;
    }
}

TEST(DataFileRead, BytesAfterTheLastValueNeverReachMemory)
{
    qbtest::cTempFolder folder;
    folder.ChangeInto();
    qbtest::cDataSettingsScope settings;
    ASSERT_TRUE(OpenReportFile("Report_Game.txt"));
    plat::SetBoxPresenter([](HWND, const char*, const char*, UINT) { return IDOK; });
    cDatabase db;
    db.SetDefaults();
    std::string tail;
    for (int file = 0; file < DATABASE_FILES; ++file) {
        std::string path = DatabasePath(file);
        for (char& c : path) {
            if (c == '\\') c = '/';
        }
        const std::string image = qbtest::DistinctDatabaseFile(file, 2);
        folder.WriteFile(path, image);
        // A gigabyte of tail after the Picture list, sparse: nothing is written to disk.
        if (file == DATABASE_PICTURE) {
            fs::resize_file(folder.Path() / path, std::uintmax_t{1} << 30);
            tail = DatabasePath(file) + std::string(" : ") + std::to_string((std::size_t{1} << 30) - image.size()) +
                   " bytes after the last entry are not read";
        }
    }
    int loaded = 0;
    std::size_t largest = 0;
    {
        qbtest::cAllocationProbe probe;
        loaded = db.Load();
        largest = probe.Largest();
    }
    plat::SetBoxPresenter(nullptr);
    ASSERT_EQ(loaded, 1);
    EXPECT_EQ(db.m_Pictures.size(), 2u);
    EXPECT_LT(largest, std::size_t{1} << 20);
    EXPECT_NE(folder.ReadFile("Report_Game.txt").find(tail), std::string::npos) << tail;
}
