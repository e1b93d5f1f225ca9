#include "play/stage_pictures.h"

#include <array>
#include <cstdio>

#include "data/stage_data.h"
#include "graphics/device.h"
#include "graphics/standard_surfaces.h"
#include "graphics/surface.h"
#include "shell/not_built_yet.h"

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
    LogNotBuiltYet("stage pictures");
    return true;
}

void cStagePictures::Release() { LogNotBuiltYet("stage pictures release"); }

void cStagePictures::ClearPictures()
{
    m_Pictures.clear();
    LogNotBuiltYet("stage picture commands");
}

void cStagePictures::Draw(DDSURFACEDATA*, int, int)
{
    if (!m_Pictures.empty()) LogNotBuiltYet("stage pictures");
}
