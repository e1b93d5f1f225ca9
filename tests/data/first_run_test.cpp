// The first run: "data\" made from "default\" after the player agrees, all or nothing.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>

#include "data/first_run.h"
#include "platform/os/message_box.h"
#include "tests/support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

int g_nScriptedAnswer = IDNO;
int g_nQuestions = 0;
std::string g_strQuestion;

int ScriptedAnswer(UINT type, const char* textUtf8)
{
    ++g_nQuestions;
    g_strQuestion = textUtf8;
    EXPECT_EQ(type & MB_TYPEMASK, MB_YESNO);
    return g_nScriptedAnswer;
}

// Every file and folder below root, by relative path: file contents, or "<folder>".
std::map<std::string, std::string> Tree(const fs::path& root)
{
    std::map<std::string, std::string> tree;
    if (!fs::exists(root)) return tree;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
        const std::string relative = fs::relative(entry.path(), root).string();
        if (entry.is_directory()) {
            tree[relative] = "<folder>";
        } else {
            std::FILE* file = std::fopen(entry.path().c_str(), "rb");
            std::string bytes;
            char chunk[4096];
            std::size_t got;
            while (file && (got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, got);
            if (file) std::fclose(file);
            tree[relative] = bytes;
        }
    }
    return tree;
}

class FirstRun : public testing::Test {
protected:
    FirstRun()
    {
        m_Folder.ChangeInto();
        plat::SetBoxesShownBySdl(false);
        plat::SetBoxAnswerSource(ScriptedAnswer);
        g_nQuestions = 0;
        g_strQuestion.clear();
    }
    ~FirstRun() override { plat::SetBoxAnswerSource(nullptr); }

    void MakeDefaultTree()
    {
        m_Folder.WriteFile("default/System.dat", std::string("\xB4\x02\x00\x00\x00\x01\x02", 7));
        m_Folder.WriteFile("default/database/Bgm.dat", "bgm");
        m_Folder.WriteFile(u8"default/stg4/ステージ.stg4_001", std::string(70000, 'x'));
        m_Folder.WriteFile("default/stg4/old_ver/a.stg4_000", "");
        fs::create_directories(m_Folder.Path() / "default/work");
    }

    qbtest::cTempFolder m_Folder;
};

}  // namespace

TEST_F(FirstRun, AnExistingDataFolderIsUsedWithoutAQuestion)
{
    fs::create_directories(m_Folder.Path() / "data");
    EXPECT_EQ(CreateDefaultData(nullptr), 1);
    MakeDefaultTree();
    EXPECT_EQ(CreateDefaultData(nullptr), 1);
    EXPECT_EQ(g_nQuestions, 0);
    EXPECT_TRUE(Tree(m_Folder.Path() / "data").empty());
}

TEST_F(FirstRun, WithNeitherFolderItFailsWithoutAQuestion)
{
    EXPECT_EQ(CreateDefaultData(nullptr), 0);
    EXPECT_EQ(g_nQuestions, 0);
    EXPECT_FALSE(m_Folder.Exists("data"));
}

TEST_F(FirstRun, YesCopiesTheDefaultTreeExactlyAndASecondStartAsksNothing)
{
    MakeDefaultTree();
    m_Folder.WriteFile("data.copying/left-over", "from a copy that was cut short");
    g_nScriptedAnswer = IDYES;
    EXPECT_EQ(CreateDefaultData(nullptr), 1);
    EXPECT_EQ(g_nQuestions, 1);
    EXPECT_EQ(g_strQuestion, u8"データが存在しません！デフォルトデータを作成しますか？\n");
    const auto source = Tree(m_Folder.Path() / "default");
    EXPECT_EQ(source.size(), 8u);
    EXPECT_EQ(Tree(m_Folder.Path() / "data"), source);
    EXPECT_FALSE(m_Folder.Exists("data.copying"));

    EXPECT_EQ(CreateDefaultData(nullptr), 1);
    EXPECT_EQ(g_nQuestions, 1);
}

TEST_F(FirstRun, NoEndsWithoutMakingData)
{
    MakeDefaultTree();
    const auto source = Tree(m_Folder.Path() / "default");
    g_nScriptedAnswer = IDNO;
    EXPECT_EQ(CreateDefaultData(nullptr), 0);
    EXPECT_EQ(g_nQuestions, 1);
    EXPECT_FALSE(m_Folder.Exists("data"));
    EXPECT_EQ(Tree(m_Folder.Path() / "default"), source);
}

TEST_F(FirstRun, ACopyThatFailsPartWayLeavesNoData)
{
    MakeDefaultTree();
    // Something that cannot be copied, among files that can: a link to nothing, and a pipe.
    ASSERT_EQ(symlink("missing-target", (m_Folder.Path() / "default/database/Broken.dat").c_str()), 0);
    ASSERT_EQ(mkfifo((m_Folder.Path() / "default/stg4/pipe").c_str(), 0600), 0);
    g_nScriptedAnswer = IDYES;
    EXPECT_EQ(CreateDefaultData(nullptr), 0);
    EXPECT_EQ(g_nQuestions, 1);
    EXPECT_FALSE(m_Folder.Exists("data"));
    EXPECT_FALSE(m_Folder.Exists("data.copying"));
    EXPECT_TRUE(m_Folder.Exists("default/System.dat"));
}
