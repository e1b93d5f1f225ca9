// The story slots, the slot list and the challenge file on disk: paths, loads with the lives
// rule, damaged and missing files, and saves that fail part way.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "data/save_data.h"
#include "data/system_data.h"
#include "platform/os/file_ops.h"
#include "platform/os/files.h"
#include "shell/log.h"
#include "tests/data/save_file_builder.h"
#include "tests/support/temp_folder.h"

#include "tests/data/save_test_fixture.h"

using qbtest::BuildSaveFile;
using qbtest::SaveFields;

namespace {

class SaveSlots : public qbtest::cSaveTest {
protected:
    SaveSlots()
    {
        m_Folder.ChangeInto();
        OpenReportFile("Report_Game.txt");
        for (const char* sub : {"user_data/story", "user_data/challenge"}) std::filesystem::create_directories(m_Folder.Path() / sub);
        plat::FlushPathCache();
        g_SaveSlots.assign(kSaveSlots, cSaveSlotInfo());
    }
    ~SaveSlots() override { g_SaveSlots.assign(kSaveSlots, cSaveSlotInfo()); }

    static std::string SlotFile(int number)
    {
        char name[64];
        std::snprintf(name, sizeof name, "user_data/story/Story%02d.dat", number);
        return name;
    }

    qbtest::cTempFolder m_Folder;
};

}  // namespace

TEST(SaveSlotPath, SlotsZeroTo98AreStory01To99)
{
    EXPECT_EQ(SaveSlotPath(0), "user_data\\story\\Story01.dat");
    EXPECT_EQ(SaveSlotPath(8), "user_data\\story\\Story09.dat");
    EXPECT_EQ(SaveSlotPath(98), "user_data\\story\\Story99.dat");
}

TEST_F(SaveSlots, LoadingASlotAppliesItsModesLivesRule)
{
    // Story (slot) and challenge file; unlimited switch, stored lives -> start lives, lives.
    struct Case { int mode; int unlimited; int stored; int startLives; int lives; } cases[] = {
        {0, 1, 5, 999999, 999999}, {0, 0, 999999, 107, 3}, {0, 0, 5, 107, 5},
        {1, 1, 5, 999999, 999999}, {1, 0, 999999, 107, 4}, {1, 0, 6, 107, 6},
    };
    g_SystemData.m_StartLives.assign(4, 0);
    g_SystemData.m_StartLives[0] = 3;
    g_SystemData.m_StartLives[1] = 4;
    for (const auto& c : cases) {
        g_SystemData.m_UnlimitedLives.assign(4, 0);
        g_SystemData.m_UnlimitedLives[static_cast<std::size_t>(c.mode)] = c.unlimited;
        SaveFields fields = DistinctSave();
        fields["nLives"] = c.stored;
        const std::string file = BuildSaveFile(fields);
        cSaveData save;
        if (c.mode == 0) {
            m_Folder.WriteFile(SlotFile(4), file);
            ASSERT_EQ(save.LoadSlot(3), 1);
        } else {
            m_Folder.WriteFile("user_data/challenge/Challenge.dat", file);
            ASSERT_EQ(save.LoadChallenge(), 1);
        }
        EXPECT_EQ(save.m_nStartLives, c.startLives) << c.mode << " " << c.unlimited << " " << c.stored;
        EXPECT_EQ(save.m_nLives, c.lives) << c.mode << " " << c.unlimited << " " << c.stored;
    }
}

TEST_F(SaveSlots, AMissingOrDamagedFileLoadsNothingAndADamagedOneIsKeptAside)
{
    const std::string good = BuildSaveFile(DistinctSave());
    cSaveData save;
    save.m_nScore = 42;
    EXPECT_EQ(save.LoadSlot(0), 0);
    EXPECT_EQ(save.LoadChallenge(), 0);
    EXPECT_EQ(save.LoadSlot(-1), 0);
    EXPECT_EQ(save.LoadSlot(99), 0);
    m_Folder.WriteFile(SlotFile(1), good.substr(0, good.size() - 1));
    EXPECT_EQ(save.LoadSlot(0), 0);
    EXPECT_EQ(save.m_nScore, 42) << "unchanged";
    EXPECT_FALSE(m_Folder.Exists(SlotFile(1)));
    EXPECT_EQ(m_Folder.ReadFile(SlotFile(1) + ".bad"), good.substr(0, good.size() - 1));
    m_Folder.WriteFile("user_data/challenge/Challenge.dat", "\xB4\x02");
    EXPECT_EQ(save.LoadChallenge(), 0);
    EXPECT_TRUE(m_Folder.Exists("user_data/challenge/Challenge.dat.bad"));
    EXPECT_EQ(save.m_nScore, 42);
}

