// The game manager's frame under DirectDraw: the finished back buffer reaches the presenter
// in a window and full screen (flipped or copied), and lost surfaces of every program-wide
// container come back after a simulated loss.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "graphics/font_digit_surfaces.h"
#include "graphics/stage_picture_surfaces.h"
#include "play/game_manager.h"
#include "shell/shared_flags.h"
#include "tests/graphics/blit_reference.h"
#include "tests/graphics/graphics_fixture.h"

namespace {

using qbtest::cDisplayMode;
using qbtest::cImage;

class GameManagerDirectDraw : public qbtest::cGraphicsTest {
protected:
    void TearDown() override
    {
        for (cSafeVector<DDSURFACEDATA>* v : {&g_CharaSurface, &g_EffectSurface, &g_SwordSurface, &g_SceneSurface}) {
            DDReleaseSurfaceVector(v);
            v->clear();
        }
        for (cSafeList<DDSURFACEDATA>* l : {&g_PictureSurface, &Off_Msg}) {
            DDReleaseSurfaceList(l);
            l->clear();
        }
        for (cSafeVector<SURFACEINFO>* v : {&g_CharaSurfaceInfo, &g_EffectSurfaceInfo, &g_SwordSurfaceInfo, &g_SceneSurfaceInfo})
            v->clear();
        g_PictureSurfaceInfo.clear();
        Off_MsgInfo.clear();
        for (DDSURFACEDATA& sd : g_FontDigitSurface) {
            DDReleaseSurface(&sd);
            ClearSurfaceData(&sd);
        }
        g_bPresentByBlt.store(0);
        plat::ResetPresenter();
        qbtest::cGraphicsTest::TearDown();
    }
    cGameManager m_Manager;
};

// --- presentation -----------------------------------------------------------------------

// What the back buffer holds at (x, y), as a stored pixel of its depth, and the colour the
// screen shows for it.
std::uint32_t StoredPixel(int bpp, int x, int y)
{
    switch (bpp) {
    case 8: return static_cast<std::uint32_t>(x + 3 * y) & 0xFF;
    case 16: return static_cast<std::uint32_t>(x * 37 + y * 1021) & 0xFFFF;
    default: return (static_cast<std::uint32_t>(x) << 14 ^ static_cast<std::uint32_t>(y) * 0x010203u) & 0xFFFFFF;
    }
}

PALETTEENTRY PaletteEntry(std::uint32_t i)
{
    return PALETTEENTRY{static_cast<BYTE>(i), static_cast<BYTE>(255 - i), static_cast<BYTE>(i * 3), 0};
}

std::uint32_t ShownColour(int bpp, std::uint32_t p)
{
    switch (bpp) {
    case 8: {
        const PALETTEENTRY e = PaletteEntry(p);
        return 0xFF000000u | static_cast<std::uint32_t>(e.peRed) << 16 | e.peGreen << 8 | e.peBlue;
    }
    case 16:
        return 0xFF000000u | qbtest::RefWiden5(p >> 11) << 16 | qbtest::RefWiden6((p >> 5) & 63) << 8 |
               qbtest::RefWiden5(p & 31);
    default: return 0xFF000000u | p;
    }
}

TEST_F(GameManagerDirectDraw, AFrameReachesThePresenterWithTheBackBuffersPixels)
{
    struct Case { cDisplayMode mode; int desktopBpp; int presentByBlt; const char* name; } cases[] = {
        {{FALSE, 32, 1}, 32, 0, "window, 32 bits"},
        {{FALSE, 16, 1}, 16, 0, "window, 16 bits"},
        {{FALSE, 32, 0}, 32, 0, "full screen flipped, 32 bits"},
        {{FALSE, 32, 0}, 32, 1, "full screen copied, 32 bits"},
        {{FALSE, 16, 0}, 32, 0, "full screen flipped, 16 bits"},
        {{FALSE, 8, 0}, 32, 0, "full screen flipped, 8 bits"},
        {{FALSE, 8, 0}, 32, 1, "full screen copied, 8 bits"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        plat::SetDesktopBitsPerPixel(c.desktopBpp);
        ASSERT_TRUE(Init(c.mode));
        g_bPresentByBlt.store(c.presentByBlt);
        if (c.mode.nBpp == 8) {
            PALETTEENTRY entries[256];
            for (std::uint32_t i = 0; i < 256; ++i) entries[i] = PaletteEntry(i);
            ASSERT_EQ(g_lpDDPalette->SetEntries(0, 0, 256, entries), DD_OK);
        }
        cImage back{640, 480, {}};
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x) back.px.push_back(StoredPixel(c.mode.nBpp, x, y));
        qbtest::WriteImage(&g_BackBuffer, back);
        const cImage screenBefore = qbtest::ReadImage(&g_Primary);
        ASSERT_NE(screenBefore, back);
        plat::ResetPresenter();

        m_Manager.Present();

        const plat::cFrame frame = plat::LastFrame();
        ASSERT_EQ(frame.nWidth, 640);
        ASSERT_EQ(frame.nHeight, 480);
        int wrong = 0;
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x) {
                const std::uint32_t expected = ShownColour(c.mode.nBpp, back.At(x, y));
                if (frame.argb[static_cast<std::size_t>(y) * 640 + x] != expected && wrong++ == 0)
                    ADD_FAILURE() << "first wrong pixel at (" << x << ", " << y << ")";
            }
        EXPECT_EQ(wrong, 0);
        // A copy leaves the back buffer as it was; a flip hands over the screen's old buffer.
        const bool copied = c.mode.nWindowMode == 1 || c.presentByBlt;
        EXPECT_EQ(qbtest::ReadImage(&g_BackBuffer), copied ? back : screenBefore);
        DDUninit();
    }
}

