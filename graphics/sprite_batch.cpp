#include "graphics/sprite_batch.h"

#include <algorithm>
#include "graphics/blit_quad.h"
#include "graphics/device.h"

SPRITEBATCH g_SpriteBatch;

namespace {

bool SameRun(const SPRITEBATCHRECORD& a, const SPRITEBATCHRECORD& b)
{
    return a.lpSrc == b.lpSrc && a.lpDst == b.lpDst && a.dwFlags == b.dwFlags && a.dwDrawColor == b.dwDrawColor &&
           a.nColorOp == b.nColorOp && a.nAlphaOp == b.nAlphaOp;
}

int KeyBase(const DDSURFACEDATA* lpSD)
{
    for (const SPRITEBATCHSURFACE& s : g_SpriteBatch.surfaces)
        if (s.lpSD == lpSD) return s.nKeyBase;
    return 0;
}

void DrawRun(const SPRITEBATCHRECORD* run, std::size_t n)
{
    const SPRITEBATCHRECORD& first = run[0];
    DDSURFACEDATA* src = first.lpSrc;
    if (!src->lpDT || !src->lpDT->lpTexture) return;
    std::vector<plat::cD3DVertex> vertices(4 * n);
    for (std::size_t k = 0; k < n; ++k) {
        const SPRITEBATCHRECORD& r = run[k];
        DDMakeBlitQuad(&vertices[4 * k], r.x, r.y, r.w, r.h, src, r.sx, r.sy, r.sw, r.sh, r.dwDrawColor);
    }
    DDDrawQuadRun(vertices.data(), n, first.lpDst, [&] {
        if (first.dwFlags == 0 && src->lpDT->bTransmit)
            for (std::size_t k = 0; k < n; ++k) DDClearToTransparent(first.lpDst, run[k].x, run[k].y, run[k].w, run[k].h);
        DDSetBlitStages(first.nColorOp, first.nAlphaOp);
        g_lpDevice->SetTexture(0, src->lpDT->lpTexture);
    });
}

}  // namespace

void DDBeginSpriteBatch(BOOL bSortBySurface)
{
    if (!lpDTCon) return;
    g_SpriteBatch.bActive = TRUE;
    g_SpriteBatch.bGroup = bSortBySurface;
    g_SpriteBatch.records.clear();
    g_SpriteBatch.surfaces.clear();
    g_SpriteBatch.nSequence = 0;
}

int DDAddBatchSurface(DDSURFACEDATA* lpSD)
{
    if (!lpDTCon || !g_SpriteBatch.bActive || !g_SpriteBatch.bGroup || !lpSD) return 0;
    if (KeyBase(lpSD) != 0) return 1;
    const int base = 100000 * (static_cast<int>(g_SpriteBatch.surfaces.size()) + 1);
    g_SpriteBatch.surfaces.push_back({lpSD, base});
    return 1;
}

bool DDCollectSprite(DDSURFACEDATA* lpDst, int x, int y, int w, int h, DDSURFACEDATA* lpSrc, DDSURFACEDATA* lpRegistered,
                     int sx, int sy, int sw, int sh, DWORD dwFlags)
{
    SPRITEBATCH& b = g_SpriteBatch;
    if (!lpDTCon || !b.bActive) return false;
    int base = 0;
    if (b.bGroup) {
        base = KeyBase(lpSrc);
        if (base == 0 && lpRegistered) base = KeyBase(lpRegistered);
    }
    b.records.push_back({base + b.nSequence, lpDst, lpSrc, x, y, w, h, sx, sy, sw, sh, dwFlags, lpDTCon->dwDrawColor,
                         lpDTCon->nColorOp, lpDTCon->nAlphaOp, 0});
    ++b.nSequence;
    return true;
}

int DDEndSpriteBatch()
{
    SPRITEBATCH& b = g_SpriteBatch;
    if (!lpDTCon) return 0;
    if (b.bActive && !b.records.empty() && g_lpDevice) {
        if (b.bGroup)
            std::stable_sort(b.records.begin(), b.records.end(),
                             [](const SPRITEBATCHRECORD& l, const SPRITEBATCHRECORD& r) { return l.nKey < r.nKey; });
        for (std::size_t i = 0; i < b.records.size();) {
            std::size_t end = i + 1;
            while (end < b.records.size() && end - i < kMaxRunQuads && SameRun(b.records[i], b.records[end])) ++end;
            DrawRun(&b.records[i], end - i);
            i = end;
        }
    }
    b.records.clear();
    b.surfaces.clear();
    b.nSequence = 0;
    b.bActive = FALSE;
    return 1;
}
