#include "graphics/effect_quad.h"

#include <cstring>
#include "graphics/blit_quad.h"
#include "graphics/device.h"

EFFECTQUADRESULT DDDrawEffectQuad(DDSURFACEDATA* lpVertexOwner, DDSURFACEDATA* lpTarget, const plat::cD3DVertex* lpQuad,
                                  const std::function<void()>& stages)
{
    if (!lpDTCon || !g_lpDevice || !lpVertexOwner || !lpVertexOwner->lpDT || !lpVertexOwner->lpDT->lpVB)
        return EFFECTQUAD_NOVERTICES;
    IDirect3DVertexBuffer9* vb = lpVertexOwner->lpDT->lpVB;
    void* vertices = nullptr;
    if (FAILED(vb->Lock(0, kQuadBytes, &vertices, 0))) return EFFECTQUAD_NOVERTICES;
    std::memcpy(vertices, lpQuad, kQuadBytes);
    vb->Unlock();
    if (!DDBeginScene() || !DDSetRenderTarget(0, lpTarget)) return EFFECTQUAD_NOSCENE;
    stages();
    g_lpDevice->SetStreamSource(0, vb, 0, sizeof(plat::cD3DVertex));
    g_lpDevice->SetFVF(kQuadFvf);
    g_lpDevice->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
    DDSetRenderTarget(0, lpDTCon->lpDefaultTarget);
    return EFFECTQUAD_DRAWN;
}