// --- surface loss -----------------------------------------------------------------------

// A 6 × 4 picture of distinct colours.
std::vector<std::uint32_t> PictureRgb()
{
    std::vector<std::uint32_t> rgb;
    for (std::uint32_t i = 0; i < 24; ++i) rgb.push_back(0x102030u + i * 0x0A0907u);
    return rgb;
}

cImage PictureAt32Bits()
{
    cImage image{6, 4, {}};
    for (std::uint32_t rgb : PictureRgb()) image.px.push_back(rgb);
    return image;
}

DDSURFACEDATA& NewRecord(std::vector<DDSURFACEDATA>& surfaces)
{
    surfaces.emplace_back();
    ClearSurfaceData(&surfaces.back());
    return surfaces.back();
}

DDSURFACEDATA& NewRecord(cSafeList<DDSURFACEDATA>& surfaces)
{
    surfaces.emplace_back();
    ClearSurfaceData(&surfaces.back());
    return surfaces.back();
}

bool IsLost(DDSURFACEDATA& sd) { return sd.lpDDraw->lpDDS->IsLost() == DDERR_SURFACELOST; }

TEST_F(GameManagerDirectDraw, ALossRestoresEveryContainerReloadingPicturesAndMarkingEmptySurfaces)
{
    ASSERT_TRUE(Init({FALSE, 32, 1}));
    Write("pic.bmp", qbtest::BuildBmp24(6, 4, PictureRgb()));
    const cImage drawn = qbtest::Pattern(6, 4, 7);

    // Per container: a picture file or an empty surface the owner drew, in video (0) or
    // system (1) memory.
    struct Case { const char* container; std::function<DDSURFACEDATA&()> add; bool file; int memType; } cases[] = {
        {"chara", []() -> DDSURFACEDATA& { return NewRecord(g_CharaSurface); }, true, 0},
        {"effect", []() -> DDSURFACEDATA& { return NewRecord(g_EffectSurface); }, true, 0},
        {"effect", []() -> DDSURFACEDATA& { return NewRecord(g_EffectSurface); }, true, 1},
        {"sword", []() -> DDSURFACEDATA& { return NewRecord(g_SwordSurface); }, true, 0},
        {"picture", []() -> DDSURFACEDATA& { return NewRecord(g_PictureSurface); }, true, 0},
        {"scene", []() -> DDSURFACEDATA& { return NewRecord(g_SceneSurface); }, false, 0},
        {"scene", []() -> DDSURFACEDATA& { return NewRecord(g_SceneSurface); }, false, 1},
        {"message", []() -> DDSURFACEDATA& { return NewRecord(Off_Msg); }, false, 0},
    };
    for (const Case& c : cases) {
        DDSURFACEDATA& sd = c.add();
        if (c.file) {
            ASSERT_EQ(DDCreateSurfaceFromFile(&sd, "pic.bmp", TRUE, 32, c.memType, 0, nullptr, nullptr, 0, 0, FALSE), 0);
        } else {
            ASSERT_TRUE(DDCreateSurface(&sd, 6, 4, FALSE, c.memType, 0, nullptr, FALSE));
            qbtest::WriteImage(&sd, drawn);
        }
    }
    // Records of a vector move while it grows: they are taken once all are made, in the
    // order of the cases.
    std::vector<DDSURFACEDATA*> records;
    for (DDSURFACEDATA& sd : g_CharaSurface) records.push_back(&sd);
    for (DDSURFACEDATA& sd : g_EffectSurface) records.push_back(&sd);
    for (DDSURFACEDATA& sd : g_SwordSurface) records.push_back(&sd);
    for (DDSURFACEDATA& sd : g_PictureSurface) records.push_back(&sd);
    for (DDSURFACEDATA& sd : g_SceneSurface) records.push_back(&sd);
    for (DDSURFACEDATA& sd : Off_Msg) records.push_back(&sd);
    ASSERT_EQ(records.size(), std::size(cases));
    ASSERT_TRUE(DDCreateSurface(&g_FontDigitSurface[0], 60, 10, TRUE, 0, 0, nullptr, FALSE));

    EXPECT_TRUE(m_Manager.RestoreLostSurfaces()) << "nothing lost";
    for (DDSURFACEDATA* sd : records) EXPECT_FALSE(sd->bLost);

    plat::SimulateDDrawSurfaceLoss();
    ASSERT_TRUE(IsLost(g_Primary));
    ASSERT_TRUE(m_Manager.RestoreLostSurfaces());

    EXPECT_FALSE(IsLost(g_Primary));
    EXPECT_FALSE(IsLost(g_BackBuffer));
    EXPECT_FALSE(IsLost(g_FontDigitSurface[0]));
    for (std::size_t i = 0; i < records.size(); ++i) {
        const Case& c = cases[i];
        DDSURFACEDATA* sd = records[i];
        SCOPED_TRACE(testing::Message() << c.container << (c.file ? " picture" : " empty") << " in memory " << c.memType);
        EXPECT_FALSE(IsLost(*sd));
        // Video memory is marked for its owner; system memory never was lost.
        EXPECT_EQ(sd->bLost != 0, c.memType == 0);
        if (c.file) {
            EXPECT_EQ(qbtest::ReadImage(sd), PictureAt32Bits());
        } else if (c.memType == 1) {
            EXPECT_EQ(qbtest::ReadImage(sd), drawn);
        }
    }
    EXPECT_NE(EcLogText().find("if ( !RestoreSurface(Off_Msg) ) Off_Msg[0].bLost = 1\n"), std::string::npos);
}

