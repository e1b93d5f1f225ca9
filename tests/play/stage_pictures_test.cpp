// The stage's own pictures: the database's picture sets laid out four (or two) surfaces to an
// entry with their mirror records, the shot cells centred in chara cells, and the darkness
// mask of the hero's sight with its hole.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "data/database.h"
#include "flow/status_values.h"
#include "graphics/blit.h"
#include "graphics/device.h"
#include "graphics/stage_picture_surfaces.h"
#include "graphics/standard_surfaces.h"
#include "graphics/surface.h"
#include "objects/hero.h"
#include "platform/os/message_box.h"
#include "graphics/fill.h"
#include "play/stage_pictures.h"
#include "tests/play/chara_draw_fixture.h"
#include "tests/play/stage_draw_fixture.h"
#include "tests/support/restore.h"

namespace {

using qbtest::cImage;

// A picture whose pixel (x, y) is distinct across 128 x 64, in 5-bit channels too.
std::uint32_t SetPixelRgb(int x, int y) { return static_cast<std::uint32_t>((8 * (x % 32)) << 16 | (8 * (x / 32 + 4 * (y % 8))) << 8 | (8 * (y / 8) + 4)); }

// A record of a picture set: its file, memory type, mirror flag, flip width and the record it
// shows (-1 none).
struct SETLAYOUT {
    std::string file;
    int nMemType, bMirror, nFlip, nShows;
    bool operator==(const SETLAYOUT&) const = default;
};

void PrintTo(const SETLAYOUT& l, std::ostream* out)
{
    *out << "{" << l.file << " " << l.nMemType << " " << l.bMirror << " " << l.nFlip << " " << l.nShows << "}";
}

class StagePictureSets : public qbtest::cStageDrawTest {
protected:
    void WritePicture(const char* name, int w, int h)
    {
        std::vector<std::uint32_t> rgb;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) rgb.push_back(SetPixelRgb(x, y));
        Write(name, qbtest::BuildBmp24(w, h, rgb));
    }
    void SetUpDatabase()
    {
        WritePicture("a.bmp", 128, 64);
        WritePicture("b.bmp", 128, 64);
        g_Database.m_BmpCharaExcs.assign(3, cBmpCharaExcData{});
        g_Database.m_BmpCharaExcs[1].m_strFile = "a.bmp";
        g_Database.m_BmpCharaExcs[2].m_strFile = "b.bmp";
        g_Database.m_BmpCharaExcs[2].m_bLargeCell = 1;
        g_Database.m_BmpCharaExcs[2].m_nCellSize = 2;
        g_Database.m_SwordTypes.assign(2, cSwordTypeData{});
        for (int i = 0; i < 2; ++i) {
            g_Database.m_SwordTypes[i].m_strFile = "a.bmp";
            g_Database.m_SwordTypes[i].m_strFile2 = "b.bmp";
        }
        g_Database.m_Effects.assign(3, cEffectData{});
        g_Database.m_Effects[1].m_strFile = "a.bmp";
        g_Database.m_Effects[2].m_strFile = "b.bmp";
    }
    void TearDown() override
    {
        m_Stage->Scene().m_StagePictures.m_bLoaded = true;
        m_Stage->Scene().m_StagePictures.Release();
        cStageDrawTest::TearDown();
    }
    // Entry 1 flipped in cells of 32, entry 2 (large cells of 2) in cells of 64.
    void ExpectFlippedCells()
    {
        SetUpDatabase();
        m_Scene->m_StagePictures.LoadCharaPictures();
        ASSERT_EQ(g_CharaSurface.size(), 8u);
        for (int entry : {0, 1}) {
            const int cell = entry == 0 ? 32 : 64;
            ClearScreen(0xFF000000u);
            for (int c = 0; c < 128 / cell; ++c)
                DDBltFast(&g_BackBuffer, c * cell, 0, cell, 64, &g_CharaSurface[4 * entry + 1], c * cell, 0, 0);
            const cImage screen = Screen();
            int wrong = 0;
            for (int y = 0; y < 64; ++y)
                for (int x = 0; x < 128; ++x) {
                    const int from = x / cell * cell + (cell - 1 - x % cell);
                    wrong += (screen.At(x, y) & 0xFFFFFF) != SetPixelRgb(from, y);
                }
            EXPECT_EQ(wrong, 0) << "entry " << entry + 1;
        }
    }
    static std::vector<SETLAYOUT> Layout(cSafeVector<DDSURFACEDATA>& surfaces, cSafeVector<SURFACEINFO>& info)
    {
        std::vector<SETLAYOUT> layout;
        for (std::size_t k = 0; k < surfaces.size(); ++k) {
            const DDSURFACEDATA* shown = surfaces[k].lpMirrorSD;
            layout.push_back({info[k].szFileName, info[k].nMemType, info[k].bMirror, info[k].nMirrorW,
                              shown ? static_cast<int>(shown - surfaces.data()) : -1});
        }
        return layout;
    }

