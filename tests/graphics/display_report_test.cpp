// The display report once the graphics layer is up: mode and depth, the DirectDraw object's
// video memory and refresh rate, the Direct3D device's capabilities.
#include "tests/graphics/graphics_fixture.h"

#include <cstdio>
#include <string>

#include "shell/system_report.h"

namespace {

using qbtest::cDisplayMode;

class DisplayReport : public qbtest::cGraphicsTest {
protected:
    void SetUp() override
    {
        qbtest::cGraphicsTest::SetUp();
        ASSERT_TRUE(OpenReportFile("Report_Game.txt"));
    }
    void TearDown() override
    {
        plat::SetDDrawVideoMemoryLimit(0);
        qbtest::cGraphicsTest::TearDown();
    }
    // The report file holds this run's display report only.
    std::string WrittenReport() const
    {
        EXPECT_TRUE(OpenReportFile("Report_Game.txt"));
        EXPECT_TRUE(WriteDisplayReport(1));
        return m_Folder.ReadFile("Report_Game.txt");
    }
};

constexpr double kMB = 1048576.0;

std::string Line(const char* format, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

TEST_F(DisplayReport, DirectDrawTellsModeDepthVideoMemoryAndRefreshRate)
{
    // Our DirectDraw object has 256 MB of video memory unless a limit is set; the primary, and
    // the back buffer (in a window an off-screen surface, full screen the flip chain's), take
    // 640 × 480 pixels each of it. The display's refresh rate is not known headless: 60.
    struct Case { cDisplayMode mode; int desktopBpp; std::size_t limit; double totalMB; const char* shown; } cases[] = {
        {{FALSE, 32, 1}, 32, 0, 256, "Window"},
        {{FALSE, 16, 1}, 16, 0, 256, "Window"},
        {{FALSE, 32, 0}, 32, 0, 256, "Fullscreen"},
        {{FALSE, 16, 0}, 32, 32u << 20, 32, "Fullscreen"},
        {{FALSE, 8, 0}, 32, 3u << 20, 3, "Fullscreen"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.shown << " " << c.mode.nBpp << " bits, limit " << c.limit);
        plat::SetDesktopBitsPerPixel(c.desktopBpp);
        plat::SetDDrawVideoMemoryLimit(c.limit);
        ASSERT_TRUE(Init(c.mode));
        const double usedMB = 2 * 640 * 480 * (c.mode.nBpp / 8) / kMB;
        const std::string expected = std::string("Mode : ") + c.shown + "\n" + "Bpp : " + std::to_string(c.mode.nBpp) +
                                     "\n" + Line("VRAM Total : %.3fMB\n", c.totalMB) +
                                     Line("VRAM Free : %.3fMB\n", c.totalMB - usedMB) + "RR : 60\n";
        EXPECT_EQ(WrittenReport(), expected);
        DWORD total = 0, free = 0;
        GetVideoMemoryMB(&total, &free);
        EXPECT_EQ(total, static_cast<DWORD>(c.totalMB));
        EXPECT_EQ(free, static_cast<DWORD>(c.totalMB - usedMB));
        DDUninit();
    }
    EXPECT_EQ(WrittenReport(), "Mode : Window\nBpp : 0\n") << "a graphics layer that is down tells nothing";
}

TEST_F(DisplayReport, VideoMemoryInUseBeyondTheTotalLeavesNoneFree)
{
    // The flip chain is made whatever the limit; it then takes more than the limit.
    plat::SetDDrawVideoMemoryLimit(1u << 20);
    ASSERT_TRUE(Init({FALSE, 32, 0}));
    const std::string report = WrittenReport();
    EXPECT_NE(report.find("VRAM Total : 1.000MB\nVRAM Free : 0.000MB\n"), std::string::npos) << report;
}

TEST_F(DisplayReport, Direct3DTellsItsModeDepthAndCapabilities)
{
    D3DCAPS9 caps = plat::DefaultD3DCaps();
    caps.MaxTextureWidth = 4096;
    caps.MaxTextureHeight = 2048;
    caps.TextureCaps = D3DPTEXTURECAPS_POW2 | D3DPTEXTURECAPS_SQUAREONLY;
    caps.Caps2 = 0;
    caps.Caps3 = D3DCAPS3_ALPHA_FULLSCREEN_FLIP_OR_DISCARD;
    plat::SetD3DCaps(caps);
    struct Case { cDisplayMode mode; const char* first; } cases[] = {
        {{TRUE, 32, 1}, "Mode : Window\nBpp : 32\n"},
        {{TRUE, 16, 0}, "Mode : Fullscreen\nBpp : 16\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.first);
        ASSERT_TRUE(Init(c.mode));
        const std::string report = WrittenReport();
        EXPECT_EQ(report.rfind(c.first, 0), 0u) << report;
        EXPECT_EQ(report.find("VRAM"), std::string::npos) << "no DirectDraw object";
        EXPECT_EQ(report.find("RR : "), std::string::npos);
        for (const char* line : {"---デバイス0\n", "TextureMaxSize : (4096,2048)\n", "D3DCAPS3_ALPHA_FULLSCREEN_FLIP_OR_DISCARD\n",
                                 "D3DPTEXTURECAPS_POW2\n", "D3DPTEXTURECAPS_SQUAREONLY\n"})
            EXPECT_NE(report.find(line), std::string::npos) << line << " in " << report;
        EXPECT_EQ(report.find("D3DCAPS2_DYNAMICTEXTURES"), std::string::npos);
        DDUninit();
    }
}

}  // namespace
