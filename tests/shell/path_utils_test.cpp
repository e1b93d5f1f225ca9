#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "platform/os/files.h"
#include "shell/path_utils.h"
#include "tests/support/cp932_printer.h"
#include "tests/support/temp_folder.h"

namespace fs = std::filesystem;
using qbtest::Cp932;

namespace {

// A MAX_PATH buffer holding text, as the program keeps its paths.
struct cPathBuffer {
    explicit cPathBuffer(const char* text) { std::strncpy(chars, text, MAX_PATH - 1); }
    char chars[MAX_PATH] = {};
};

// The program's form of an ASCII Linux path, written out here as the reference.
std::string ProgramForm(const fs::path& native)
{
    std::string text = native.string();
    for (char& c : text)
        if (c == '/') c = '\\';
    return text;
}

}  // namespace

TEST(StripDirectory, KeepsDoubleByteCharactersWhoseSecondByteIsABackslash)
{
    struct Case { const char* path; const char* name; } cases[] = {
        {"bmp\\Title.bmp", "Title.bmp"},
        {"bmp\\表示.bmp", "表示.bmp"},   // second byte of 表 is 0x5C
        {"ソ\\a.bmp", "a.bmp"},
        {"京\\a.bmp", "a.bmp"},          // 京 is 8B 9E: its trail byte is also a lead byte
        {"予能\\表", "表"},
        {"Title.bmp", "Title.bmp"},
        {"表", "表"},
        {"\\root.txt", "root.txt"},
        {"a\\b\\", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Cp932(StripDirectory(std::string_view(c.path))), Cp932(c.name));
        cPathBuffer buffer(c.path);
        StripDirectory(buffer.chars);
        EXPECT_EQ(Cp932(buffer.chars), Cp932(c.name));
    }
}

TEST(ChangeExtension, ReplacesTheTextAfterTheLastDot)
{
    struct Case { const char* name; const char* ext; bool ok; const char* out; } cases[] = {
        {"a.b.c", "x", true, "a.b.x"},
        {"abc", "x", false, "abc"},
        {"x.stg4_100", "stg4", true, "x.stg4"},
        {"bgm\\曲.ogg", "mid", true, "bgm\\曲.mid"},
        {"a.txt", nullptr, true, "a"},
        {"dir.d\\file", "x", true, "dir.x"},   // the last dot counts wherever it is
        {"a.", "x", true, "a.x"},
    };
    for (const auto& c : cases) {
        char out[MAX_PATH] = "unchanged";
        EXPECT_EQ(ChangeExtension(out, c.name, c.ext), c.ok) << c.name;
        EXPECT_EQ(Cp932(out), Cp932(c.out));
    }
    cPathBuffer same("stage.stg4_001");
    EXPECT_TRUE(ChangeExtension(same.chars, same.chars, "rkg"));
    EXPECT_STREQ(same.chars, "stage.rkg");
}

TEST(StripExtension, CutsAtTheLastDot)
{
    struct Case { const char* path; bool ok; const char* out; } cases[] = {
        {"a.b.c", true, "a.b"},
        {"data\\x.stg4_100", true, "data\\x"},
        {"abc", false, "abc"},
        {".hidden", true, ""},
        {"表.txt", true, "表"},
    };
    for (const auto& c : cases) {
        cPathBuffer buffer(c.path);
        EXPECT_EQ(StripExtension(buffer.chars), c.ok) << c.path;
        EXPECT_EQ(Cp932(buffer.chars), Cp932(c.out));
        std::string text = c.path;
        EXPECT_EQ(StripExtensionStr(text), c.ok) << c.path;
        EXPECT_EQ(Cp932(text), Cp932(c.out));
    }
}

TEST(GetExtension, TakesTheTextAfterTheLastDot)
{
    struct Case { const char* name; bool ok; const char* out; } cases[] = {
        {"bgm\\a.ogg", true, "ogg"},
        {"bgm\\a.b.MID", true, "MID"},
        {"a.", true, ""},
        {"noext", false, "unchanged"},
    };
    for (const auto& c : cases) {
        char out[MAX_PATH] = "unchanged";
        EXPECT_EQ(GetExtension(out, c.name), c.ok) << c.name;
        EXPECT_STREQ(out, c.out);
    }
}

TEST(InsertNumberSuffix, PutsTwoDigitsBeforeTheExtension)
{
    struct Case { const char* name; int a; int b; bool ok; const char* out; } cases[] = {
        {"x.ext", 1, 2, true, "x_12.ext"},
        {"user_data\\rpl4\\stage.rpl4", 0, 8, true, "user_data\\rpl4\\stage_08.rpl4"},
        {"表.a.b", 8, 8, true, "表.a_88.b"},
        {"abc", 1, 2, false, "unchanged"},
    };
    for (const auto& c : cases) {
        char out[MAX_PATH] = "unchanged";
        EXPECT_EQ(InsertNumberSuffix(out, c.name, c.a, c.b), c.ok) << c.name;
        EXPECT_EQ(Cp932(out), Cp932(c.out));
    }
}