    qbtest::cRestore<cDatabase> m_Database{g_Database};
};

TEST_F(StagePictureSets, EachEntryGetsItsSurfacesAndItsCopiesShowItsFirstUnderDirect3D)
{
    SetUpDatabase();
    cStagePictures& pictures = m_Scene->m_StagePictures;
    pictures.LoadCharaPictures();
    pictures.LoadSwordPictures();
    pictures.LoadEffectPictures();
    // Entry 0 of the dedicated pictures and of the effects is no picture; sword type 0 is one.
    const std::vector<SETLAYOUT> chara = {
        {"a.bmp", 0, 0, 0, -1}, {"a.bmp", 0, 1, 32, 0}, {"a.bmp", 1, 1, 0, 0}, {"a.bmp", 1, 1, 32, 0},
        {"b.bmp", 0, 0, 0, -1}, {"b.bmp", 0, 1, 64, 4}, {"b.bmp", 1, 1, 0, 4}, {"b.bmp", 1, 1, 64, 4},
    };
    EXPECT_EQ(Layout(g_CharaSurface, g_CharaSurfaceInfo), chara);
    const std::vector<SETLAYOUT> swords = {
        {"a.bmp", 0, 0, 0, -1}, {"b.bmp", 0, 0, 0, -1}, {"a.bmp", 1, 1, 0, 0}, {"b.bmp", 1, 1, 0, 1},
        {"a.bmp", 0, 0, 0, -1}, {"b.bmp", 0, 0, 0, -1}, {"a.bmp", 1, 1, 0, 4}, {"b.bmp", 1, 1, 0, 5},
    };
    EXPECT_EQ(Layout(g_SwordSurface, g_SwordSurfaceInfo), swords);
    const std::vector<SETLAYOUT> effects = {{"a.bmp", 0, 0, 0, -1}, {"a.bmp", 1, 1, 0, 0}, {"b.bmp", 0, 0, 0, -1}, {"b.bmp", 1, 1, 0, 2}};
    EXPECT_EQ(Layout(g_EffectSurface, g_EffectSurfaceInfo), effects);
    for (const SURFACEINFO& info : g_EffectSurfaceInfo) EXPECT_EQ(info.bOptional, 1);
    for (const DDSURFACEDATA& record : g_CharaSurface) EXPECT_EQ(record.nWidth, 128);
    EXPECT_EQ(EcLogText().find("読み込み失敗"), std::string::npos);
}

// The same under DirectDraw at 32 bits.
class StagePictureSetsDirectDraw : public StagePictureSets {
protected:
    void SetUp() override { SetUpDisplay({FALSE, 32, 0}); }
};

