#include "shell/log.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/os/message_box.h"
#include "platform/os/messages.h"
#include "tests/support/temp_folder.h"

namespace {

class LogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_Folder.ChangeInto();
        ASSERT_TRUE(OpenReportFile("Report_Game.txt"));
        SetEcLogFile(0, "EC_Game.txt");
    }
    void TearDown() override
    {
        SetEcLogFile(0, "EC_Game.txt");
        plat::SetBoxAnswerSource(nullptr);
    }
    std::string Report() const { return m_Folder.ReadFile("Report_Game.txt"); }
    std::string EcText() const { return m_Folder.ReadFile("EC_Game.txt"); }

    qbtest::cTempFolder m_Folder;
};

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

int g_nBoxes = 0;
std::string g_strBoxText;
int CountBox(UINT, const char* textUtf8)
{
    ++g_nBoxes;
    g_strBoxText = textUtf8;
    return 0;
}

}  // namespace

TEST_F(LogTest, ErrorCheckLogOffWritesNothingAndCreatesNoFile)
{
    EcLog("trace");
    EcLogString("trace");
    EcLogF("trace %d", 1);
    EXPECT_TRUE(ReportLogEcho("echoed %d", 2));
    EXPECT_FALSE(m_Folder.Exists("EC_Game.txt"));
    EXPECT_EQ(Report(), "echoed 2\n");
}

TEST_F(LogTest, ErrorCheckLogOnTruncatesAtTheFirstLineThenAppends)
{
    m_Folder.WriteFile("EC_Game.txt", "left from the previous run\n");
    SetEcLogFile(1, "EC_Game.txt");
    EcLog("one");
    EXPECT_EQ(EcText(), "one\n");
    EcLogF("two %d", 2);
    EcLogString("three");
    ReportLogEcho("four %s", "4");
    EXPECT_EQ(EcText(), "one\ntwo 2\nthree\nfour 4\n");
    EXPECT_EQ(Report(), "four 4\n");
}

TEST_F(LogTest, AlreadyFormattedTextWithPercentSignsIsWrittenUnchanged)
{
    SetEcLogFile(1, "EC_Game.txt");
    EXPECT_TRUE(ReportLogEcho("%s", "rate 100%d %s"));
    EcLog("ec 50%d");
    EXPECT_EQ(Report(), "rate 100%d %s\n");
    EXPECT_EQ(EcText(), "rate 100%d %s\nec 50%d\n");
}

TEST_F(LogTest, ReportFileIsTruncatedWhenOpenedAndLinesAppend)
{
    EXPECT_TRUE(ReportLog("App : ver %s", "692"));
    EXPECT_TRUE(OpenReportFile("Report_Game.txt"));
    EXPECT_EQ(Report(), "");
    EXPECT_TRUE(ReportLog("App : ver %s", "692"));
    EXPECT_TRUE(ReportLog("second"));
    EXPECT_EQ(Report(), "App : ver 692\nsecond\n");
}

TEST_F(LogTest, AReportFileThatCannotBeOpenedDropsTheLine)
{
    EXPECT_FALSE(OpenReportFile("no_such_folder\\Report_Game.txt"));
    // The earlier report file stays the one written to.
    EXPECT_TRUE(ReportLog("kept"));
    EXPECT_EQ(Report(), "kept\n");

    std::filesystem::remove(m_Folder.Path() / "Report_Game.txt");
    EXPECT_FALSE(ReportLog("dropped"));
    // Lines append to an existing file only: a removed report file is not made again.
    EXPECT_FALSE(m_Folder.Exists("Report_Game.txt"));
}

TEST_F(LogTest, LogFilesAreOpenedThroughTheProgramsPathForm)
{
    // CP932 names in backslash form become UTF-8 files in folders on disk.
    std::filesystem::create_directory(m_Folder.Path() / u8"ログ");
    ASSERT_TRUE(OpenReportFile("ログ\\報告.txt"));
    EXPECT_TRUE(ReportLog("line"));
    EXPECT_EQ(m_Folder.ReadFile(u8"ログ/報告.txt"), "line\n");
    SetEcLogFile(1, "ログ\\表示.txt");   // the second byte of 表 is a backslash
    EcLog("ec");
    EXPECT_EQ(m_Folder.ReadFile(u8"ログ/表示.txt"), "ec\n");
}

TEST_F(LogTest, LongTextsAreWrittenWhole)
{
    const std::string longText(5000, 'x');
    EXPECT_TRUE(ReportLog("%s|%d", longText.c_str(), 7));
    EXPECT_EQ(Report(), longText + "|7\n");
}

TEST_F(LogTest, ReportLogBoxShowsTheTextOnlyWhenTheReportWasWritten)
{
    g_nBoxes = 0;
    plat::SetBoxAnswerSource(CountBox);
    EXPECT_TRUE(ReportLogBox("failed %d%%", 5));
    EXPECT_EQ(g_nBoxes, 1);
    EXPECT_EQ(g_strBoxText, "failed 5%");
    EXPECT_EQ(Report(), "failed 5%\n");

    std::filesystem::remove(m_Folder.Path() / "Report_Game.txt");
    EXPECT_FALSE(ReportLogBox("not shown"));
    EXPECT_EQ(g_nBoxes, 1);
}

TEST_F(LogTest, EcLogFatalPostsCloseWhetherOrNotTheLogIsOn)
{
    HWND hWnd = plat::CreateWindowHandle(DefWindowProcA);
    ASSERT_NE(hWnd, nullptr);
    for (int enabled : {0, 1}) {
        SetEcLogFile(enabled, "EC_Game.txt");
        EcLogFatal(hWnd, "fatal %d", enabled);
        MSG msg{};
        ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) << enabled;
        EXPECT_EQ(msg.hwnd, hWnd);
        EXPECT_EQ(msg.message, WM_CLOSE);
        EXPECT_EQ(msg.wParam, 0u);
        EXPECT_EQ(msg.lParam, 0);
    }
    EXPECT_EQ(EcText(), "fatal 1\n");
    DestroyWindow(hWnd);
}

TEST_F(LogTest, LinesOfManyThreadsStayWhole)
{
    constexpr int kThreads = 8;
    constexpr int kLines = 500;
    SetEcLogFile(1, "EC_Game.txt");
    const std::string payload(150, 'p');
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &payload] {
            for (int i = 0; i < kLines; ++i) {
                ReportLog("thread %d line %d %s end", t, i, payload.c_str());
                EcLogF("ec %d %d %s end", t, i, payload.c_str());
            }
        });
    }
    for (auto& thread : threads) thread.join();

    const struct { std::string text; std::regex shape; } logs[] = {
        {Report(), std::regex("thread (\\d+) line (\\d+) p{150} end")},
        {EcText(), std::regex("ec (\\d+) (\\d+) p{150} end")},
    };
    for (const auto& log : logs) {
        const auto lines = Lines(log.text);
        ASSERT_EQ(lines.size(), size_t(kThreads * kLines));
        std::set<std::pair<int, int>> seen;
        for (const auto& line : lines) {
            std::smatch m;
            ASSERT_TRUE(std::regex_match(line, m, log.shape)) << line.substr(0, 80);
            seen.insert({std::stoi(m[1]), std::stoi(m[2])});
        }
        EXPECT_EQ(seen.size(), size_t(kThreads * kLines));
    }
}
