// What the effects ask of our Direct3D device beyond blits: the texture-factor blend, a render
// target drawn with its own texture, and quads turned by any angle through the triangle path.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include "platform/video/d3d9.h"
#include "platform/video/d3d9_raster.h"
#include "tests/platform/raster_test_support.h"

namespace {

using plat::cD3DVertex;
using plat::cPixelStore;

using qbtest::At;
using qbtest::Put;
using qbtest::Quad;

TEST(D3DEffectOps, BlendFactorAlphaWeighsTextureAgainstFactorColourOnBothPaths)
{
    cPixelStore texture(4, 1, D3DFMT_A8R8G8B8);
    const std::uint32_t texels[4] = {0xFF000000u, 0xFFFFFFFFu, 0xFF10C080u, 0x80336699u};
    for (int x = 0; x < 4; ++x) Put(texture, x, 0, texels[x]);
    for (std::uint32_t factor : {128u, 80u, 48u, 16u, 0u, 255u}) {
        SCOPED_TRACE(factor);
        plat::cRasterState state;
        state.texture = &texture;
        state.colorOp = D3DTOP_BLENDFACTORALPHA;
        state.colorArg1 = D3DTA_TEXTURE;
        state.colorArg2 = D3DTA_TFACTOR;
        state.alphaOp = D3DTOP_SELECTARG1;
        state.alphaArg1 = D3DTA_TEXTURE;
        state.textureFactor = factor << 24 | 0x20A0F0u;
        state.blend = false;
        cPixelStore fast(4, 1, D3DFMT_A8R8G8B8), general(4, 1, D3DFMT_A8R8G8B8);
        cD3DVertex v[4];
        Quad(v, 0, 0, 4, 1, 0, 0, 1, 1, 0xFFFFFFFF);
        state.target = &fast;
        plat::DrawTriangleStrip(state, v, 4);
        state.target = &general;
        plat::DrawTriangle(state, v[0], v[1], v[2]);
        plat::DrawTriangle(state, v[1], v[2], v[3]);
        for (int x = 0; x < 4; ++x) {
            std::uint32_t expected = texels[x] & 0xFF000000u;
            for (int shift = 0; shift < 24; shift += 8) {
                const std::uint32_t t = (texels[x] >> shift) & 0xFF, c = (0x20A0F0u >> shift) & 0xFF;
                expected |= ((t * factor + c * (255 - factor) + 127) / 255) << shift;
            }
            EXPECT_EQ(At(fast, x, 0), expected) << x;
            EXPECT_EQ(At(general, x, 0), expected) << x;
        }
    }
}

// A quad turned by the angle about the pixel centre (cx, cy): pixel (X, Y) inside shows the
// texel under its centre turned back.
void CheckTurnedQuad(double degrees, bool exact)
{
    constexpr int kW = 6, kH = 4, kSize = 24;
    cPixelStore texture(kW, kH, D3DFMT_A8R8G8B8);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) Put(texture, x, y, 0xFF000000u | static_cast<std::uint32_t>(y * 16 + x + 1));
    const double s = std::sin(degrees * M_PI / 180), c = std::cos(degrees * M_PI / 180);
    const double cx = 12, cy = 11;  // centre of the picture, which spans (cx − 3 .. cx + 3) − 0.5
    cD3DVertex v[4];
    Quad(v, 9, 9, kW, kH, 0, 0, 1, 1, 0xFFFFFFFF);
    for (auto& vertex : v) {
        const double dx = vertex.x - cx, dy = vertex.y - cy;
        vertex.x = static_cast<float>(cx + dx * c - dy * s);
        vertex.y = static_cast<float>(cy + dx * s + dy * c);
    }
    plat::cRasterState state;
    state.texture = &texture;
    state.colorOp = D3DTOP_SELECTARG1;
    state.alphaOp = D3DTOP_SELECTARG1;
    state.blend = false;
    cPixelStore target(kSize, kSize, D3DFMT_A8R8G8B8);
    state.target = &target;
    plat::DrawTriangleStrip(state, v, 4);
    int drawn = 0;
    for (int Y = 0; Y < kSize; ++Y)
        for (int X = 0; X < kSize; ++X) {
            const double dx = X - cx, dy = Y - cy;
            // Back into the unturned picture, in texels from its left and top edges.
            const double u = cx + dx * c + dy * s - 8.5, t = cy - dx * s + dy * c - 8.5;
            const double margin = exact ? 0.0 : 0.02;
            // Turned by other angles a centre can fall on a texel's edge: those are left out.
            auto onEdge = [margin](double a) { return std::fabs(a - std::round(a)) < margin; };
            const bool inside = u > margin && u < kW - margin && t > margin && t < kH - margin && !onEdge(u) && !onEdge(t);
            const bool outside = u < -margin || u > kW + margin || t < -margin || t > kH + margin;
            const std::uint32_t got = At(target, X, Y);
            drawn += got != 0;
            if (inside) {
                EXPECT_EQ(got, 0xFF000000u | static_cast<std::uint32_t>(static_cast<int>(t) * 16 + static_cast<int>(u) + 1))
                    << X << "," << Y;
            } else if (outside) {
                EXPECT_EQ(got, 0u) << X << "," << Y;
            }
        }
    if (exact) {
        EXPECT_EQ(drawn, kW * kH) << "every texel lands once";
    }
}