TEST_F(StagePictureSetsDirectDraw, EachRecordHoldsItsOwnCopy)
{
    SetUpDatabase();
    m_Scene->m_StagePictures.LoadCharaPictures();
    ASSERT_EQ(g_CharaSurface.size(), 8u);
    for (const DDSURFACEDATA& record : g_CharaSurface) {
        EXPECT_EQ(record.lpMirrorSD, nullptr);
        ASSERT_NE(record.lpDDraw, nullptr);
        EXPECT_NE(record.lpDDraw->lpDDS, nullptr);
    }
}

TEST_F(StagePictureSets, TheFlippedCopyMirrorsEachCellOfThePicturesOwnSize) { ExpectFlippedCells(); }
TEST_F(StagePictureSetsDirectDraw, TheFlippedCopyMirrorsEachCellOfThePicturesOwnSize) { ExpectFlippedCells(); }

TEST_F(StagePictureSets, ALargeCellPictureOfNoCellSizeIsFlippedInCellsOfOne)
{
    // The cell size 0 is read as 1: each 32-pixel cell is flipped, not none.
    for (int size : {0, -3, 17}) {
        SCOPED_TRACE(testing::Message() << "cell size " << size);
        SetUpDatabase();
        g_Database.m_BmpCharaExcs[2].m_nCellSize = size;
        m_Scene->m_StagePictures.LoadCharaPictures();
        ASSERT_EQ(g_CharaSurface.size(), 8u);
        EXPECT_EQ(g_CharaSurfaceInfo[5].nMirrorW, 32);
        EXPECT_EQ(g_CharaSurfaceInfo[7].nMirrorW, 32);
        ClearScreen(0xFF000000u);
        DDBltFast(&g_BackBuffer, 0, 0, 32, 64, &g_CharaSurface[5], 32, 0, 0);
        EXPECT_EQ(Screen().At(0, 5) & 0xFFFFFF, SetPixelRgb(63, 5));
    }
}

TEST_F(StagePictureSets, APictureThatCannotBeReadIsLoggedAndTheOthersStillLoad)
{
    SetUpDatabase();
    g_Database.m_BmpCharaExcs[1].m_strFile = "missing.bmp";
    m_Scene->m_StagePictures.LoadCharaPictures();
    ASSERT_EQ(g_CharaSurface.size(), 8u);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(g_CharaSurface[k].lpDT, nullptr) << k;
    for (int k = 4; k < 8; ++k) EXPECT_NE(g_CharaSurface[k].lpDT, nullptr) << k;
    const std::string log = EcLogText();
    EXPECT_NE(log.find("専用bmp missing.bmp 読み込み失敗！"), std::string::npos) << log;
    EXPECT_EQ(log.find("専用bmp b.bmp"), std::string::npos);
}

TEST_F(StagePictureSets, TablesWithoutEntriesToLoadLeaveTheSetsEmpty)
{
    SetUpDatabase();
    for (std::size_t entries : {1u, 0u}) {
        // Only entry 0, which is no picture; then not even that (a damaged database).
        SCOPED_TRACE(testing::Message() << entries << " entries");
        g_Database.m_BmpCharaExcs.resize(entries);
        g_Database.m_Effects.resize(entries);
        g_Database.m_SwordTypes.clear();
        m_Scene->m_StagePictures.LoadCharaPictures();
        m_Scene->m_StagePictures.LoadSwordPictures();
        m_Scene->m_StagePictures.LoadEffectPictures();
        EXPECT_TRUE(g_CharaSurface.empty());
        EXPECT_TRUE(g_SwordSurface.empty());
        EXPECT_TRUE(g_EffectSurface.empty());
    }
}

TEST_F(StagePictureSets, AStageAfterAStageKeepsTheSetsItLoaded)
{
    SetUpDatabase();
    m_Scene->m_StagePictures.LoadCharaPictures();
    const DDSURFACEDATA* first = g_CharaSurface.data();
    const DTSURFACEDATA* device = g_CharaSurface[0].lpDT;
    // A changed picture takes effect only after the stage is left.
    g_Database.m_BmpCharaExcs[1].m_strFile = "b.bmp";
    // (The background slots are all the standard pictures it loads, and this device has no
    // description table to load them from.)
    m_Scene->m_StagePictures.Load(true);
    EXPECT_EQ(g_CharaSurface.data(), first);
    EXPECT_EQ(g_CharaSurface[0].lpDT, device);
    EXPECT_STREQ(g_CharaSurfaceInfo[0].szFileName, "a.bmp");
}

