#include "objects/image_source.h"

#include "data/database.h"
#include "data/stage_geometry.h"
#include "graphics/blit.h"
#include "graphics/device.h"
#include "graphics/stage_picture_surfaces.h"
#include "graphics/standard_surfaces.h"
#include "objects/object_base.h"
#include "shell/game_arithmetic.h"
#include "shell/system_ini.h"

namespace {

SURFACEREF Standard(int index)
{
    return {SURFACELIST_STANDARD, index};
}

SURFACEREF Own(int index)
{
    return {SURFACELIST_OWNPICTURE, index};
}

int Facing(const cGameObject* object)
{
    return (object && object->m_nDirection != 0) ? 1 : 0;
}

// Whether (x, y) lies inside standard sheet `sheet`; a sheet outside the table has no pixels.
bool InsideSheet(int sheet, int x, int y, const IMAGESHEETS& sheets)
{
    if (!sheets.lpSurfaces || sheet < 0 || sheet >= sheets.nSurfaces) return false;
    const DDSURFACEDATA& surface = sheets.lpSurfaces[sheet];
    return x >= 0 && x < surface.nWidth && y >= 0 && y < surface.nHeight;
}

}  // namespace

void cImageSource::Set(int user, int kind, int index, int base, const cGameObject* object, int frame,
                       const IMAGESHEETS& sheets)
{
    m_bOwnScale = 0;
    m_nOwnScale = 1;
    const bool chara = (user == 1 && object != nullptr);
    switch (kind) {
    case 0:
        // One picture: the number is the cell, and base and frame play no part.
        m_Surface = m_OppSurface = Standard(kBlockSheet);
        m_EffectSurface = m_OppEffectSurface = Standard(kBlockSheet + 1);
        m_nSrcX = WrapMul(WrapDiv(index, 15), kCell);
        m_nSrcY = WrapMul(WrapMod(index, 15), kCell);
        break;
    case 1:
        SetCharaSheet(index, base, chara ? object : nullptr, frame, sheets);
        break;
    case 2:
        m_Surface = m_OppSurface = Standard(kItemSheet);
        m_EffectSurface = m_OppEffectSurface = Standard(kItemSheet + 1);
        m_nSrcX = WrapMul(WrapDiv(index, 15), 64);
        if (user == 2 && object) m_nSrcX = WrapAdd(m_nSrcX, WrapMul(frame, kCell));
        m_nSrcY = WrapMul(WrapMod(index, 15), kCell);
        break;
    case 3:
        if (chara) {
            const int facing = Facing(object);
            m_Surface = m_EffectSurface = Standard(kShotSheet + facing);
            m_OppSurface = m_OppEffectSurface = Standard(kShotSheet + 1 - facing);
        } else {
            m_Surface = m_EffectSurface = Standard(kShotSheet);
        }
        m_nSrcX = WrapMul(WrapDiv(index, 30), 64);
        m_nSrcY = WrapMul(WrapMod(index, 30), kCell);
        break;
    case 4:
        SetOwnPicture(index, base, chara ? object : nullptr, frame, sheets);
        break;
    default:
        // An image kind of no sheet: nothing to draw from.
        m_Surface = m_EffectSurface = m_OppSurface = m_OppEffectSurface = Standard(-1);
        m_ScaleSurface = m_ScaleBackSurface = Standard(-1);
        return;
    }
    if (sheets.bVideoStretch) {
        m_ScaleSurface = m_Surface;
        m_ScaleBackSurface = m_OppSurface;
    } else {
        m_ScaleSurface = m_EffectSurface;
        m_ScaleBackSurface = m_OppEffectSurface;
    }
}

void cImageSource::SetCharaSheet(int index, int base, const cGameObject* chara, int frame,
                                 const IMAGESHEETS& sheets)
{
    int sheet = WrapAdd(kFirstCharaSheet, WrapMul(2, WrapDiv(index, 15)));
    if (chara) {
        const int facing = Facing(chara);
        sheet = WrapAdd(sheet, facing);
        const int opposite = facing ? sheet - 1 : WrapAdd(sheet, 1);
        m_OppSurface = Standard(opposite);
        m_OppEffectSurface = Standard(WrapAdd(opposite, kEffectCopyOffset));
        m_nSrcX = WrapMul(WrapAdd(base, frame), kCell);
    } else {
        if (base > 19) {
            sheet = WrapAdd(sheet, 1);
            base -= 20;
        }
        m_nSrcX = WrapMul(base, kCell);
    }
    m_nSrcY = WrapMul(WrapMod(index, 15), kCell);
    // A cell outside its sheet, or a sheet outside the table, draws the first chara sheet's
    // first cell instead.
    if (!InsideSheet(sheet, m_nSrcX, m_nSrcY, sheets) || WrapAdd(sheet, kEffectCopyOffset) >= sheets.nSurfaces) {
        sheet = kFirstCharaSheet;
        m_nSrcX = 0;
        m_nSrcY = 0;
    }
    m_Surface = Standard(sheet);
    m_EffectSurface = Standard(sheet + kEffectCopyOffset);
}

