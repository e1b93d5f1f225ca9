#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/os/files.h"
#include "tests/support/cp932_printer.h"
#include "tests/support/temp_folder.h"

namespace fs = std::filesystem;
using qbtest::Cp932;

namespace {

using cFile = std::unique_ptr<FILE, int (*)(FILE*)>;

cFile Open(const char* path, const char* mode)
{
    return cFile(plat::OpenFile(path, mode), &std::fclose);
}

std::string ReadAll(FILE* file)
{
    std::string text;
    char buffer[256];
    while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, file)) text.append(buffer, n);
    return text;
}

// The program's form of an ASCII Linux path, written out here as the reference.
std::string ProgramForm(const fs::path& native)
{
    std::string text = native.string();
    for (char& c : text)
        if (c == '/') c = '\\';
    return text;
}

// Names in a folder as they are on disk (UTF-8).
std::vector<std::string> NamesIn(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class cFilesTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_Folder.ChangeInto();
        m_Folder.WriteFile("data/System.dat", "sys");
        m_Folder.WriteFile(u8"data/ソ/表.txt", "jp");
        m_Folder.WriteFile(u8"data/京/a.txt", "kyo");
        m_Folder.WriteFile("bmp/Title.BMP", "title");
    }

    qbtest::cTempFolder m_Folder;
};

}  // namespace

TEST_F(cFilesTest, OpenFileFindsFilesWhateverTheSpellingOfTheirPath)
{
    const std::string absolute = ProgramForm(m_Folder.Path()) + "\\data\\System.dat";
    struct Case { std::string path; const char* content; } cases[] = {
        {"data\\System.dat", "sys"},
        {"DATA\\system.DAT", "sys"},           // every component without regard to case
        {".\\data\\.\\System.dat", "sys"},
        {"bmp\\..\\data\\System.dat", "sys"},
        {"data/System.dat", "sys"},
        {"data\\ソ\\表.txt", "jp"},             // 83 5C and 95 5C are not separators
        {"Data\\ソ\\表.TXT", "jp"},
        {"data\\京\\A.TXT", "kyo"},
        {"bmp\\title.bmp", "title"},
        {absolute, "sys"},
    };
    for (const auto& c : cases) {
        cFile file = Open(c.path.c_str(), "rb");
        ASSERT_TRUE(file) << qbtest::DescribeCp932(c.path);
        EXPECT_EQ(ReadAll(file.get()), c.content) << qbtest::DescribeCp932(c.path);
    }
}

TEST_F(cFilesTest, NativePathGivesTheNameOnDisk)
{
    const fs::path root = m_Folder.Path();
    struct Case { const char* path; fs::path native; } cases[] = {
        {"DATA\\SYSTEM.DAT", root / "data/System.dat"},
        {"data\\ソ\\表.TXT", root / u8"data/ソ/表.txt"},
        {"data\\New.dat", root / "data/New.dat"},       // a missing name keeps its spelling
        {"Nothing\\Here.dat", root / "Nothing/Here.dat"},
        {".", root},
    };
    for (const auto& c : cases) EXPECT_EQ(plat::NativePath(c.path), c.native.string()) << qbtest::DescribeCp932(c.path);
}

TEST_F(cFilesTest, PathsWithoutAUnicodeFormOpenNothing)
{
    for (const char* path : {"a\x80.txt", "data\\\x85\x40", ""}) {
        EXPECT_EQ(plat::NativePath(path), "") << qbtest::DescribeCp932(path);
        EXPECT_FALSE(Open(path, "wb")) << qbtest::DescribeCp932(path);
        EXPECT_EQ(GetFileAttributesA(path), INVALID_FILE_ATTRIBUTES);
    }
    EXPECT_EQ(NamesIn(m_Folder.Path()), (std::vector<std::string>{"bmp", "data"}));
}

TEST_F(cFilesTest, MissingFilesAreReportedAsWindowsWould)
{
    struct Case { const char* path; DWORD error; } cases[] = {
        {"data\\none.dat", ERROR_FILE_NOT_FOUND},
        {"none\\x.dat", ERROR_PATH_NOT_FOUND},
        {"data\\System.dat\\x", ERROR_PATH_NOT_FOUND},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(Open(c.path, "rb")) << c.path;
        SetLastError(ERROR_SUCCESS);
        EXPECT_EQ(GetFileAttributesA(c.path), INVALID_FILE_ATTRIBUTES) << c.path;
        EXPECT_EQ(GetLastError(), c.error) << c.path;
    }
}

