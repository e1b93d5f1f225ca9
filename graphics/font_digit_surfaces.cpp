#include "graphics/font_digit_surfaces.h"

#include "graphics/fill.h"
#include "graphics/font.h"
#include "graphics/surface.h"
#include "shell/log.h"

bool CreateNumberSurfaces(DDSURFACEDATA* lpSurfaces, const SURFACEINFO* lpSurfaceInfo, int nCount, cFont* lpFonts,
                          const FONTINFO* lpInfo)
{
    if (!lpSurfaces || !lpSurfaceInfo || !lpFonts || !lpInfo) return false;
    for (int i = 0; i < nCount; ++i) {
        const SURFACEINFO& info = lpSurfaceInfo[i];
        if (!DDCreateSurface(&lpSurfaces[i], lpInfo[i].nPitchX * 10, lpInfo[i].nPitchY, info.bTransmit, info.nMemType,
                             info.nDTMemType, nullptr, FALSE)) {
            EcLogF("CreateNumberSurfaces %d Err", i);
            return false;
        }
        DrawDigitsToSurface(&lpSurfaces[i], &lpFonts[i]);
    }
    return true;
}

void DrawDigitsToSurface(DDSURFACEDATA* lpSD, cFont* lpFont)
{
    if (!lpSD || !lpFont) return;
    DDFillSurfacePal(lpSD, 0);
    lpFont->DrawText(lpSD, 0, 0, "0123456789", FALSE);
}
