#include "graphics/blit_quad.h"

#include <cstring>
#include "graphics/device.h"
#include "shell/log.h"

void DDMakeQuad(plat::cD3DVertex* v, int x, int y, int w, int h, float u0, float v0, float u1, float v1, DWORD dwColor)
{
    const float left = static_cast<float>(x) - 0.5f, top = static_cast<float>(y) - 0.5f;
    // Edges summed in double: a rectangle far outside the target must not overflow an int.
    const float right = static_cast<float>(static_cast<double>(x) + w) - 0.5f;
    const float bottom = static_cast<float>(static_cast<double>(y) + h) - 0.5f;
    v[0] = {left, top, 0.0f, 1.0f, dwColor, u0, v0};
    v[1] = {left, bottom, 0.0f, 1.0f, dwColor, u0, v1};
    v[2] = {right, top, 0.0f, 1.0f, dwColor, u1, v0};
    v[3] = {right, bottom, 0.0f, 1.0f, dwColor, u1, v1};
}

void DDMakeBlitQuad(plat::cD3DVertex* v, int x, int y, int w, int h, const DDSURFACEDATA* lpSrc, int sx, int sy, int sw,
                    int sh, DWORD dwColor)
{
    const double tw = lpSrc->nTexWidth > 0 ? lpSrc->nTexWidth : 1, th = lpSrc->nTexHeight > 0 ? lpSrc->nTexHeight : 1;
    DDMakeQuad(v, x, y, w, h, static_cast<float>(sx / tw), static_cast<float>(sy / th), static_cast<float>((static_cast<double>(sx) + sw) / tw),
               static_cast<float>((static_cast<double>(sy) + sh) / th), dwColor);
}

DWORD DDTransparentClearColor(const DDSURFACEDATA* lpTarget)
{
    if (!lpDTCon) return 0;
    if (lpTarget != &g_BackBuffer) return lpDTCon->dwTransmit;
    if (g_nBpp != 16) return lpDTCon->dwTransmitBack;
    // At 16 bits the transparent colour is held in 5-bit components: the back buffer gets
    // that colour itself, widened to 8 bits as the texture format shows it.
    const RGBTRIPLE& c = lpDTCon->rgbTransmit;
    return 0xFF000000u | plat::Widen5(c.rgbtRed & 31u) << 16 | plat::Widen5(c.rgbtGreen & 31u) << 8 |
           plat::Widen5(c.rgbtBlue & 31u);
}

void DDClearToTransparent(const DDSURFACEDATA* lpTarget, int x, int y, int w, int h)
{
    const D3DRECT rect{x, y, x + w, y + h};
    g_lpDevice->Clear(1, &rect, D3DCLEAR_TARGET, DDTransparentClearColor(lpTarget), 1.0f, 0);
}

void DDSetBlitStages(int nColorOp, int nAlphaOp)
{
    g_lpDevice->SetTextureStageState(0, D3DTSS_COLOROP, static_cast<DWORD>(nColorOp));
    g_lpDevice->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    g_lpDevice->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    g_lpDevice->SetTextureStageState(0, D3DTSS_ALPHAOP, static_cast<DWORD>(nAlphaOp));
    g_lpDevice->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    g_lpDevice->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
}

bool DDDrawBlitQuad(DDSURFACEDATA* lpDst, int x, int y, int w, int h, DDSURFACEDATA* lpSrc, int sx, int sy, int sw,
                    int sh, DWORD dwFlags)
{
    if (!lpDTCon || !g_lpDevice || !lpDst || !lpSrc || !lpDst->lpDT || !lpSrc->lpDT || !lpSrc->lpDT->lpVB ||
        !lpSrc->lpDT->lpTexture)
        return false;
    plat::cD3DVertex quad[4];
    DDMakeBlitQuad(quad, x, y, w, h, lpSrc, sx, sy, sw, sh, lpDTCon->dwDrawColor);
    void* vertices = nullptr;
    if (FAILED(lpSrc->lpDT->lpVB->Lock(0, kQuadBytes, &vertices, 0))) return false;
    std::memcpy(vertices, quad, kQuadBytes);
    lpSrc->lpDT->lpVB->Unlock();
    if (!DDBeginScene() || !DDSetRenderTarget(0, lpDst)) return false;
    if (dwFlags == 0 && lpSrc->lpDT->bTransmit) DDClearToTransparent(lpDst, x, y, w, h);
    DDSetBlitStages(lpDTCon->nColorOp, lpDTCon->nAlphaOp);
    g_lpDevice->SetTexture(0, lpSrc->lpDT->lpTexture);
    g_lpDevice->SetStreamSource(0, lpSrc->lpDT->lpVB, 0, sizeof(plat::cD3DVertex));
    g_lpDevice->SetFVF(kQuadFvf);
    const bool drawn = SUCCEEDED(g_lpDevice->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2));
    DDSetRenderTarget(0, lpDTCon->lpDefaultTarget);
    return drawn;
}

void DDDrawQuadRun(const plat::cD3DVertex* lpVertices, std::size_t n, DDSURFACEDATA* lpTarget,
                   const std::function<void()>& prepare)
{
    if (n == 0 || n > kMaxRunQuads || !g_lpDevice) return;
    const UINT vbBytes = static_cast<UINT>(n * kQuadBytes);
    IDirect3DVertexBuffer9* madeVertices = nullptr;
    if (FAILED(g_lpDevice->CreateVertexBuffer(vbBytes, D3DUSAGE_WRITEONLY, kQuadFvf, D3DPOOL_MANAGED, &madeVertices,
                                              nullptr))) {
        ReportLogEcho("CreateVertexBuffer Err");
        return;
    }
    plat::cComPtr<IDirect3DVertexBuffer9> vb(madeVertices);
    void* bytes = nullptr;
    if (FAILED(vb->Lock(0, vbBytes, &bytes, 0))) return;
    std::memcpy(bytes, lpVertices, vbBytes);
    vb->Unlock();
    const UINT ibBytes = static_cast<UINT>(4 * n * sizeof(WORD));
    IDirect3DIndexBuffer9* madeIndices = nullptr;
    if (FAILED(g_lpDevice->CreateIndexBuffer(ibBytes, D3DUSAGE_WRITEONLY, D3DFMT_INDEX16, D3DPOOL_MANAGED, &madeIndices,
                                             nullptr)))
        return;
    plat::cComPtr<IDirect3DIndexBuffer9> ib(madeIndices);
    if (FAILED(ib->Lock(0, ibBytes, &bytes, 0))) return;
    WORD* indices = static_cast<WORD*>(bytes);
    for (std::size_t i = 0; i < 4 * n; ++i) indices[i] = static_cast<WORD>(i);
    ib->Unlock();
    if (!DDBeginScene() || !DDSetRenderTarget(0, lpTarget)) return;
    prepare();
    g_lpDevice->SetStreamSource(0, vb.get(), 0, sizeof(plat::cD3DVertex));
    g_lpDevice->SetIndices(ib.get());
    g_lpDevice->SetFVF(kQuadFvf);
    for (std::size_t k = 0; k < n; ++k)
        g_lpDevice->DrawIndexedPrimitive(D3DPT_TRIANGLESTRIP, 0, static_cast<UINT>(4 * k), 4, static_cast<UINT>(4 * k), 2);
    // The device lets go of the run's buffers before they are released.
    g_lpDevice->SetStreamSource(0, nullptr, 0, 0);
    g_lpDevice->SetIndices(nullptr);
    DDSetRenderTarget(0, lpDTCon->lpDefaultTarget);
}

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