TEST(PathUtilities, RefuseResultsLongerThanAPathBuffer)
{
    const std::string longName = std::string(MAX_PATH - 3, 'a') + ".b";
    char out[MAX_PATH] = "unchanged";
    EXPECT_FALSE(ChangeExtension(out, longName.c_str(), "stg4"));
    EXPECT_FALSE(InsertNumberSuffix(out, longName.c_str(), 1, 2));
    EXPECT_STREQ(out, "unchanged");
    EXPECT_TRUE(ChangeExtension(out, longName.c_str(), "c"));
    EXPECT_EQ(std::string(out), longName.substr(0, longName.size() - 1) + "c");
}

class cPathFilesTest : public testing::Test {
protected:
    void SetUp() override { m_Folder.ChangeInto(); }
    qbtest::cTempFolder m_Folder;
};

TEST_F(cPathFilesTest, FindHighestNumberedFileTakesTheHighestSuffix)
{
    m_Folder.WriteFile("stg/x.stg4_001", "1");
    m_Folder.WriteFile("stg/x.stg4_100", "100");
    m_Folder.WriteFile("stg/x.stg4_abc", "");
    m_Folder.WriteFile(u8"stg/表.stg4_007", "7");
    struct Case { const char* name; const char* ext; bool ok; const char* out; } cases[] = {
        {"stg\\x.stg4_001", "stg4", true, "stg\\x.stg4_100"},
        {"stg\\x.stg4", "stg4", true, "stg\\x.stg4_100"},
        {"stg\\x.dat", "stg4", true, "stg\\x.stg4_100"},
        {"STG\\X.STG4", "stg4", true, "STG\\X.stg4_100"},
        {"stg\\表", "stg4", false, "unchanged"},       // no dot: the name stays "stg\表"
        {"stg\\表.x", "stg4", true, "stg\\表.stg4_007"},
        {"stg\\y.stg4", "stg4", false, "unchanged"},
    };
    for (const auto& c : cases) {
        char out[MAX_PATH] = "unchanged";
        EXPECT_EQ(FindHighestNumberedFile(out, c.name, c.ext), c.ok) << c.name;
        EXPECT_EQ(Cp932(out), Cp932(c.out));
    }
    std::string stage = "stg\\x";
    EXPECT_FALSE(FindHighestNumberedFileStr(stage, stage.c_str(), "stg4"));
    EXPECT_EQ(stage, "stg\\x");
    stage = "stg\\x.stg4";
    EXPECT_TRUE(FindHighestNumberedFileStr(stage, stage.c_str(), "stg4"));
    EXPECT_EQ(stage, "stg\\x.stg4_100");
}

TEST_F(cPathFilesTest, MakeRelativePathStepsFromTheWorkingFolder)
{
    const std::string here = ProgramForm(m_Folder.Path());
    const std::string parent = ProgramForm(m_Folder.Path().parent_path());
    struct Case { std::string path; const char* relative; } cases[] = {
        {here + "\\a.stg4_100", ".\\a.stg4_100"},
        {here + "\\data\\stg4\\表.stg4_000", ".\\data\\stg4\\表.stg4_000"},
        {parent + "\\other\\b.txt", "..\\other\\b.txt"},
        {"data\\x", "data\\x"},   // already relative
    };
    for (const auto& c : cases) {
        cPathBuffer buffer(c.path.c_str());
        EXPECT_TRUE(MakeRelativePath(buffer.chars)) << c.path;
        EXPECT_EQ(Cp932(buffer.chars), Cp932(c.relative));
        std::string text = c.path;
        EXPECT_TRUE(MakeRelativePathStr(text)) << c.path;
        EXPECT_EQ(Cp932(text), Cp932(c.relative));
    }
    std::string tooLong = "\\" + std::string(MAX_PATH, 'a');
    EXPECT_FALSE(MakeRelativePathStr(tooLong));
}

TEST_F(cPathFilesTest, MakeAbsolutePathResolvesAgainstTheWorkingFolder)
{
    const std::string here = ProgramForm(m_Folder.Path());
    struct Case { const char* path; std::string absolute; } cases[] = {
        {"Report_Game.txt", here + "\\Report_Game.txt"},
        {"default\\", here + "\\default\\"},   // the trailing backslash stays
        {".\\data\\..\\bmp\\表.bmp", here + "\\bmp\\表.bmp"},
        {"\\abs\\x", "\\abs\\x"},
    };
    for (const auto& c : cases) {
        cPathBuffer buffer(c.path);
        EXPECT_TRUE(MakeAbsolutePath(buffer.chars)) << c.path;
        EXPECT_EQ(Cp932(buffer.chars), Cp932(c.absolute));
    }
}

TEST_F(cPathFilesTest, PathsStayAsTheyWereWhenTheWorkingFolderHasNoCp932Form)
{
    fs::create_directory(m_Folder.Path() / u8"é");
    fs::current_path(m_Folder.Path() / u8"é");
    cPathBuffer absolute("\\x\\a.txt");
    EXPECT_FALSE(MakeRelativePath(absolute.chars));
    EXPECT_STREQ(absolute.chars, "\\x\\a.txt");
    cPathBuffer relative("a.txt");
    EXPECT_FALSE(MakeAbsolutePath(relative.chars));
    EXPECT_STREQ(relative.chars, "a.txt");
    fs::current_path(m_Folder.Path());
}