// The shot sheet: 8 x 30 cells of 16 x 16, each a colour of its own whose blue grows to the
// right, so that a flipped cell shows.
std::uint32_t ShotSheetRgb(int x, int y) { return static_cast<std::uint32_t>((8 * (x / 16 + 1)) << 16 | (8 * (y / 16 + 1)) << 8 | (8 * (x % 16) + 4)); }

class ShotCells : public qbtest::cStageDrawTest {
protected:
    void SetUpSheets()
    {
        std::vector<std::uint32_t> rgb;
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 128; ++x) rgb.push_back(ShotSheetRgb(x, y));
        Write("shot.bmp", qbtest::BuildBmp24(128, 480, rgb));
        // As the standard table makes them: 21 the sheet with its 16-pixel cells flipped (under
        // Direct3D a mirror record of 20), 63 and 64 empty.
        for (int i : {20, 21, kShotSheet, kShotSheet + 1}) ClearSurfaceData(&g_StdSurface[i]);
        ASSERT_EQ(DDCreateSurfaceFromFile(&g_StdSurface[20], "shot.bmp", TRUE, g_nBpp, 0, 0, nullptr, nullptr, 0, 0, FALSE), 0);
        DDSURFACEDATA* mirror = lpDTCon ? &g_StdSurface[21] : nullptr;
        ASSERT_EQ(DDCreateSurfaceFromFile(&g_StdSurface[21], "shot.bmp", TRUE, g_nBpp, 0, 0, mirror, nullptr, 16, 0, FALSE), 0);
        if (lpDTCon) g_StdSurface[21].lpMirrorSD = &g_StdSurface[20];
        for (int i : {kShotSheet, kShotSheet + 1}) ASSERT_TRUE(DDCreateSurface(&g_StdSurface[i], 256, 960, TRUE, 1, 0, nullptr, FALSE));
    }
    // Every cell of sheet 63 (flipped: 64) holds its shot cell at (32c + 8, 32r + 8) and nothing
    // else; the count of pixels that do not.
    int WrongPixels(int sheet, bool flipped)
    {
        const cImage cells = qbtest::ReadImage(&g_StdSurface[sheet]);
        const cImage shots = qbtest::ReadImage(&g_StdSurface[20]);
        const std::uint32_t empty = cells.At(0, 0);
        int wrong = 0;
        for (int y = 0; y < 960; ++y)
            for (int x = 0; x < 256; ++x) {
                const int i = x % 32 - 8, j = y % 32 - 8;
                const bool inside = i >= 0 && i < 16 && j >= 0 && j < 16;
                if (!inside) {
                    wrong += cells.At(x, y) != empty;
                    continue;
                }
                const int from = 16 * (x / 32) + (flipped ? 15 - i : i);
                const std::uint32_t shot = shots.At(from, 16 * (y / 32) + j);
                wrong += cells.At(x, y) != shot || shot == empty;
            }
        return wrong;
    }
};

class ShotCellsDirectDraw : public ShotCells {
protected:
    void SetUp() override { SetUpDisplay({FALSE, 16, 0}); }
};

TEST_F(ShotCells, EachShotCellIsCentredInACharaCellAndTheSecondSheetIsFlipped)
{
    SetUpSheets();
    m_Scene->m_StagePictures.BuildShotCells();
    EXPECT_EQ(WrongPixels(kShotSheet, false), 0);
    EXPECT_EQ(WrongPixels(kShotSheet + 1, true), 0);
}