TEST_F(SaveSlots, EachDamagedFileIsKeptAsACopyOfItsOwn)
{
    cSaveData save;
    const std::string damaged[] = {std::string("\xB4\x02", 2), std::string("\xB4\x02\x00", 3),
                                   std::string("\xB4\x02\x00\x00\x07", 5)};
    for (const std::string& file : damaged) {
        m_Folder.WriteFile(SlotFile(2), file);
        EXPECT_EQ(save.LoadSlot(1), 0);
        EXPECT_FALSE(m_Folder.Exists(SlotFile(2)));
    }
    EXPECT_EQ(m_Folder.ReadFile(SlotFile(2) + ".bad"), damaged[0]);
    EXPECT_EQ(m_Folder.ReadFile(SlotFile(2) + ".bad2"), damaged[1]);
    EXPECT_EQ(m_Folder.ReadFile(SlotFile(2) + ".bad3"), damaged[2]);
    EXPECT_NE(m_Folder.ReadFile("Report_Game.txt").find("Story02.dat.bad3"), std::string::npos);
}

TEST_F(SaveSlots, TheSlotListShowsTheUsedSlotsWithTheirSaveTimes)
{
    SaveFields fields = DistinctSave();
    fields.saveTime = {2026, 12, 2, 8, 19, 5, 0, 0};
    m_Folder.WriteFile(SlotFile(1), BuildSaveFile(fields));
    fields.carryBodies.clear();
    m_Folder.WriteFile(SlotFile(99), BuildSaveFile(fields, 165));
    m_Folder.WriteFile(SlotFile(50), "damaged");
    g_SaveSlots[10].m_bUsed = 1;  // a row whose file is gone
    LoadSaveSlotList(g_SaveSlots);
    for (int slot = 0; slot < kSaveSlots; ++slot) {
        const bool used = slot == 0 || slot == 98;
        EXPECT_EQ(g_SaveSlots[static_cast<std::size_t>(slot)].m_bUsed, used ? 1 : 0) << slot;
    }
    EXPECT_EQ(g_SaveSlots[0].m_SaveTime.wYear, 2026);
    EXPECT_EQ(g_SaveSlots[0].m_SaveTime.wHour, 19);
    EXPECT_TRUE(m_Folder.Exists(SlotFile(50) + ".bad"));
}

TEST_F(SaveSlots, ASavedSlotReadsBackAndMarksItsRow)
{
    cSaveData save;
    save.m_nScore = 1234;
    save.m_strPlayerName = "xyz";
    ASSERT_EQ(save.SaveSlot(6), 1);
    EXPECT_EQ(g_SaveSlots[6].m_bUsed, 1);
    EXPECT_NE(save.m_SaveTime.wYear, 0);
    EXPECT_EQ(std::memcmp(&g_SaveSlots[6].m_SaveTime, &save.m_SaveTime, sizeof save.m_SaveTime), 0);
    cSaveData loaded;
    ASSERT_EQ(loaded.LoadSlot(6), 1);
    EXPECT_EQ(loaded.m_nScore, 1234);
    EXPECT_EQ(loaded.m_strPlayerName, "xyz");
    EXPECT_EQ(std::memcmp(&loaded.m_SaveTime, &save.m_SaveTime, sizeof save.m_SaveTime), 0);
    EXPECT_EQ(save.SaveSlot(99), 0);
    EXPECT_EQ(save.SaveSlot(-1), 0);
}

TEST_F(SaveSlots, ASaveThatFailsAfterAnyNumberOfBytesKeepsTheFileTheRowAndTheTime)
{
    const std::string old = BuildSaveFile(DistinctSave());
    cSaveData save;
    save.m_nScore = 77;
    save.m_SaveTime.wYear = 1999;
    const std::size_t size = qbtest::WriteImage(save).size();
    ASSERT_GT(size, 4000u);
    for (std::size_t n = 0; n < size; ++n) {
        m_Folder.WriteFile(SlotFile(3), old);
        g_SaveSlots[2] = cSaveSlotInfo();
        plat::FailCommitsAfter(static_cast<std::int64_t>(n));
        const int saved = save.SaveSlot(2);
        plat::FailCommitsAfter(-1);
        ASSERT_EQ(saved, 0) << n;
        ASSERT_EQ(m_Folder.ReadFile(SlotFile(3)), old) << n;
        ASSERT_FALSE(m_Folder.Exists(SlotFile(3) + ".tmp")) << n;
        ASSERT_EQ(g_SaveSlots[2].m_bUsed, 0) << n;
        ASSERT_EQ(save.m_SaveTime.wYear, 1999) << n;
    }
    EXPECT_NE(m_Folder.ReadFile("Report_Game.txt").find("Story03.dat"), std::string::npos);
    for (std::size_t n : {std::size_t{0}, size / 2, size - 1}) {
        m_Folder.WriteFile("user_data/challenge/Challenge.dat", old);
        plat::FailCommitsAfter(static_cast<std::int64_t>(n));
        EXPECT_EQ(save.SaveChallenge(), 0) << n;
        plat::FailCommitsAfter(-1);
        EXPECT_EQ(m_Folder.ReadFile("user_data/challenge/Challenge.dat"), old) << n;
    }
    EXPECT_EQ(save.SaveChallenge(), 1);
    EXPECT_EQ(m_Folder.ReadFile("user_data/challenge/Challenge.dat"), qbtest::WriteImage(save));
}
