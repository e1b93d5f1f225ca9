#include "play/stage_pictures.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "data/role_accessors.h"
#include "data/stage_geometry.h"
#include "data/stage_data.h"
#include "graphics/blit.h"
#include "graphics/device.h"
#include "graphics/effect_blit.h"
#include "graphics/fill.h"
#include "graphics/stage_picture_surfaces.h"
#include "graphics/standard_surfaces.h"
#include "graphics/surface.h"
#include "objects/hero.h"
#include "play/play_scene.h"
#include "shell/error_box.h"

namespace {

// The standard pictures of a stage: 2-47, 49-51 and 55-70.
struct STAGEPICTURES {
    int anIndex[65] = {};
    STAGEPICTURES()
    {
        int n = 0;
        for (int i = 2; i <= 47; ++i) anIndex[n++] = i;
        for (int i = 49; i <= 51; ++i) anIndex[n++] = i;
        for (int i = 55; i <= 70; ++i) anIndex[n++] = i;
    }
};

const STAGEPICTURES s_StagePictures;
constexpr int kShotSheetFile = 20;   // "bmp\Shot.bmp", 21 its cells flipped
constexpr int kShotColumns = 8;
constexpr int kShotRows = 30;
constexpr int kShotCell = 16;
constexpr int kMaskColour = 16;
constexpr std::array<int, kBackgroundSlots> kBackgroundIndices = [] {
    std::array<int, kBackgroundSlots> indices{};
    for (int slot = 0; slot < kBackgroundSlots; ++slot) indices[slot] = kBackgroundSlot + slot;
    return indices;
}();

// The background picture slots take the stage's background pictures; a picture larger than the
// screen goes to system memory under DirectDraw.
void PrepareBackgroundSlots()
{
    for (int slot = 0; slot < kBackgroundSlots; ++slot) {
        SURFACEINFO& info = g_SurfaceInfo[kBackgroundSlot + slot];
        const bool picture = slot < static_cast<int>(g_StageData.m_Backgrounds.size()) &&
                             !g_StageData.m_Backgrounds.At(slot).m_bFillOnly;
        if (!picture) {
            info.szFileName[0] = '\0';
            continue;
        }
        std::snprintf(info.szFileName, sizeof info.szFileName, "%s",
                      g_StageData.m_Backgrounds.At(slot).m_strPicture.c_str());
        int tooBig = 0;
        info.nMemType = DDCheckBitmapSize(&tooBig, info.szFileName, 640, 480);
    }
}

}  // namespace

bool cStagePictures::Load(bool reEntered)
{
    PrepareBackgroundSlots();
    if (reEntered) return DDLoadSurfaces(g_StdSurface, kBackgroundIndices.data(), kBackgroundSlots);
    if (!DDLoadSurfaces(g_StdSurface, s_StagePictures.anIndex, 65)) return false;
    m_bLoaded = true;
    BuildShotCells();
    LoadCharaPictures();
    LoadSwordPictures();
    LoadEffectPictures();
    return true;
}

void cStagePictures::Release()
{
    ClearPictures();
    if (!m_bLoaded) return;
    m_bLoaded = false;
    for (int i : s_StagePictures.anIndex) DDReleaseSurface(&g_StdSurface[i]);
    struct SET {
        cSafeVector<DDSURFACEDATA>& surfaces;
        cSafeVector<SURFACEINFO>& info;
    } sets[] = {{g_CharaSurface, g_CharaSurfaceInfo}, {g_SwordSurface, g_SwordSurfaceInfo}, {g_EffectSurface, g_EffectSurfaceInfo}};
    for (SET& set : sets) {
        DDReleaseSurfaceVector(&set.surfaces);
        set.surfaces.clear();
        set.info.clear();
    }
}

void cStagePictures::BuildShotCells()
{
    DDSURFACEDATA* sheets[2] = {&g_StdSurface[kShotSheet], &g_StdSurface[kShotSheet + 1]};
    for (DDSURFACEDATA* sheet : sheets) DDFillSurfacePal(sheet, 0);
    const int centre = (kCell - kShotCell) / 2;
    for (int r = 0; r < kShotRows; ++r) {
        for (int c = 0; c < kShotColumns; ++c) {
            for (int k = 0; k < 2; ++k) {
                DDBltFast(sheets[k], kCell * c + centre, kCell * r + centre, kShotCell, kShotCell,
                          &g_StdSurface[kShotSheetFile + k], kShotCell * c, kShotCell * r, DDBLTFAST_SRCCOLORKEY);
            }
        }
    }
}

void cStagePictures::BuildSightMask(DDSURFACEDATA* mask, DDSURFACEDATA* hole)
{
    // Without a graphics device (the tools) there is nothing to make a mask on.
    if (!lpDTCon && !lpDDCon) return;
    // Player 1 itself: the set-up builds the mask before the scene names its player one.
    const cChara* hero = Player.empty() ? nullptr : &Player.At(0);
    // A radius below 0 would make no hole surface and close the game: it is a mask without
    // a hole, as 0 is.
    const int r = hero ? std::max(hero->m_nSightRadius, 0) : 0;
    const int shape = hero ? CharaSightShape(hero->m_Def) : 0;
    DDReleaseSurface(mask);
    DDReleaseSurface(hole);
    const int w = 1280 + 2 * r;
    const int h = 960 + 2 * r;
    const SURFACEINFO& maskInfo = g_SurfaceInfo[kSightMask];
    if (!DDCreateSurface(mask, w, h, TRUE, maskInfo.nMemType, maskInfo.nDTMemType, nullptr, FALSE)) {
        OutOfMemoryBox();
        return;
    }
    DDFillSurfacePal(mask, kMaskColour);
    if (r == 0) return;
    if (shape != 1 && shape != 2) {
        DDFillRectPal(mask, w / 2 - r, h / 2 - r, 2 * r, 2 * r, 0);
        return;
    }
    const SURFACEINFO& holeInfo = g_SurfaceInfo[kSightHole];
    if (!DDCreateSurface(hole, 2 * r, 2 * r, TRUE, holeInfo.nMemType, holeInfo.nDTMemType, nullptr, FALSE)) {
        OutOfMemoryBox();
        return;
    }
    // Colour 0 is the transparent colour on both back ends.
    DDFillSurfacePal(hole, 0);
    DDBltCircle(mask, w / 2, h / 2, w, h, r, 1, hole, r, r, 0);
}