TEST_F(ShotCellsDirectDraw, EachShotCellIsCentredInACharaCellAndTheSecondSheetIsFlipped)
{
    SetUpSheets();
    m_Scene->m_StagePictures.BuildShotCells();
    EXPECT_EQ(WrongPixels(kShotSheet, false), 0);
    EXPECT_EQ(WrongPixels(kShotSheet + 1, true), 0);
}

TEST_F(ShotCells, TheDrawRebuildsTheCellsAfterTheDeviceLostThem)
{
    SetUpSheets();
    for (int i : {kShotSheet, kShotSheet + 1}) DDFillSurfacePal(&g_StdSurface[i], 0);
    g_StdSurface[kShotSheet + 1].bLost = TRUE;
    m_Scene->DrawStage(1, 1, 0, 0);
    EXPECT_EQ(g_StdSurface[kShotSheet].bLost, FALSE);
    EXPECT_EQ(g_StdSurface[kShotSheet + 1].bLost, FALSE);
    EXPECT_EQ(WrongPixels(kShotSheet, false), 0);
    EXPECT_EQ(WrongPixels(kShotSheet + 1, true), 0);
}

class SightMask : public qbtest::cStageDrawTest {
protected:
    void SetUp() override
    {
        cStageDrawTest::SetUp();
        cHero& hero = m_Stage->AddPlayerOne();
        hero.m_nDrawWidth = hero.m_nDrawHeight = 32;
    }
    void TearDown() override
    {
        for (int i : {kSightMask, kSightHole}) DDReleaseSurface(&g_StdSurface[i]);
        cStageDrawTest::TearDown();
    }
    cImage Build(int shape, int radius)
    {
        cHero& hero = Player.At(0);
        hero.m_Def.m_nSightShape = static_cast<BYTE>(shape);
        hero.m_nSightRadius = radius;
        m_Scene->m_StagePictures.BuildSightMask(&g_StdSurface[kSightMask], &g_StdSurface[kSightHole]);
        cImage mask = qbtest::ReadImage(&g_StdSurface[kSightMask]);
        for (auto& p : mask.px) p &= 0xFFFFFF;
        return mask;
    }
};

TEST_F(SightMask, ARoundSightCutsADiscOfItsRadiusOutOfTheDark)
{
    for (int shape : {1, 2}) {
        SCOPED_TRACE(testing::Message() << "shape " << shape);
        const int r = 48;
        const cImage mask = Build(shape, r);
        ASSERT_EQ(mask.w, 1376);
        ASSERT_EQ(mask.h, 1056);
        // The disc as rows of spans around the centre, the centre row one pixel short.
        std::vector<bool> hole(static_cast<std::size_t>(mask.w) * mask.h, false);
        for (int d = r - 1; d >= -r; --d) {
            int half = static_cast<int>(std::sqrt(static_cast<double>(r * r - d * d)));
            if (half >= r) half = r - 1;
            for (int x = mask.w / 2 - half; x < mask.w / 2 + half; ++x)
                hole[static_cast<std::size_t>(mask.h / 2 + d) * mask.w + x] = true;
        }
        const std::uint32_t clear = mask.At(mask.w / 2, mask.h / 2);
        EXPECT_NE(clear, qbtest::kColour16);
        int wrong = 0;
        for (int y = 0; y < mask.h; ++y)
            for (int x = 0; x < mask.w; ++x)
                wrong += mask.At(x, y) != (hole[static_cast<std::size_t>(y) * mask.w + x] ? clear : qbtest::kColour16);
        EXPECT_EQ(wrong, 0);
    }
}

TEST_F(SightMask, ASquareSightCutsASquareAndNoSightLeavesItAllDark)
{
    cImage mask = Build(3, 40);
    EXPECT_EQ(qbtest::BoxOf(mask, mask.At(mask.w / 2, mask.h / 2)), (qbtest::PIXELBOX{680 - 40, 520 - 40, 80, 80}));
    mask = Build(1, 0);
    ASSERT_EQ(mask.w, 1280);
    EXPECT_EQ(qbtest::BoxOf(mask, qbtest::kColour16), (qbtest::PIXELBOX{0, 0, 1280, 960}));
}

