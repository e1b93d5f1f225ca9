#pragma once
// The Direct3D quads behind blits and fills: their vertices, the clear that makes an opaque
// blit of a keyed picture keep its transparent pixels, the texture-stage settings of a blit,
// and the one-quad draw through the source record's own vertex buffer.
#include <cstddef>
#include <functional>
#include "graphics/surface_data.h"
#include "platform/video/d3d9_raster.h"

constexpr DWORD kQuadFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;
constexpr UINT kQuadBytes = 4 * sizeof(plat::cD3DVertex);

// Corners top-left, bottom-left, top-right, bottom-right at pixel positions minus 0.5.
void DDMakeQuad(plat::cD3DVertex* lpVertices, int x, int y, int w, int h, float u0, float v0, float u1, float v1,
                DWORD dwColor);
// A blit quad: texture coordinates are source pixels over the source's allocated size.
void DDMakeBlitQuad(plat::cD3DVertex* lpVertices, int x, int y, int w, int h, const DDSURFACEDATA* lpSrc, int sx,
                    int sy, int sw, int sh, DWORD dwColor);

// The value that means transparent in a render-target record.
DWORD DDTransparentClearColor(const DDSURFACEDATA* lpTarget);
// Clears a rectangle of the current render target (lpTarget) to its transparent value.
void DDClearToTransparent(const DDSURFACEDATA* lpTarget, int x, int y, int w, int h);
// Stage 0 of a blit: texture op diffuse for colour and alpha.
void DDSetBlitStages(int nColorOp, int nAlphaOp);

// The quad of one blit, with the current draw state, onto a render-target record; the
// rectangles are clipped already. False when it could not be drawn.
bool DDDrawBlitQuad(DDSURFACEDATA* lpDst, int x, int y, int w, int h, DDSURFACEDATA* lpSrc, int sx, int sy, int sw,
                    int sh, DWORD dwFlags);

// A batch run: n quads of vertices drawn onto lpTarget through one vertex buffer and one index
// buffer, one indexed draw per quad. prepare runs once the target is set (clears, stage
// states, texture). A vertex buffer that cannot be made is reported and the run dropped.
void DDDrawQuadRun(const plat::cD3DVertex* lpVertices, std::size_t n, DDSURFACEDATA* lpTarget,
                   const std::function<void()>& prepare);
// 16-bit indices reach 4 × 16384 vertices: longer runs are drawn in parts.
constexpr std::size_t kMaxRunQuads = 16384;

// The one-quad draw of the screen and blit effects: four vertices written into a record's own
// vertex buffer and drawn at once as a strip of two triangles onto a render target inside the
// scene, outside the sprite batch, the default target set again after.
enum EFFECTQUADRESULT : int {
    EFFECTQUAD_NOVERTICES = 0,  // the vertex buffer could not be filled: nothing drawn
    EFFECTQUAD_NOSCENE = 1,     // the scene or the render target could not be set: nothing drawn
    EFFECTQUAD_DRAWN = 2,
};

// stages sets texture stage 0 (and the texture) once the target is set.
EFFECTQUADRESULT DDDrawEffectQuad(DDSURFACEDATA* lpVertexOwner, DDSURFACEDATA* lpTarget, const plat::cD3DVertex* lpQuad,
                                  const std::function<void()>& stages);