TEST_F(cFilesTest, AFileThatExistsIsWrittenUnderItsOwnName)
{
    {
        cFile file = Open("DATA\\SYSTEM.DAT", "wb");
        ASSERT_TRUE(file);
        std::fputs("new", file.get());
    }
    EXPECT_EQ(m_Folder.ReadFile("data/System.dat"), "new");
    EXPECT_EQ(NamesIn(m_Folder.Path() / "data"), (std::vector<std::string>{"System.dat", u8"ソ", u8"京"}));
}

TEST_F(cFilesTest, ReportModeAppendsToAnExistingFile)
{
    {
        cFile file = Open("data\\system.dat", "rt+");
        ASSERT_TRUE(file);
        std::fseek(file.get(), 0, SEEK_END);
        std::fputs("+line\n", file.get());
    }
    EXPECT_EQ(m_Folder.ReadFile("data/System.dat"), "sys+line\n");
    EXPECT_FALSE(Open("data\\missing.txt", "rt+"));
    EXPECT_FALSE(Open("data\\System.dat", ""));
    EXPECT_FALSE(Open("data\\System.dat", "q"));
}

TEST_F(cFilesTest, AFileTheRuntimeCreatesIsFoundAtOnce)
{
    EXPECT_EQ(GetFileAttributesA("data\\Slot01.dat"), INVALID_FILE_ATTRIBUTES);  // the folder is now listed
    {
        cFile file = Open("data\\Slot01.dat", "wb");
        ASSERT_TRUE(file);
    }
    EXPECT_EQ(GetFileAttributesA("DATA\\slot01.DAT"), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(m_Folder.Exists("data/Slot01.dat"));
}

TEST_F(cFilesTest, AFileMadeBehindTheRuntimesBackIsFoundOnAMiss)
{
    ASSERT_EQ(GetFileAttributesA("data\\System.dat"), FILE_ATTRIBUTE_NORMAL);  // the folder is now listed
    std::ofstream(m_Folder.Path() / "data/Late.dat") << "late";
    cFile file = Open("data\\LATE.DAT", "rb");
    ASSERT_TRUE(file);
    EXPECT_EQ(ReadAll(file.get()), "late");
}

TEST_F(cFilesTest, AFileRenamedBehindTheRuntimesBackIsFoundUnderItsNewName)
{
    ASSERT_EQ(GetFileAttributesA("data\\System.dat"), FILE_ATTRIBUTE_NORMAL);
    fs::rename(m_Folder.Path() / "data/System.dat", m_Folder.Path() / "data/system.dat");
    {
        cFile file = Open("data\\System.dat", "wb");
        ASSERT_TRUE(file);
        std::fputs("again", file.get());
    }
    EXPECT_EQ(m_Folder.ReadFile("data/system.dat"), "again");
    EXPECT_FALSE(m_Folder.Exists("data/System.dat"));

    ASSERT_EQ(GetFileAttributesA("data\\ソ\\表.txt"), FILE_ATTRIBUTE_NORMAL);
    fs::rename(m_Folder.Path() / u8"data/ソ", m_Folder.Path() / u8"data/ソソ");
    fs::rename(m_Folder.Path() / "data", m_Folder.Path() / "Data");
    EXPECT_EQ(GetFileAttributesA("data\\ソ\\表.txt"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesA("data\\ソソ\\表.txt"), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(cFilesTest, CreateDirectoryReportsWhyItFailed)
{
    struct Step { const char* path; BOOL ok; DWORD error; } steps[] = {
        {"user_data", TRUE, ERROR_SUCCESS},
        {"user_data", FALSE, ERROR_ALREADY_EXISTS},
        {"USER_DATA\\", FALSE, ERROR_ALREADY_EXISTS},
        {"User_Data\\Story", TRUE, ERROR_SUCCESS},
        {"user_data\\story", FALSE, ERROR_ALREADY_EXISTS},
        {"none\\sub", FALSE, ERROR_PATH_NOT_FOUND},
        {"data\\System.dat", FALSE, ERROR_ALREADY_EXISTS},
        {"データ", TRUE, ERROR_SUCCESS},
    };
    for (const auto& s : steps) {
        SetLastError(ERROR_SUCCESS);
        EXPECT_EQ(CreateDirectoryA(s.path, nullptr), s.ok) << qbtest::DescribeCp932(s.path);
        if (!s.ok) {
            EXPECT_EQ(GetLastError(), s.error) << qbtest::DescribeCp932(s.path);
        }
    }
    EXPECT_TRUE(m_Folder.Exists("user_data/Story"));
    EXPECT_TRUE(m_Folder.Exists(u8"データ"));
    EXPECT_EQ(PathIsDirectoryA("USER_DATA\\STORY"), static_cast<BOOL>(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(PathIsDirectoryA("data\\System.dat"), FALSE);
    EXPECT_EQ(PathIsDirectoryA("none"), FALSE);
    EXPECT_EQ(GetFileAttributesA("Data"), FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(cFilesTest, ErrorsBelongToTheThreadThatMadeThem)
{
    SetLastError(ERROR_SUCCESS);
    std::thread([] { GetFileAttributesA("none\\x"); }).join();
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
}

TEST_F(cFilesTest, DeleteAndRemoveKeepTheListingsTrue)
{
    ASSERT_TRUE(Open("data\\old.txt", "wb"));
    EXPECT_TRUE(DeleteFileA("DATA\\OLD.TXT"));
    EXPECT_EQ(GetFileAttributesA("data\\old.txt"), INVALID_FILE_ATTRIBUTES);
    ASSERT_TRUE(Open("data\\Old.txt", "wb"));
    EXPECT_TRUE(m_Folder.Exists("data/Old.txt"));
    EXPECT_FALSE(m_Folder.Exists("data/old.txt"));

    SetLastError(ERROR_SUCCESS);
    EXPECT_FALSE(DeleteFileA("data\\none.txt"));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(DeleteFileA("data"));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);

    EXPECT_FALSE(RemoveDirectoryA("data"));
    EXPECT_EQ(GetLastError(), ERROR_DIR_NOT_EMPTY);
    ASSERT_EQ(GetFileAttributesA("bmp\\Title.bmp"), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(DeleteFileA("bmp\\title.bmp"));
    EXPECT_TRUE(RemoveDirectoryA("BMP"));
    EXPECT_FALSE(PathIsDirectoryA("bmp"));
    EXPECT_TRUE(CreateDirectoryA("Bmp", nullptr));
    EXPECT_EQ(GetFileAttributesA("bmp\\Title.bmp"), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(m_Folder.Exists("Bmp"));
}

TEST_F(cFilesTest, MoveFileReplacesTheTargetUnderItsOwnName)
{
    m_Folder.WriteFile("save/save.dat", "old");
    m_Folder.WriteFile("save/save.tmp", "new");
    EXPECT_TRUE(MoveFileA("save\\save.tmp", "Save\\Save.dat"));
    EXPECT_EQ(NamesIn(m_Folder.Path() / "save"), (std::vector<std::string>{"save.dat"}));
    EXPECT_EQ(m_Folder.ReadFile("save/save.dat"), "new");
    EXPECT_EQ(GetFileAttributesA("save\\save.tmp"), INVALID_FILE_ATTRIBUTES);

    EXPECT_TRUE(MoveFileA("save\\save.dat", "save\\表.dat"));
    EXPECT_EQ(GetFileAttributesA("save\\表.DAT"), FILE_ATTRIBUTE_NORMAL);
    EXPECT_FALSE(MoveFileA("save\\save.dat", "save\\x.dat"));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST_F(cFilesTest, TheWorkingFolderIsReadAndSetInTheProgramsForm)
{
    const std::string expected = ProgramForm(m_Folder.Path());
    char buffer[MAX_PATH];
    EXPECT_EQ(GetCurrentDirectoryA(MAX_PATH, buffer), expected.size());
    EXPECT_STREQ(buffer, expected.c_str());

    char tooSmall[4] = "abc";
    EXPECT_EQ(GetCurrentDirectoryA(sizeof tooSmall, tooSmall), expected.size() + 1);
    EXPECT_STREQ(tooSmall, "abc");

    EXPECT_TRUE(SetCurrentDirectoryA("DATA\\ソ"));
    EXPECT_EQ(fs::current_path(), m_Folder.Path() / u8"data/ソ");
    const std::string inside = expected + "\\data\\ソ";
    EXPECT_EQ(GetCurrentDirectoryA(MAX_PATH, buffer), inside.size());
    EXPECT_EQ(Cp932(buffer), Cp932(inside));
    EXPECT_FALSE(SetCurrentDirectoryA("none"));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST_F(cFilesTest, AWorkingFolderWithoutACp932FormCannotBeRead)
{
    for (const char* name : {u8"é", u8"¥"}) {
        fs::create_directory(m_Folder.Path() / name);
        fs::current_path(m_Folder.Path() / name);
        char buffer[MAX_PATH] = "unchanged";
        EXPECT_EQ(GetCurrentDirectoryA(MAX_PATH, buffer), 0u) << name;
        EXPECT_STREQ(buffer, "unchanged");
        EXPECT_EQ(GetFullPathNameA("a.txt", MAX_PATH, buffer, nullptr), 0u) << name;
        fs::current_path(m_Folder.Path());
    }
}

TEST(ToProgramPath, WritesLinuxPathsWithBackslashesInCp932)
{
    struct Case { const char* native; bool ok; const char* program; } cases[] = {
        {"/home/ann/game/data/System.dat", true, "\\home\\ann\\game\\data\\System.dat"},
        {"/", true, "\\"},
        {"/tmp//x/", true, "\\tmp\\x"},
        {u8"/tmp/ソ/表", true, "\\tmp\\ソ\\表"},
        {u8"/tmp/é", false, ""},
        {u8"/tmp/¥", false, ""},       // would come back as a backslash
        {"/tmp/a\\b", false, ""},      // a backslash inside a Linux name
        {"relative/x", false, ""},
        {"", false, ""},
    };
    for (const auto& c : cases) {
        std::string program = "unchanged";
        EXPECT_EQ(plat::ToProgramPath(c.native, program), c.ok) << c.native;
        EXPECT_EQ(Cp932(program), Cp932(c.ok ? c.program : "unchanged")) << c.native;
    }
}

// Fonts and the sound font are opened by their libraries, which wait for ever on a named pipe.
TEST_F(cFilesTest, OnlyARegularFileCountsAsOneALibraryMayOpenByPath)
{
    const fs::path here = m_Folder.Path();
    ASSERT_EQ(mkfifo((here / "pipe.ttf").c_str(), 0600), 0);
    fs::create_symlink(here / "bmp" / "Title.BMP", here / "link.ttf");
    fs::create_symlink(here / "pipe.ttf", here / "pipe-link.ttf");
    struct Case { const char* name; bool regular; } cases[] = {
        {"bmp/Title.BMP", true},
        {"link.ttf", true},
        {"pipe.ttf", false},
        {"pipe-link.ttf", false},
        {"bmp", false},
        {"missing.ttf", false},
    };
    for (const Case& c : cases) EXPECT_EQ(plat::IsRegularNativeFile((here / c.name).string()), c.regular) << c.name;
}

TEST_F(cFilesTest, FullPathNamesResolveDotsAgainstTheWorkingFolder)
{
    const std::string here = ProgramForm(m_Folder.Path());
    const std::string parent = ProgramForm(m_Folder.Path().parent_path());
    struct Case { const char* path; std::string full; const char* filePart; } cases[] = {
        {"a.txt", here + "\\a.txt", "a.txt"},
        {".\\a.txt", here + "\\a.txt", "a.txt"},
        {"..\\a.txt", parent + "\\a.txt", "a.txt"},
        {"default\\", here + "\\default\\", nullptr},
        {".", here, nullptr},
        {"data/x\\\\y", here + "\\data\\x\\y", "y"},
        {"表\\..\\ソ", here + "\\ソ", "ソ"},
        {"\\x\\..\\y", "\\y", "y"},
        {"\\..\\..", "\\", nullptr},
    };
    for (const auto& c : cases) {
        char buffer[MAX_PATH];
        char* filePart = buffer;
        ASSERT_EQ(GetFullPathNameA(c.path, MAX_PATH, buffer, &filePart), c.full.size()) << c.path;
        EXPECT_EQ(Cp932(buffer), Cp932(c.full));
        if (c.filePart) {
            EXPECT_EQ(Cp932(filePart), Cp932(c.filePart));
        } else if (c.full != here) {
            EXPECT_EQ(filePart, nullptr) << c.path;
        }
    }
    char small[8];
    EXPECT_EQ(GetFullPathNameA("a.txt", sizeof small, small, nullptr), here.size() + 7);
    EXPECT_EQ(GetFullPathNameA("", MAX_PATH, small, nullptr), 0u);
}

TEST(PathIsRelativeA, OnlyALeadingSeparatorMakesAPathAbsolute)
{
    struct Case { const char* path; BOOL relative; } cases[] = {
        {"a", TRUE}, {".\\a", TRUE}, {"..\\a", TRUE}, {"", TRUE},
        {"\\a", FALSE}, {"/a", FALSE}, {"\\", FALSE},
        {"表\\a", TRUE},
    };
    for (const auto& c : cases) EXPECT_EQ(PathIsRelativeA(c.path), c.relative) << c.path;
}

TEST(PathRelativePathToA, StepsFromTheFolderToTheFileAsWindowsDoes)
{
    constexpr DWORD kFolder = FILE_ATTRIBUTE_DIRECTORY;
    constexpr DWORD kFile = FILE_ATTRIBUTE_NORMAL;
    struct Case { const char* from; DWORD fromAttributes; const char* to; BOOL ok; const char* relative; } cases[] = {
        {"\\home\\ann\\game", kFolder, "\\home\\ann\\game\\a.stg4_100", TRUE, ".\\a.stg4_100"},
        {"\\home\\ann\\game", kFolder, "\\home\\ann\\game\\data\\System.dat", TRUE, ".\\data\\System.dat"},
        {"\\home\\ann\\game\\", kFolder, "\\home\\ann\\other\\a.txt", TRUE, "..\\other\\a.txt"},
        {"\\home\\ann\\game", kFolder, "\\usr\\a.txt", TRUE, "..\\..\\..\\usr\\a.txt"},
        {"\\home\\ann\\game", kFolder, "\\HOME\\Ann\\Game\\a.txt", TRUE, ".\\a.txt"},
        {"\\home\\ann\\game\\b.txt", kFile, "\\home\\ann\\game\\c.txt", TRUE, ".\\c.txt"},
        {"\\表", kFolder, "\\表\\a", TRUE, ".\\a"},
        {"\\ア", kFolder, "\\ヂ\\a", TRUE, "..\\ヂ\\a"},   // 83 41 and 83 61: second bytes 'A' and 'a'
        {"data", kFolder, "data\\x", TRUE, ".\\x"},
        {"\\a", kFolder, "b", FALSE, ""},
        {"a", kFolder, "b\\c", FALSE, ""},
    };
    for (const auto& c : cases) {
        char out[MAX_PATH] = "unchanged";
        EXPECT_EQ(PathRelativePathToA(out, c.from, c.fromAttributes, c.to, kFile), c.ok) << c.to;
        EXPECT_EQ(Cp932(out), Cp932(c.relative)) << qbtest::DescribeCp932(c.to);
    }
}

TEST_F(cFilesTest, SeveralThreadsCreateAndFindFilesInOneFolder)
{
    ASSERT_TRUE(CreateDirectoryA("shared", nullptr));
    constexpr int kThreads = 4;
    constexpr int kFiles = 40;
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([t, &failures] {
            for (int i = 0; i < kFiles; ++i) {
                const std::string name = "shared\\T" + std::to_string(t) + "_" + std::to_string(i) + ".dat";
                cFile file = Open(name.c_str(), "wb");
                if (!file) ++failures;
            }
            for (int i = 0; i < kFiles; ++i) {
                const std::string name = "SHARED\\t" + std::to_string(t) + "_" + std::to_string(i) + ".DAT";
                if (GetFileAttributesA(name.c_str()) != FILE_ATTRIBUTE_NORMAL) ++failures;
            }
        });
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(failures.load(), 0);
    EXPECT_EQ(NamesIn(m_Folder.Path() / "shared").size(), static_cast<std::size_t>(kThreads * kFiles));
}