TEST_F(SightMask, TheSetUpBuildsTheMaskForTheHerosSightWhenItHasOne)
{
    for (int shape : {0, 1}) {
        SCOPED_TRACE(testing::Message() << "shape " << shape);
        DDReleaseSurface(&g_StdSurface[kSightMask]);
        cCharaData& placement = g_StageData.m_Charas.At(g_StageData.FindHero());
        placement.m_nSightShape = static_cast<BYTE>(shape);
        placement.m_nSightRange = 3;
        m_Stage->Commit();
        // As on a stage's first set-up, the scene has not yet named its player one.
        m_Scene->m_lpPlayerOne = nullptr;
        m_Scene->SetStage(0, 1);
        EXPECT_EQ(g_StdSurface[kSightMask].nWidth, shape ? 1280 + 2 * 48 : 0);
    }
}

TEST_F(SightMask, AChangeOfTheHerosSightBuildsTheMaskAgainAndAnotherCharasOnlyItsField)
{
    cHero& hero = Player.At(0);
    hero.m_Def.m_nSightShape = 1;
    hero.m_Def.m_nSightRange = 2;
    AfterSightChange(hero);
    EXPECT_EQ(hero.m_nSightRadius, 32);
    EXPECT_EQ(g_StdSurface[kSightMask].nWidth, 1280 + 64);
    cStageChara& other = m_Scene->m_Charas.emplace_back();
    other.m_Def.m_nSightRange = 5;
    AfterSightChange(other);
    EXPECT_EQ(other.m_nSightRadius, 80);
    EXPECT_EQ(g_StdSurface[kSightMask].nWidth, 1280 + 64);
}

int s_nSightMaskBoxes = 0;
int CountSightMaskBox(UINT, const char*)
{
    ++s_nSightMaskBoxes;
    return 0;
}

TEST_F(SightMask, ASightBelowZeroLeavesItAllDarkAndTheGameRunning)
{
    s_nSightMaskBoxes = 0;
    plat::SetBoxAnswerSource(CountSightMaskBox);
    for (int shape : {1, 3}) {
        SCOPED_TRACE(testing::Message() << "shape " << shape);
        const cImage mask = Build(shape, -16 * 5);
        ASSERT_EQ(mask.w, 1280);
        EXPECT_EQ(qbtest::BoxOf(mask, qbtest::kColour16), (qbtest::PIXELBOX{0, 0, 1280, 960}));
    }
    plat::SetBoxAnswerSource(nullptr);
    EXPECT_EQ(s_nSightMaskBoxes, 0) << "no out-of-memory box, which closes the game";
}

TEST_F(SightMask, TheMaskFollowsTheHeroAndLooksAheadForTheShapesAhead)
{
    struct Case {
        int shape, facing;
        int holeCentre;   // screen x of the hole's centre
    } cases[] = {
        {1, 1, 116},
        {2, 1, 116 + 48},   // + 16 - 64 off the window: 48 ahead
        {2, 0, 116 - 48},
        {4, 1, 116 + 48},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "shape " << c.shape << ", facing " << c.facing);
        Build(c.shape, 64);
        cHero& hero = Player.At(0);
        hero.m_nDirection = c.facing;
        hero.m_ScreenRect.left = 100;
        hero.m_ScreenRect.top = 200;
        ClearScreen(0xFFFFFFFFu);
        hero.DrawOverlayMask(&g_BackBuffer);
        const cImage screen = Screen();
        const qbtest::PIXELBOX lit = qbtest::BoxOf(screen, 0xFFFFFFu, 0xFFFFFFu);
        EXPECT_EQ(lit.x + lit.w / 2, c.holeCentre);
        EXPECT_EQ(lit.y + lit.h / 2, 216);
    }
}

}  // namespace
