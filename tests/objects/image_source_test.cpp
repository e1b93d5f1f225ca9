#include <gtest/gtest.h>

#include <vector>

#include "objects/image_source.h"
#include "objects/object_base.h"

namespace {

// The 71 standard surfaces with every chara sheet 640 x 480 (20 cells by 15).
std::vector<DDSURFACEDATA> StandardSheets()
{
    std::vector<DDSURFACEDATA> surfaces(71);
    for (int i = 0; i < 71; ++i) {
        surfaces[i].nWidth = 640;
        surfaces[i].nHeight = 480;
    }
    return surfaces;
}

cSafeVector<cBmpCharaExcData> Bitmaps()
{
    cSafeVector<cBmpCharaExcData> bitmaps(5);
    bitmaps[1].m_bLargeCell = 1;
    bitmaps[1].m_nCellSize = 2;
    bitmaps[2].m_bLargeCell = 1;
    bitmaps[2].m_nCellSize = 0;    // outside 1..16: one cell
    bitmaps[3].m_bLargeCell = 1;
    bitmaps[3].m_nCellSize = 17;
    return bitmaps;
}

SURFACEREF S(int index) { return {SURFACELIST_STANDARD, index}; }
SURFACEREF O(int index) { return {SURFACELIST_OWNPICTURE, index}; }

}  // namespace

TEST(ImageSource, EachKindPicksItsSheetCellAndFacing)
{
    const std::vector<DDSURFACEDATA> surfaces = StandardSheets();
    const cSafeVector<cBmpCharaExcData> bitmaps = Bitmaps();
    const IMAGESHEETS sheets{surfaces.data(), 71, &bitmaps, 0};
    cGameObject left;
    left.m_nDirection = 0;
    cGameObject right;
    right.m_nDirection = 1;
    struct Case {
        const char* name;
        int user, kind, index, base, frame;
        const cGameObject* object;
        SURFACEREF surface, effect, opposite, oppositeEffect;
        int srcX, srcY, ownScaleFlag, ownScale;
    } cases[] = {
        {"block, last row", 1, 0, 14, 0, 0, &right, S(2), S(3), S(2), S(3), 0, 448, 0, 1},
        {"block, next column", 1, 0, 15, 0, 0, &right, S(2), S(3), S(2), S(3), 32, 0, 0, 1},
        {"chara facing right", 1, 1, 14, 3, 2, &right, S(5), S(23), S(4), S(22), 160, 448, 0, 1},
        {"chara facing left, second sheet", 1, 1, 15, 0, 0, &left, S(6), S(24), S(7), S(25), 0, 0, 0, 1},
        {"chara, last cell of the row", 1, 1, 0, 19, 0, &left, S(4), S(22), S(5), S(23), 608, 0, 0, 1},
        {"chara, past the sheet's width", 1, 1, 16, 20, 0, &left, S(4), S(22), S(7), S(25), 0, 0, 0, 1},
        {"chara, last sheet in the table", 1, 1, 15 * 17, 0, 0, &right, S(39), S(57), S(38), S(56), 0, 0, 0, 1},
        {"chara, sheet past the table", 1, 1, 15 * 34, 0, 0, &left, S(4), S(22), S(73), S(91), 0, 0, 0, 1},
        {"chara, negative image", 1, 1, -1, 0, 0, &left, S(4), S(22), S(5), S(23), 0, 0, 0, 1},
        {"chara without an object, right-facing base", 1, 1, 1, 25, 0, nullptr, S(5), S(23), SURFACEREF{}, SURFACEREF{}, 160, 32, 0, 1},
        {"item object", 2, 2, 16, 0, 1, &left, S(40), S(41), S(40), S(41), 96, 32, 0, 1},
        {"item, no object", 2, 2, 16, 0, 1, nullptr, S(40), S(41), S(40), S(41), 64, 32, 0, 1},
        {"shot of a chara facing right", 1, 3, 31, 0, 0, &right, S(64), S(64), S(63), S(63), 64, 32, 0, 1},
        {"shot without a chara", 2, 3, 29, 0, 0, &right, S(63), S(63), SURFACEREF{}, SURFACEREF{}, 0, 928, 0, 1},
        {"own picture, 2-cell grid", 1, 4, 1, 9, 0, &left, O(0), O(2), O(1), O(3), 64, 64, 1, 2},
        {"own picture facing right", 1, 4, 1, 9, 0, &right, O(1), O(3), O(0), O(2), 64, 64, 1, 2},
        {"own picture, cell size 0", 1, 4, 2, 17, 0, nullptr, O(4), O(6), SURFACEREF{}, SURFACEREF{}, 32, 32, 1, 1},
        {"own picture, cell size 17", 1, 4, 3, 16, 1, &left, O(8), O(10), O(9), O(11), 32, 32, 1, 1},
        {"own picture, plain cells", 1, 4, 4, 17, 0, nullptr, O(12), O(14), SURFACEREF{}, SURFACEREF{}, 32, 32, 0, 1},
    };
    for (const auto& c : cases) {
        cImageSource source;
        source.Set(c.user, c.kind, c.index, c.base, c.object, c.frame, sheets);
        EXPECT_EQ(source.m_Surface, c.surface) << c.name;
        EXPECT_EQ(source.m_EffectSurface, c.effect) << c.name;
        EXPECT_EQ(source.m_OppSurface, c.opposite) << c.name;
        EXPECT_EQ(source.m_OppEffectSurface, c.oppositeEffect) << c.name;
        EXPECT_EQ(source.m_nSrcX, c.srcX) << c.name;
        EXPECT_EQ(source.m_nSrcY, c.srcY) << c.name;
        EXPECT_EQ(source.m_bOwnScale, c.ownScaleFlag) << c.name;
        EXPECT_EQ(source.m_nOwnScale, c.ownScale) << c.name;
        EXPECT_EQ(source.m_ScaleSurface, source.m_EffectSurface) << c.name;
    }
}

