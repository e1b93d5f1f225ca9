// Whole-file operations: the durable replace, the one-write append and the file size.
#include <gtest/gtest.h>

#include <memory>

#include "platform/os/file_ops.h"
#include "platform/os/files.h"
#include "tests/support/temp_folder.h"

namespace {

class FileOps : public testing::Test {
protected:
    void SetUp() override
    {
        m_Folder.ChangeInto();
        plat::FlushPathCache();
    }
    qbtest::cTempFolder m_Folder;
};

}  // namespace

TEST_F(FileOps, AReplaceTakesEffectOnlyWhenCommitted)
{
    m_Folder.WriteFile(u8"セーブ.dat", "old");
    plat::FlushPathCache();
    {
        plat::cDurableFile file;
        ASSERT_TRUE(file.Open("セーブ.dat"));
        EXPECT_TRUE(m_Folder.Exists(u8"セーブ.dat.tmp"));
    }   // dropped without a commit
    EXPECT_EQ(m_Folder.ReadFile(u8"セーブ.dat"), "old");
    EXPECT_FALSE(m_Folder.Exists(u8"セーブ.dat.tmp"));

    plat::cDurableFile file;
    ASSERT_TRUE(file.Open("セーブ.dat"));
    EXPECT_TRUE(file.Commit("new"));
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(m_Folder.ReadFile(u8"セーブ.dat"), "new");
    EXPECT_FALSE(m_Folder.Exists(u8"セーブ.dat.tmp"));
    EXPECT_FALSE(file.Commit("again"));   // one commit per open

    for (const char* bad : {"", "missing\\folder\\x.dat"}) {
        plat::cDurableFile refused;
        EXPECT_FALSE(refused.Open(bad)) << bad;
        EXPECT_FALSE(refused.Commit("x")) << bad;
    }
}

TEST_F(FileOps, AppendNeedsTheFileUnlessItTruncates)
{
    EXPECT_FALSE(plat::AppendToFile("log.txt", "a\n", plat::APPEND_EXISTING));
    EXPECT_FALSE(m_Folder.Exists("log.txt"));
    EXPECT_TRUE(plat::AppendToFile("log.txt", "a\n", plat::APPEND_TRUNCATE));
    EXPECT_TRUE(plat::AppendToFile("LOG.TXT", "b\n", plat::APPEND_EXISTING));
    EXPECT_EQ(m_Folder.ReadFile("log.txt"), "a\nb\n");
    EXPECT_TRUE(plat::AppendToFile("log.txt", "", plat::APPEND_TRUNCATE));
    EXPECT_EQ(m_Folder.ReadFile("log.txt"), "");
    EXPECT_FALSE(plat::AppendToFile("", "x", plat::APPEND_TRUNCATE));
}

TEST_F(FileOps, FileSizeOfAnOpenFile)
{
    m_Folder.WriteFile("five.bin", "12345");
    plat::FlushPathCache();
    std::unique_ptr<FILE, int (*)(FILE*)> file(plat::OpenFile("five.bin", "rb"), &std::fclose);
    ASSERT_TRUE(file);
    EXPECT_EQ(plat::FileSize(file.get()), 5);
    EXPECT_EQ(plat::FileSize(nullptr), -1);
}
