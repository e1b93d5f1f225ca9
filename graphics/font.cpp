#include "graphics/font.h"

#include <algorithm>
#include <cstring>
#include "graphics/device.h"
#include "graphics/palette.h"
#include "graphics/standard_surfaces.h"
#include "graphics/surface.h"

namespace {

// The text colour of a palette colour number: Direct3D ARGB; DirectDraw a COLORREF, at 16
// bits from the palette's 5- and 6-bit components scaled up.
DWORD TextColorOf(int nColorNum)
{
    const PALETTEENTRY& e = g_Palette[std::clamp(nColorNum, 0, 255)];
    if (lpDTCon) return 0xFF000000u | static_cast<DWORD>(e.peRed) << 16 | e.peGreen << 8 | e.peBlue;
    if (g_nBpp == 16) {
        auto widen = [](int c, int max) { return static_cast<BYTE>(max > 0 ? (c & max) * 255 / max : 0); };
        return RGB(widen(e.peRed, g_PixelFormat[PF_MAX_R]), widen(e.peGreen, g_PixelFormat[PF_MAX_G]),
                   widen(e.peBlue, g_PixelFormat[PF_MAX_B]));
    }
    return RGB(e.peRed, e.peGreen, e.peBlue);
}

bool CreateWorkSurface(DDSURFACEDATA* lpSD)
{
    if (HasDeviceSurface(lpSD)) return true;
    if (DDCreateSurface(lpSD, g_BackBuffer.nWidth, g_BackBuffer.nHeight, TRUE, 0, 0, nullptr, FALSE)) return true;
    EcLog("DDCreateSurface Font::Work");
    return false;
}

// Restores a lost DirectDraw surface; false when it stays lost.
bool RestoreDirectDrawSurface(DDSURFACEDATA& sd)
{
    IDirectDrawSurface7* surface = sd.lpDDraw ? sd.lpDDraw->lpDDS : nullptr;
    if (!surface) return false;
    return surface->IsLost() != DDERR_SURFACELOST || SUCCEEDED(surface->Restore());
}

DDSURFACEDATA* StandardSurface(int index) { return index >= 0 && index < kStdSurfaceCount ? &g_StdSurface[index] : nullptr; }

}  // namespace

cFont::~cFont()
{
    if (m_bListed) g_FontList.remove(this);
}

bool cFont::Create(const char* szFace, int nWidth, int nHeight, int nPitchX, int nPitchY, int nColorNum,
                   DDSURFACEDATA* lpWindowSD, int nFrameWidth, int nFrameColor, DDSURFACEDATA* lpLetterSD, BOOL bFastFont)
{
    m_szFaceName = szFace ? szFace : "";
    m_nWidth = nWidth;
    m_nHeight = nHeight;
    m_nPitchX = nPitchX;
    m_nPitchY = nPitchY;
    m_nColorNum = nColorNum;
    m_dwColor = TextColorOf(nColorNum);
    m_lpWindowSD = lpWindowSD;
    m_nFrameWidth = nFrameWidth;
    m_nFrameColor = nFrameColor;
    m_lpLetterSD = lpLetterSD;
    m_bLetterImages = lpLetterSD != nullptr;

    if (lpDTCon) {
        plat::SafeRelease(m_lpD3DXFont);
        plat::SafeRelease(m_lpSprite);
        D3DXFONT_DESCA desc{};
        desc.Height = m_nHeight;
        desc.Weight = FW_NORMAL;
        desc.CharSet = static_cast<BYTE>(SHIFTJIS_CHARSET);
        std::memcpy(desc.FaceName, m_szFaceName, strnlen(m_szFaceName, sizeof desc.FaceName));  // the first 32 bytes
        if (FAILED(D3DXCreateFontIndirectA(g_lpDevice, &desc, &m_lpD3DXFont)) ||
            FAILED(D3DXCreateSprite(g_lpDevice, &m_lpSprite))) {
            EcLogF("D3DXCreateFont Err %s", m_szFaceName);
            return false;
        }
        if (!CreateWorkSurface(&m_WorkSD)) return false;
        m_nSerial = lpDTCon->nNextFont++;
    } else if (lpDDCon) {
        if (m_hFont) DeleteObject(m_hFont);
        m_hFont = CreateFontA(m_nHeight, m_nWidth, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, m_szFaceName);
        if (!m_hFont) {
            EcLogF("CreateFont Err %s", m_szFaceName);
            return false;
        }
        if (!CreateWorkSurface(&m_WorkSD)) return false;
        m_nSerial = lpDDCon->nNextFont++;
    } else {
        return false;
    }
    if (!m_bListed) {
        g_FontList.push_back(this);
        m_bListed = true;
    }
    m_bFastFont = bFastFont;
    return CreateSheets(bFastFont);
}

