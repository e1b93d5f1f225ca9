#pragma once
// The stage draw on a real back buffer: the one stage fixture at 40 x 20 blocks without
// backgrounds, its camera at the top-left of the playfield, Direct3D at 32 bits (or DirectDraw
// at 16), palette colour 16 known, magenta the transparent colour, and pictures loaded into the
// standard surfaces from generated bitmaps. Everything it touches is put back.
#include <cstdint>
#include <optional>
#include <vector>

#include "graphics/standard_surfaces.h"
#include "graphics/surface.h"
#include "tests/graphics/blit_reference.h"
#include "tests/graphics/graphics_fixture.h"
#include "tests/stage/stage_fixture.h"

namespace qbtest {

constexpr std::uint32_t kColour16 = 0x123456;   // as the back buffer stores it
constexpr std::uint32_t kMagenta = 0xFF00FF;

class cStageDrawTest : public cGraphicsTest {
protected:
    void SetUp() override { SetUpDisplay({TRUE, 32, 1}); }
    void SetUpDisplay(const cDisplayMode& mode)
    {
        cGraphicsTest::SetUp();
        ASSERT_TRUE(Init(mode));
        DDSetTransmit(0xFF, 0x00, 0xFF);
        g_Palette[16] = PALETTEENTRY{0x12, 0x34, 0x56, 0};
        m_Stage.emplace(40, 20);
        g_StageData.m_Backgrounds.clear();
        m_Scene = &m_Stage->Scene();
        m_Scene->m_ScrollX.m_dPos = 320;
        m_Scene->m_ScrollY.m_dPos = 320;
    }
    void TearDown() override
    {
        // The scene goes before the graphics layer it drew on.
        m_Scene = nullptr;
        m_Stage.reset();
        for (DDSURFACEDATA& sd : g_StdSurface) {
            DDReleaseSurface(&sd);
            ClearSurfaceData(&sd);
        }
        cGraphicsTest::TearDown();
    }
    // Loads a w × h picture whose pixel (x, y) is colour(x, y) (0xRRGGBB) into standard surface i.
    template <class F>
    void LoadPicture(int i, int w, int h, F colour)
    {
        std::vector<std::uint32_t> rgb;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) rgb.push_back(colour(x, y));
        const std::string name = "picture" + std::to_string(i) + ".bmp";
        Write(name.c_str(), BuildBmp24(w, h, rgb));
        // The stage's set-up may have made this surface already (the shot cells): let it go first.
        DDReleaseSurface(&g_StdSurface[i]);
        ClearSurfaceData(&g_StdSurface[i]);
        ASSERT_EQ(DDCreateSurfaceFromFile(&g_StdSurface[i], name.c_str(), TRUE, g_nBpp, 0, 0, nullptr, nullptr, 0, 0, FALSE),
                  0);
    }
    cImage Screen() { return ReadImage(&g_BackBuffer); }
    void ClearScreen(std::uint32_t argb) { WriteImage(&g_BackBuffer, cImage{640, 480, std::vector<std::uint32_t>(640 * 480, argb)}); }

    std::optional<cStageFixture> m_Stage;
    cPlayScene* m_Scene = nullptr;
};

}  // namespace qbtest
