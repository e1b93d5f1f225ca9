#pragma once
// The sprite batch: Direct3D blits issued between DDBeginSpriteBatch and DDEndSpriteBatch are
// collected and drawn at the end in runs that share a source, a destination and a draw state,
// each run through one vertex buffer and one index buffer. With grouping, blits from surfaces
// registered with DDAddBatchSurface are drawn by surface in registration order, after every
// blit from an unregistered source. Filled by one drawing thread at a time; does nothing
// under DirectDraw.
#include <vector>
#include "graphics/surface_data.h"

struct SPRITEBATCHRECORD {
    int nKey;
    DDSURFACEDATA* lpDst;
    DDSURFACEDATA* lpSrc;
    int x, y, w, h;
    int sx, sy, sw, sh;  // after clipping
    DWORD dwFlags;
    DWORD dwDrawColor;
    int nColorOp;
    int nAlphaOp;
    int nReserved;  // always 0
};

struct SPRITEBATCHSURFACE {
    DDSURFACEDATA* lpSD;
    int nKeyBase;
};

struct SPRITEBATCH {
    BOOL bActive = FALSE;
    BOOL bGroup = FALSE;
    std::vector<SPRITEBATCHRECORD> records;
    std::vector<SPRITEBATCHSURFACE> surfaces;
    int nSequence = 0;
};

extern SPRITEBATCH g_SpriteBatch;

void DDBeginSpriteBatch(BOOL bSortBySurface);
int DDAddBatchSurface(DDSURFACEDATA* lpSD);
int DDEndSpriteBatch();

// Takes a clipped Direct3D blit into the open batch with the current draw state; false when
// no batch is open. lpRegistered is the source as the caller named it (a mirror record is
// registered under its own name).
bool DDCollectSprite(DDSURFACEDATA* lpDst, int x, int y, int w, int h, DDSURFACEDATA* lpSrc,
                     DDSURFACEDATA* lpRegistered, int sx, int sy, int sw, int sh, DWORD dwFlags);
