#include "shell/system_report.h"

#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "shell/log.h"
#include "tests/support/temp_folder.h"

namespace {

constexpr std::uint64_t kMB = 1048576;

std::vector<std::string> ReportLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

DISPLAYREPORT g_Display;
bool g_bDisplayUp = false;
bool ProvideDisplay(DISPLAYREPORT& report)
{
    report = g_Display;
    return g_bDisplayUp;
}

class SystemReportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_Folder.ChangeInto();
        ASSERT_TRUE(OpenReportFile("Report_Game.txt"));
    }
    void TearDown() override { SetDisplayReportProvider(nullptr); }
    std::string Report() const { return m_Folder.ReadFile("Report_Game.txt"); }

    qbtest::cTempFolder m_Folder;
};

}  // namespace

TEST_F(SystemReportTest, SystemReportLinesHaveTheirFormats)
{
    SYSTEMREPORT report;
    report.strOS = "Linux 6.1.0 PID 2 Build 1";
    report.strCpuVendor = "GenuineIntel";
    report.strCpuBrand = "Some CPU @ 2.60GHz";
    report.dCpuClockHz = 2599998000.0;
    report.qwMemTotal = 8192 * kMB + kMB / 2;
    report.qwMemFree = 1234 * kMB + kMB / 4;
    report.qwVirTotal = 3 * kMB;
    report.qwVirFree = 5 * kMB / 4;
    report.qwDiskFree = 100 * kMB;
    EXPECT_EQ(FormatSystemReport(report),
              "OS : Linux 6.1.0 PID 2 Build 1\n"
              "CPU : GenuineIntel Some CPU @ 2.60GHz 2599\n"
              "Mem Total : 8192.500MB\n"
              "Mem Free : 1234MB\n"
              "Vir Total : 3.000MB\n"
              "Vir Free :   1MB\n"
              "HD Free : 100MB\n");
}

TEST_F(SystemReportTest, FreeDiskSpaceIsCappedBelowTwoGigabytes)
{
    struct Case { std::uint64_t bytes; const char* line; } cases[] = {
        {0, "HD Free :   0MB\n"},
        {kMB, "HD Free :   1MB\n"},
        {2147483647, "HD Free : 2048MB\n"},
        {std::uint64_t(3) << 30, "HD Free : 2048MB\n"},
        {std::uint64_t(1) << 40, "HD Free : 2048MB\n"},
    };
    for (const auto& c : cases) {
        SYSTEMREPORT report;
        report.qwDiskFree = c.bytes;
        const std::string text = FormatSystemReport(report);
        EXPECT_EQ(text.substr(text.rfind("HD Free")), c.line) << c.bytes;
    }
}

TEST_F(SystemReportTest, WrittenSystemReportDescribesThisMachine)
{
    ASSERT_TRUE(WriteSystemReport());
    const char* shapes[] = {
        "OS : \\S+ \\S+ PID 2 Build \\d+",
        "CPU : .* \\d+",
        "Mem Total : \\d+\\.\\d{3}MB",
        "Mem Free : [ \\d]{3,}MB",
        "Vir Total : \\d+\\.\\d{3}MB",
        "Vir Free : [ \\d]{3,}MB",
        "HD Free : [ \\d]{3,}MB",
    };
    const auto lines = ReportLines(Report());
    ASSERT_EQ(lines.size(), std::size(shapes));
    for (std::size_t i = 0; i < lines.size(); ++i)
        EXPECT_TRUE(std::regex_match(lines[i], std::regex(shapes[i]))) << lines[i];
    const SYSTEMREPORT report = CollectSystemReport();
    EXPECT_GT(report.qwMemTotal, 0u);
    EXPECT_LE(report.qwMemFree, report.qwMemTotal);
    EXPECT_LE(report.qwVirFree, report.qwVirTotal);
}

TEST_F(SystemReportTest, WriteSystemReportFailsWithoutAReportFile)
{
    std::filesystem::remove(m_Folder.Path() / "Report_Game.txt");
    EXPECT_FALSE(WriteSystemReport());
    EXPECT_FALSE(WriteDisplayReport(1));
}

TEST_F(SystemReportTest, RunsAsAModernSystem)
{
    std::string name;
    int major = 0, minor = -1;
    GetOSName(&name, &major, &minor);
    EXPECT_TRUE(std::regex_match(name, std::regex("\\S+ \\S+ PID 2 Build \\d+"))) << name;
    GetOSName(nullptr, nullptr, nullptr);
    struct Case { int major, minor; bool atLeast; } cases[] = {
        {5, 1, true}, {6, 0, true}, {6, 1, true}, {99, 0, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsWindowsVersionAtLeast(c.major, c.minor), c.atLeast) << c.major << "." << c.minor;
}

TEST_F(SystemReportTest, DisplayReportWithoutGraphicsIsAWindowOfNoDepth)
{
    ASSERT_TRUE(WriteDisplayReport(1));
    EXPECT_EQ(Report(), "Mode : Window\nBpp : 0\n");
    DWORD total = 5, free = 5;
    GetVideoMemoryMB(&total, &free);
    EXPECT_EQ(total, 0u);
    EXPECT_EQ(free, 0u);
    EXPECT_EQ(GetDDIVersion(), 99999);
}

TEST_F(SystemReportTest, DisplayReportLinesComeFromTheGraphicsLayer)
{
    g_Display = DISPLAYREPORT();
    g_Display.bFullScreen = true;
    g_Display.nBpp = 16;
    g_Display.bDirectDraw = true;
    g_Display.dwVramTotal = 64 * kMB + kMB / 2;
    g_Display.dwVramFree = 3 * kMB / 4;
    g_Display.dwRefreshRate = 60;
    g_bDisplayUp = true;
    SetDisplayReportProvider(ProvideDisplay);
    ASSERT_TRUE(WriteDisplayReport(1));
    EXPECT_EQ(Report(), "Mode : Fullscreen\nBpp : 16\nVRAM Total : 64.500MB\nVRAM Free : 0.750MB\nRR : 60\n");
    DWORD total = 0, free = 0;
    GetVideoMemoryMB(&total, &free);
    EXPECT_EQ(total, 64u);
    EXPECT_EQ(free, 0u);

    ASSERT_TRUE(OpenReportFile("Report_Game.txt"));
    g_Display = DISPLAYREPORT();
    g_Display.nBpp = 32;
    g_Display.bDirect3D = true;
    g_Display.dwTextureMem = 256 * kMB + 5;
    g_Display.strDevice = "software";
    g_Display.nMaxTextureWidth = 4096;
    g_Display.nMaxTextureHeight = 2048;
    g_Display.nMaxTextureBlendStages = 8;
    g_Display.nMaxSimultaneousTextures = 4;
    g_Display.bTexturePow2 = true;
    g_Display.bDynamicTextures = true;
    ASSERT_TRUE(WriteDisplayReport(1));
    EXPECT_EQ(Report(),
              "Mode : Window\nBpp : 32\n"
              "TextureMem : 256MB\n"
              "---デバイス0\n"
              "Destination : software\n"
              "TextureMaxSize : (4096,2048)\n"
              "TextureMaxBlend : (8,4)\n"
              "D3DPTEXTURECAPS_POW2\n"
              "D3DCAPS2_DYNAMICTEXTURES\n");

    // A graphics layer that is not up tells nothing.
    g_bDisplayUp = false;
    ASSERT_TRUE(OpenReportFile("Report_Game.txt"));
    ASSERT_TRUE(WriteDisplayReport(0));
    EXPECT_EQ(Report(), "Mode : Window\nBpp : 0\n");
}
