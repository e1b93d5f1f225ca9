#include "app/start_up_fonts.h"

#include <cstdio>
#include "data/system_data.h"
#include "data/system_labels.h"
#include "graphics/device.h"
#include "graphics/font.h"
#include "graphics/font_digit_surfaces.h"
#include "graphics/surface.h"
#include "shell/log.h"
#include "shell/system_ini.h"

bool InitFonts()
{
    for (FONTINFO& info : g_FontInfo) {
        std::snprintf(info.szFaceName, sizeof info.szFaceName, "%s", GetFontFaceName(g_SystemData.m_nFontIndex));
        if (info.nFastFont == 2) info.nFastFont = lpDTCon ? g_SystemIni.D3D_FontCache : g_SystemIni.DD_FontCache;
    }
    if (!CreateFonts(g_Font, g_FontInfo, kFontCount)) return false;
    g_Font[1].m_bCenterChar = g_SystemData.m_bCenterChars;
    g_Font[1].m_bLetterImages = g_SystemData.m_bUseLetterImages;
    if (!CreateNumberSurfaces(g_FontDigitSurface, g_FontDigitSurfaceInfo, kFontDigitSurfaceCount, g_Font, g_FontInfo))
        return false;
    EcLog("3");
    return true;
}

void ReportFontCaches()
{
    if (!lpDTCon && !lpDDCon) return;
    if (const cFastFont* sheet = g_Font[0].m_lpFastFont_FullAdd.get()) ReportLog("Font10 : %d", sheet->m_nCount);
    if (const cFastFont* sheet = g_Font[1].m_lpFastFont_FullAdd.get()) ReportLog("Font16 : %d", sheet->m_nCount);
}

void ReleaseFonts()
{
    for (cFont& font : g_Font) font.Release();
    for (DDSURFACEDATA& sd : g_FontDigitSurface) DDReleaseSurface(&sd);
}
