// The stage's backgrounds: the auto-scroll of their offsets and the picture or colour each one
// lays over the screen, behind the objects or in front of them.
#include <cmath>

#include "data/stage_data.h"
#include "data/stage_geometry.h"
#include "graphics/blit.h"
#include "graphics/fill.h"
#include "graphics/sprite_batch.h"
#include "graphics/standard_surfaces.h"
#include "play/play_scene.h"
#include "shell/game_arithmetic.h"

namespace {

constexpr int kScreenW = 640;
constexpr int kScreenH = 480;
constexpr int kMargin = kMarginBlocks * kCell;   // in pixels
constexpr int kMaxTiles = 1000;       // per row, and rows per picture
constexpr DWORD kFallbackColour = 16;

// The picture of background i, or null: only the first eight records have a slot.
DDSURFACEDATA* BackgroundPicture(int i)
{
    if (i < 0 || i >= kBackgroundSlots) return nullptr;
    DDSURFACEDATA* sd = &g_StdSurface[kBackgroundSlot + i];
    if (!sd->lpDT && !sd->lpDDraw) return nullptr;
    if (sd->nWidth <= 0 || sd->nHeight <= 0) return nullptr;
    return sd;
}

// One auto-scroll step of an offset along a picture of `size` pixels. One correction keeps an
// ordinary scroll in [0, size); a rate larger than the picture would leave the offset outside
// and let it drift without end, so only then is it wrapped in full.
void ScrollOffset(double& offset, double rate, int size)
{
    offset -= rate;
    if (offset < 0) offset += size;
    else if (offset >= size) offset -= size;
    if (size <= 0 || (offset >= 0 && offset < size)) return;
    offset = std::fmod(offset, static_cast<double>(size));
    if (offset < 0) offset += size;
    // Rounding in the addition can land exactly on the size.
    if (offset >= size) offset = 0;
}

// value mod size, made non-negative (size > 0).
int WrapInto(int value, int size)
{
    const int r = WrapMod(value, size);
    return r < 0 ? r + size : r;
}

void TilePicture(DDSURFACEDATA* target, DDSURFACEDATA* picture, int x0, int y0, DWORD flags)
{
    const int w = picture->nWidth;
    const int h = picture->nHeight;
    int sy = WrapInto(y0, h);
    for (int y = 0, rows = 0; y < kScreenH && rows < kMaxTiles; ++rows) {
        int sx = WrapInto(x0, w);
        for (int x = 0, tiles = 0; x < kScreenW && tiles < kMaxTiles; ++tiles) {
            DDBltFast(target, x, y, w - sx, h - sy, picture, sx, sy, flags);
            x += w - sx;
            sx = 0;
        }
        y += h - sy;
        sy = 0;
    }
}

}  // namespace

void cStageDraw::ScrollBackgrounds()
{
    cSafeVector<cBackgroundData>& list = g_StageData.m_Backgrounds;
    for (std::size_t i = 0; i < list.size(); ++i) {
        cBackgroundData& bg = list[i];
        const DDSURFACEDATA* picture = BackgroundPicture(static_cast<int>(i));
        if (bg.m_bAutoScrollX) ScrollOffset(bg.m_dOffsetX, bg.m_dFactorX, picture ? picture->nWidth : 0);
        if (bg.m_bAutoScrollY) ScrollOffset(bg.m_dOffsetY, bg.m_dFactorY, picture ? picture->nHeight : 0);
    }
}

void cStageDraw::DrawBackgrounds(DDSURFACEDATA* target, int front)
{
    cPlayScene& scene = SceneOf(this);
    cSafeVector<cBackgroundData>& list = g_StageData.m_Backgrounds;
    if (front == 0) {
        bool any = false;
        for (const cBackgroundData& bg : list) any = any || bg.m_bShow != 0;
        if (!any) {
            DDFillRectPal(target, 0, 0, kScreenW, kScreenH, kFallbackColour);
            return;
        }
    }
    const double scrollX = scene.m_ScrollX.m_dPos;
    const double scrollY = scene.m_ScrollY.m_dPos;
    int drawn = 0;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const cBackgroundData& bg = list[i];
        if (bg.m_nLayer != front || !bg.m_bShow) continue;
        if (bg.m_bFillOnly) {
            const bool inPalette = bg.m_nFillColor >= 0 && bg.m_nFillColor <= 255;
            DDFillRectPal(target, 0, 0, kScreenW, kScreenH, inPalette ? bg.m_nFillColor : kFallbackColour);
            ++drawn;
            continue;
        }
        const int x = bg.m_bAutoScrollX ? TruncToInt(scrollX + bg.m_dOffsetX - kMargin)
                                        : TruncToInt(WrapSub(TruncToInt(scrollX + 0.5), kMargin) * bg.m_dFactorX);
        const int y = bg.m_bAutoScrollY ? TruncToInt(scrollY + bg.m_dOffsetY - kMargin)
                                        : TruncToInt(WrapSub(TruncToInt(scrollY), kMargin) * bg.m_dFactorY);
        DDSURFACEDATA* picture = BackgroundPicture(static_cast<int>(i));
        if (!picture) continue;
        const DWORD flags = (front == 0 && drawn == 0) ? 0 : DDBLTFAST_SRCCOLORKEY;
        DDBeginSpriteBatch(FALSE);
        TilePicture(target, picture, x, y, flags);
        DDEndSpriteBatch();
        ++drawn;
    }
    if (front == 0 && drawn == 0) DDFillRectPal(target, 0, 0, kScreenW, kScreenH, kFallbackColour);
}