TEST(D3DEffectOps, TurnedQuadsSampleTheTexelUnderEachPixelCentre)
{
    for (double degrees : {90.0, 180.0, 270.0}) {
        SCOPED_TRACE(degrees);
        CheckTurnedQuad(degrees, true);
    }
    for (double degrees : {45.0, 30.0, -17.0}) {
        SCOPED_TRACE(degrees);
        CheckTurnedQuad(degrees, false);
    }
}

TEST(D3DEffectOps, RenderTargetDrawnWithItsOwnTextureSamplesThePictureBeforeTheDraw)
{
    IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
    D3DPRESENT_PARAMETERS pp{};
    pp.BackBufferWidth = 8;
    pp.BackBufferHeight = 2;
    pp.BackBufferFormat = D3DFMT_X8R8G8B8;
    pp.Windowed = TRUE;
    IDirect3DDevice9* device = nullptr;
    ASSERT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp, &device), D3D_OK);
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(device->CreateTexture(8, 2, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &texture, nullptr), D3D_OK);
    IDirect3DSurface9* level = nullptr;
    texture->GetSurfaceLevel(0, &level);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 8; ++x) Put(*level->m_Store, x, y, 0xFF000000u | static_cast<std::uint32_t>(x + 1));
    IDirect3DVertexBuffer9* vb = nullptr;
    device->CreateVertexBuffer(112, D3DUSAGE_WRITEONLY, D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1, D3DPOOL_MANAGED, &vb,
                               nullptr);
    // The picture drawn onto itself one pixel to the right: every pixel takes its left
    // neighbour as it was, not a value this draw has just written.
    cD3DVertex quad[4];
    Quad(quad, 1, 0, 7, 2, 0, 0, 7.0f / 8, 1, 0xFFFFFFFF);
    void* bytes = nullptr;
    vb->Lock(0, 112, &bytes, 0);
    std::memcpy(bytes, quad, 112);
    vb->Unlock();
    device->SetRenderTarget(0, level);
    device->BeginScene();
    device->SetTexture(0, texture);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    device->SetStreamSource(0, vb, 0, 28);
    device->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1);
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), D3D_OK);
    device->EndScene();
    for (int x = 0; x < 8; ++x) EXPECT_EQ(At(*level->m_Store, x, 1), 0xFF000000u | static_cast<std::uint32_t>(x == 0 ? 1 : x)) << x;
    device->SetTexture(0, nullptr);
    device->SetStreamSource(0, nullptr, 0, 0);
    vb->Release();
    level->Release();
    texture->Release();
    device->Release();
    d3d->Release();
}

}  // namespace