void cImageSource::SetOwnPicture(int index, int base, const cGameObject* chara, int frame,
                                 const IMAGESHEETS& sheets)
{
    int surface = WrapSub(WrapMul(index, 4), 4);
    int effect = WrapSub(WrapMul(index, 4), 2);
    if (chara) {
        const int facing = Facing(chara);
        surface = WrapAdd(surface, facing);
        effect = WrapAdd(effect, facing);
        const int step = facing ? -1 : 1;
        m_OppSurface = Own(WrapAdd(surface, step));
        m_OppEffectSurface = Own(WrapAdd(effect, step));
        base = WrapAdd(base, frame);
    }
    m_Surface = Own(surface);
    m_EffectSurface = Own(effect);
    const cBmpCharaExcData* bitmap = nullptr;
    if (sheets.lpBitmaps) bitmap = &sheets.lpBitmaps->At(index);
    if (bitmap && bitmap->m_bLargeCell) {
        const int cells = bitmap->UsableCellSize();
        const int perRow = 16 / cells;
        m_bOwnScale = 1;
        m_nOwnScale = static_cast<std::int8_t>(cells);
        m_nSrcX = WrapMul(WrapMul(WrapMod(base, perRow), cells), kCell);
        m_nSrcY = WrapMul(WrapMul(WrapDiv(base, perRow), cells), kCell);
    } else {
        m_nSrcX = WrapMul(WrapMod(base, 16), kCell);
        m_nSrcY = WrapMul(WrapDiv(base, 16), kCell);
    }
}

void cImageSource::SetSimple(DDSURFACEDATA* target, int x, int y, int kind, int index, int frame)
{
    constexpr int kIcon = 16;
    constexpr int kSmallItemSheet = 42;
    DDSURFACEDATA* sheet = nullptr;
    int sx = 0;
    int sy = 0;
    int size = kCell;
    switch (kind) {
    case 0:
        sheet = ImageSurface(Standard(kBlockSheet + 1));
        sx = WrapMul(WrapDiv(index, 15), kCell);
        sy = WrapMul(WrapMod(index, 15), kCell);
        break;
    case 1:
        sheet = ImageSurface(Standard(WrapAdd(WrapAdd(kFirstCharaSheet, WrapMul(2, WrapDiv(index, 15))), kEffectCopyOffset)));
        sx = WrapMul(frame, kCell);
        sy = WrapMul(WrapMod(index, 15), kCell);
        break;
    case 2:
        sheet = ImageSurface(Standard(kSmallItemSheet));
        sx = WrapMul(WrapDiv(index, 15), kCell);
        sy = WrapMul(WrapMod(index, 15), kIcon);
        size = kIcon;
        break;
    case 3:
        sheet = ImageSurface(Standard(kShotSheet));
        sx = WrapMul(WrapDiv(index, 30), 64);
        sy = WrapMul(WrapMod(index, 30), kCell);
        break;
    case 4: {
        sheet = ImageSurface(Own(WrapSub(WrapMul(index, 4), 2)));
        const cBmpCharaExcData& bitmap = g_Database.m_BmpCharaExcs.At(index);
        const int cells = bitmap.m_bLargeCell ? bitmap.UsableCellSize() : 1;
        const int perRow = 16 / cells;
        size = WrapMul(cells, kCell);
        sx = WrapMul(WrapMod(frame, perRow), size);
        sy = WrapMul(WrapDiv(frame, perRow), size);
        break;
    }
    default:
        return;
    }
    if (!target || !sheet) return;
    if (size == kIcon) DDBltFast(target, x, y, kIcon, kIcon, sheet, sx, sy, DDBLTFAST_SRCCOLORKEY);
    else DDBlt(target, x, y, kIcon, kIcon, sheet, sx, sy, size, size, DDBLTFAST_SRCCOLORKEY);
}

TILESHEETS SelectTileSheetSurfaces(int directDraw, int videoStretch)
{
    TILESHEETS sheets;
    const bool stretch = directDraw && videoStretch;
    sheets.nMarkSheet = stretch ? 43 : 44;
    sheets.nEffectWork = stretch ? 67 : 68;
    sheets.nLargeWork = directDraw ? 68 : 70;
    return sheets;
}

int ShotImageIndex(int index, int facing, int directDraw, const IMAGESHEETS& sheets)
{
    if (!directDraw) return index;
    auto hasDirectDrawSurface = [&sheets](int i) {
        if (!sheets.lpSurfaces || i < 0 || i >= sheets.nSurfaces) return false;
        const DDRAWSURFACEDATA* part = sheets.lpSurfaces[i].lpDDraw;
        return part != nullptr && part->lpDDS != nullptr;
    };
    const int copy = WrapAdd(index, kEffectCopyOffset);
    if (facing == 0 && !hasDirectDrawSurface(index)) return copy;
    if (facing == 1 && hasDirectDrawSurface(copy)) return copy;
    return index;
}

IMAGESHEETS StageImageSheets()
{
    IMAGESHEETS sheets;
    sheets.lpSurfaces = g_StdSurface;
    sheets.nSurfaces = kStdSurfaceCount;
    sheets.lpBitmaps = &g_Database.m_BmpCharaExcs;
    sheets.bVideoStretch = (lpDTCon == nullptr && g_SystemIni.DD_VideoStretch) ? 1 : 0;
    return sheets;
}

DDSURFACEDATA* ImageSurface(const SURFACEREF& ref)
{
    if (ref.nIndex < 0) return nullptr;
    if (ref.nList == SURFACELIST_STANDARD) return ref.nIndex < kStdSurfaceCount ? &g_StdSurface[ref.nIndex] : nullptr;
    if (static_cast<std::size_t>(ref.nIndex) >= g_CharaSurface.size()) return nullptr;
    return &g_CharaSurface.At(ref.nIndex);
}

void DrawImageCell(DDSURFACEDATA* target, int x, int y, int w, int h, const cImageSource& source, int sw, int sh)
{
    DDSURFACEDATA* surface = ImageSurface(source.m_Surface);
    if (!target || !surface) return;
    if (w == sw && h == sh) DDBltFast(target, x, y, w, h, surface, source.m_nSrcX, source.m_nSrcY, DDBLTFAST_SRCCOLORKEY);
    else DDBlt(target, x, y, w, h, surface, source.m_nSrcX, source.m_nSrcY, sw, sh, DDBLTFAST_SRCCOLORKEY);
}
