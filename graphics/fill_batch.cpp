// The Direct3D fill batch: fills on render targets collected and drawn per target in runs.
#include "graphics/blit_quad.h"
#include "graphics/device.h"
#include "graphics/fill.h"

FILLBATCH g_FillBatch;

namespace {

void DrawRun(const FILLBATCHRECORD* run, std::size_t n)
{
    std::vector<plat::cD3DVertex> vertices(4 * n);
    for (std::size_t k = 0; k < n; ++k) {
        const FILLBATCHRECORD& r = run[k];
        DDMakeQuad(&vertices[4 * k], r.x, r.y, r.w, r.h, 0.0f, 0.0f, static_cast<float>(r.w), static_cast<float>(r.h),
                   r.dwColor);
    }
    DDDrawQuadRun(vertices.data(), n, run[0].lpSD, [] {
        g_lpDevice->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
        g_lpDevice->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
        g_lpDevice->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
        g_lpDevice->SetTexture(0, g_WorkSD.lpDT ? g_WorkSD.lpDT->lpTexture : nullptr);
    });
}

}  // namespace

void DDBeginFillBatch()
{
    if (!lpDTCon) return;
    g_FillBatch.bActive = TRUE;
    g_FillBatch.records.clear();
}

void DDEndFillBatch()
{
    if (!lpDTCon) return;
    std::vector<FILLBATCHRECORD>& records = g_FillBatch.records;
    if (g_FillBatch.bActive && g_lpDevice) {
        for (std::size_t i = 0; i < records.size();) {
            std::size_t end = i + 1;
            while (end < records.size() && end - i < kMaxRunQuads && records[end].lpSD == records[i].lpSD) ++end;
            DrawRun(&records[i], end - i);
            i = end;
        }
    }
    records.clear();
    g_FillBatch.bActive = FALSE;
}