TEST(ImageSource, VideoStretchScalesFromTheSheetsThemselves)
{
    const std::vector<DDSURFACEDATA> surfaces = StandardSheets();
    const IMAGESHEETS sheets{surfaces.data(), 71, nullptr, 1};
    cGameObject right;
    right.m_nDirection = 1;
    cImageSource source;
    source.Set(1, 1, 0, 0, &right, 0, sheets);
    EXPECT_EQ(source.m_ScaleSurface, S(5));
    EXPECT_EQ(source.m_ScaleBackSurface, S(4));
}

TEST(ImageSource, WorkSurfacesAndShotSheetsFollowTheDisplay)
{
    struct Sheets { int directDraw, stretch, mark, effect, large; } sheets[] = {
        {0, 0, 44, 68, 70}, {0, 1, 44, 68, 70}, {1, 0, 44, 68, 68}, {1, 1, 43, 67, 68},
    };
    for (const auto& c : sheets) {
        const TILESHEETS chosen = SelectTileSheetSurfaces(c.directDraw, c.stretch);
        EXPECT_EQ(chosen.nMarkSheet, c.mark) << c.directDraw << c.stretch;
        EXPECT_EQ(chosen.nEffectWork, c.effect) << c.directDraw << c.stretch;
        EXPECT_EQ(chosen.nLargeWork, c.large) << c.directDraw << c.stretch;
    }

    std::vector<DDSURFACEDATA> surfaces(90);   // room for the copies 18 further
    DDRAWSURFACEDATA present{};
    present.lpDDS = reinterpret_cast<IDirectDrawSurface7*>(&present);   // any non-null object
    surfaces[63].lpDDraw = &present;
    surfaces[64 + 18].lpDDraw = &present;
    const IMAGESHEETS table{surfaces.data(), 90, nullptr, 0};
    struct Case { int index, facing, directDraw, expected; } cases[] = {
        {63, 0, 0, 63}, {64, 0, 0, 64},
        {63, 0, 1, 63}, {64, 0, 1, 82},    // no DirectDraw surface: its copy
        {64, 1, 1, 82}, {63, 1, 1, 63},    // the copy has one: the copy
        {80, 1, 1, 80},                    // the copy lies past the table
    };
    for (const auto& c : cases)
        EXPECT_EQ(ShotImageIndex(c.index, c.facing, c.directDraw, table), c.expected) << c.index << " " << c.facing;
}