TEST_F(GameManagerDirectDraw, ASurfaceThatCannotComeBackEndsTheGame)
{
    struct Case { const char* name; bool removeFile; bool failRestore; bool font; } cases[] = {
        {"its picture file is gone", true, false, false},
        {"its restore fails", false, true, false},
        {"a font digit surface's restore fails", false, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(Init({FALSE, 32, 1}));
        Write("pic.bmp", qbtest::BuildBmp24(6, 4, PictureRgb()));
        DDSURFACEDATA& sd = c.font ? g_FontDigitSurface[1] : NewRecord(g_SwordSurface);
        if (c.font) ASSERT_TRUE(DDCreateSurface(&sd, 60, 10, TRUE, 0, 0, nullptr, FALSE));
        else ASSERT_EQ(DDCreateSurfaceFromFile(&sd, "pic.bmp", TRUE, 32, 0, 0, nullptr, nullptr, 0, 0, FALSE), 0);
        plat::SimulateDDrawSurfaceLoss();
        if (c.removeFile) std::filesystem::remove(m_Folder.Path() / "pic.bmp");
        // The primary and the back buffer come back; the surface under test does not.
        if (c.failRestore) plat::FailDeviceCall("IDirectDrawSurface7::Restore", 1, 2);
        EXPECT_FALSE(m_Manager.RunFrame());
        EXPECT_FALSE(IsLost(g_Primary));
        plat::ClearDeviceFaults();
        DDReleaseSurface(&sd);
        g_SwordSurface.clear();
        DDUninit();
    }
}

TEST_F(GameManagerDirectDraw, OnlyLostSurfacesAreTouchedAndUnderDirect3DNothingIs)
{
    ASSERT_TRUE(Init({FALSE, 32, 1}));
    DDSURFACEDATA& sd = NewRecord(Off_Msg);
    ASSERT_TRUE(DDCreateSurface(&sd, 6, 4, FALSE, 0, 0, nullptr, FALSE));
    const cImage drawn = qbtest::Pattern(6, 4, 3);
    qbtest::WriteImage(&sd, drawn);
    EXPECT_TRUE(cGameManager::RestoreOneSurface(sd));
    EXPECT_FALSE(sd.bLost);
    EXPECT_EQ(qbtest::ReadImage(&sd), drawn);
    EXPECT_TRUE(cGameManager::RestoreFontSurfaces(nullptr, 3));
    DDReleaseSurface(&sd);
    Off_Msg.clear();
    DDUninit();

    ASSERT_TRUE(Init({TRUE, 32, 1}));
    EXPECT_TRUE(m_Manager.RestoreLostSurfaces());
    EXPECT_EQ(EcLogText().find("D3DではDDRestoreは未対応"), std::string::npos) << "Direct3D restores nothing here";
}

}  // namespace