bool cFont::CreateSheets(BOOL bFastFont)
{
    m_lpFastFont_Half.reset();
    m_lpFastFont_FullAdd.reset();
    if (!bFastFont) return true;
    if (m_nPitchX <= 0 || m_nPitchY <= 0) {
        EcLog("※フォントクラスで文字間が未設定！");
        return true;
    }
    m_lpFastFont_Half = std::make_unique<cFastFont>(0, m_nPitchX, m_nPitchY, 16, 16);
    if (!m_lpFastFont_Half->HasSurface()) {
        EcLog("m_lpFastFont_Half Err");
        m_lpFastFont_Half.reset();
        return false;
    }
    int columns, rows;
    if (lpDTCon) {
        columns = std::min(1024 / m_nPitchX, 32);
        rows = std::min(1024 / m_nPitchY, 32);
    } else {
        columns = std::min(g_BackBuffer.nWidth / m_nPitchX, 32);
        rows = std::min(g_BackBuffer.nHeight / m_nPitchY, 30);
    }
    if (columns > 0 && rows > 0) m_lpFastFont_FullAdd = std::make_unique<cFastFont>(1, m_nPitchX, m_nPitchY, columns, rows);
    if (!m_lpFastFont_FullAdd || !m_lpFastFont_FullAdd->HasSurface()) {
        EcLog("m_lpFastFont_FullAdd Err");
        m_lpFastFont_Half.reset();
        m_lpFastFont_FullAdd.reset();
        return false;
    }
    BuildHalfGlyphs();
    BuildFullGlyphs(FALSE);
    return true;
}

void cFont::Release()
{
    plat::SafeRelease(m_lpReserved1);
    plat::SafeRelease(m_lpReserved2);
    plat::SafeRelease(m_lpD3DXFont);
    plat::SafeRelease(m_lpSprite);
    if (m_hFont) DeleteObject(m_hFont);
    m_hFont = nullptr;
    m_lpFastFont_Half.reset();
    m_lpFastFont_FullAdd.reset();
    DDReleaseSurface(&m_WorkSD);
    // The window and letter pictures are the caller's: a released font keeps no hold on them,
    // so that drawing with it after they are gone draws no window instead of reading freed pixels.
    m_lpWindowSD = nullptr;
    m_lpLetterSD = nullptr;
}

void cFont::Restore()
{
    if (lpDTCon) {
        if (m_lpFastFont_Half && m_lpFastFont_Half->m_SD.bLost) {
            BuildHalfGlyphs();
            m_lpFastFont_Half->m_SD.bLost = FALSE;
        }
        if (m_lpFastFont_FullAdd && m_lpFastFont_FullAdd->m_SD.bLost) {
            BuildFullGlyphs(TRUE);
            m_lpFastFont_FullAdd->m_SD.bLost = FALSE;
        }
        return;
    }
    if (!lpDDCon) return;
    if (m_WorkSD.lpDDraw) RestoreDirectDrawSurface(m_WorkSD);
    if (m_lpFastFont_Half && m_lpFastFont_Half->HasSurface() && RestoreDirectDrawSurface(m_lpFastFont_Half->m_SD))
        BuildHalfGlyphs();
    if (m_lpFastFont_FullAdd && m_lpFastFont_FullAdd->HasSurface() && RestoreDirectDrawSurface(m_lpFastFont_FullAdd->m_SD))
        BuildFullGlyphs(TRUE);
}

bool CreateFonts(cFont* lpFonts, const FONTINFO* lpInfo, int nCount)
{
    if (!lpFonts || !lpInfo) return false;
    for (int i = 0; i < nCount; ++i) {
        const FONTINFO& info = lpInfo[i];
        DDSURFACEDATA* window = StandardSurface(info.nWindowSD);
        DDSURFACEDATA* letters = StandardSurface(info.nLetterSD);
        if (!lpFonts[i].Create(info.szFaceName, info.nWidth, info.nHeight, info.nPitchX, info.nPitchY, info.nColor, window,
                               info.nFrameWidth, info.nFrameColor, letters, info.nFastFont))
            return false;
    }
    return true;
}

void LoseFontDevices()
{
    int i = 0;
    for (cFont* font : g_FontList) {
        EcLogF("Font i = %d", i++);
        HRESULT hr = font->m_lpD3DXFont ? font->m_lpD3DXFont->OnLostDevice() : D3D_OK;
        if (hr != D3D_OK) EcLogF("lpFont->OnLostDevice hr = %d", static_cast<int>(hr));
        hr = font->m_lpSprite ? font->m_lpSprite->OnLostDevice() : D3D_OK;
        if (hr != D3D_OK) EcLogF("lpFont->OnLostDevice hr = %d", static_cast<int>(hr));
    }
}

void RestoreFontSheets()
{
    for (cFont* font : g_FontList) font->Restore();
}
