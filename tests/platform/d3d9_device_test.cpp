// Our software Direct3D device: textured quads on integer pixel centres, the stage
// operations, source-alpha blending, clears, render-target copies and device loss.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>
#include "platform/video/d3d9.h"
#include "platform/video/d3d9_faults.h"
#include "platform/video/d3d9_raster.h"
#include "tests/platform/raster_test_support.h"

namespace {

using plat::cD3DVertex;
using plat::cPixelStore;

// Reference arithmetic written out here: modulate (a × b + 127) / 255 and the source-alpha
// blend (s × a + d × (255 − a) + 127) / 255.
std::uint32_t RefModulate(std::uint32_t a, std::uint32_t b) { return (a * b + 127) / 255; }
std::uint32_t RefBlend(std::uint32_t s, std::uint32_t d, std::uint32_t a) { return (s * a + d * (255 - a) + 127) / 255; }

using qbtest::At;
using qbtest::Put;
using qbtest::Quad;

TEST(D3DRaster, QuadSamplesTexelFloorOfPixelCentreOnBothPaths)
{
    cPixelStore texture(8, 8, D3DFMT_A8R8G8B8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) Put(texture, x, y, 0xFF000000u | static_cast<std::uint32_t>(y * 16 + x));
    struct Case { int w, h, sx, sy, sw, sh; } cases[] = {
        {8, 8, 0, 0, 8, 8}, {16, 12, 0, 0, 8, 8}, {3, 5, 1, 2, 7, 5}, {4, 4, 0, 0, 8, 8}, {8, 4, 8, 0, -8, 4},
        {5, 3, 6, 1, -4, 3}, {6, 6, 2, 2, 3, 3},
    };
    plat::cRasterState state;
    state.texture = &texture;
    state.colorOp = D3DTOP_SELECTARG1;
    state.alphaOp = D3DTOP_SELECTARG1;
    state.blend = false;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " from " << c.sx << "," << c.sy << " " << c.sw << "x" << c.sh);
        cPixelStore fast(20, 20, D3DFMT_A8R8G8B8), general(20, 20, D3DFMT_A8R8G8B8);
        cD3DVertex v[4];
        Quad(v, 2, 3, c.w, c.h, c.sx / 8.0f, c.sy / 8.0f, (c.sx + c.sw) / 8.0f, (c.sy + c.sh) / 8.0f, 0xFFFFFFFF);
        state.target = &fast;
        plat::DrawTriangleStrip(state, v, 4);
        state.target = &general;
        plat::DrawTriangle(state, v[0], v[1], v[2]);
        plat::DrawTriangle(state, v[1], v[2], v[3]);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x) {
                std::uint32_t expected = 0;
                if (x >= 2 && x < 2 + c.w && y >= 3 && y < 3 + c.h) {
                    // floor(s + (k + 0.5) * extent / size), wrapped into the texture
                    auto texel = [](int s, int extent, int size, int k) {
                        double t = s + (k + 0.5) * extent / size;
                        int i = static_cast<int>(std::floor(t));
                        return ((i % 8) + 8) % 8;
                    };
                    expected = 0xFF000000u | static_cast<std::uint32_t>(texel(c.sy, c.sh, c.h, y - 3) * 16 + texel(c.sx, c.sw, c.w, x - 2));
                }
                ASSERT_EQ(At(fast, x, y), expected) << x << "," << y;
                ASSERT_EQ(At(general, x, y), expected) << "general " << x << "," << y;
            }
    }
}

TEST(D3DRaster, StageOperationsAndSourceAlphaBlend)
{
    cPixelStore texture(1, 1, D3DFMT_A8R8G8B8);
    Put(texture, 0, 0, 0x80C06030);
    const std::uint32_t diffuse = 0xFF80FF40, dst = 0xFF204060;
    struct Case { DWORD op; } cases[] = {{D3DTOP_MODULATE}, {D3DTOP_ADD}, {D3DTOP_SUBTRACT}, {D3DTOP_SELECTARG1}};
    for (const auto& c : cases) {
        cPixelStore target(1, 1, D3DFMT_A8R8G8B8);
        Put(target, 0, 0, dst);
        plat::cRasterState s;
        s.target = &target;
        s.texture = &texture;
        s.colorOp = c.op;
        s.colorArg1 = D3DTA_TEXTURE;
        s.colorArg2 = D3DTA_DIFFUSE;
        s.alphaOp = D3DTOP_MODULATE;
        cD3DVertex v[4];
        Quad(v, 0, 0, 1, 1, 0, 0, 1, 1, diffuse);
        plat::DrawTriangleStrip(s, v, 4);
        std::uint32_t src = RefModulate(0x80, 0xFF) << 24;
        for (int shift = 0; shift < 24; shift += 8) {
            std::uint32_t a = (0x80C06030u >> shift) & 0xFF, b = (diffuse >> shift) & 0xFF, r = 0;
            if (c.op == D3DTOP_MODULATE) r = RefModulate(a, b);
            if (c.op == D3DTOP_ADD) r = std::min(255u, a + b);
            if (c.op == D3DTOP_SUBTRACT) r = a > b ? a - b : 0;
            if (c.op == D3DTOP_SELECTARG1) r = a;
            src |= r << shift;
        }
        std::uint32_t expected = 0;
        for (int shift = 0; shift < 32; shift += 8)
            expected |= RefBlend((src >> shift) & 0xFF, (dst >> shift) & 0xFF, src >> 24) << shift;
        EXPECT_EQ(At(target, 0, 0), expected) << "op " << c.op;
    }
}

TEST(D3DRaster, TopLeftRuleSharesTheDiagonalOfAQuad)
{
    // Two triangles of a quad with fractional corners: every covered pixel is drawn once.
    cPixelStore target(10, 10, D3DFMT_A8R8G8B8);
    plat::cRasterState s;
    s.target = &target;
    s.colorOp = D3DTOP_SELECTARG2;
    s.colorArg2 = D3DTA_DIFFUSE;
    s.alphaOp = D3DTOP_SELECTARG2;
    s.alphaArg2 = D3DTA_DIFFUSE;
    s.blend = true;
    cD3DVertex v[4];
    Quad(v, 1.25f, 0.75f, 7, 6, 0, 0, 0, 0, 0x80FFFFFF);  // half alpha: drawing twice would show
    plat::DrawTriangle(s, v[0], v[1], v[2]);
    plat::DrawTriangle(s, v[1], v[2], v[3]);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) {
            std::uint32_t p = At(target, x, y);
            EXPECT_TRUE(p == 0 || p == 0x40808080u) << x << "," << y << " " << std::hex << p;
        }
}

TEST(D3DRaster, TrianglesWithFarOffCornersDrawTheirPartOfTheTargetExactly)
{
    // The corners (-L, -L), (L, L), (L, -L) cut the target along its diagonal, which is the
    // triangle's left edge: pixel (x, y) is inside when x >= y, whatever L. Far-off corners
    // must neither overflow the edge arithmetic nor draw anything that is not inside.
    const float inf = std::numeric_limits<float>::infinity(), nan = std::numeric_limits<float>::quiet_NaN();
    struct Case { const char* name; float a[2], b[2], c[2]; bool halfDrawn; } cases[] = {
        {"near", {-10, -10}, {10, 10}, {10, -10}, true},
        {"products past 64 bits", {-1e7f, -1e7f}, {1e7f, 1e7f}, {1e7f, -1e7f}, true},
        {"far", {-1e15f, -1e15f}, {1e15f, 1e15f}, {1e15f, -1e15f}, true},
        {"past any whole number", {-1e30f, -1e30f}, {1e30f, 1e30f}, {1e30f, -1e30f}, true},
        {"mixed", {-10, -10}, {3e9f, 3e9f}, {3e9f, -10}, true},
        {"wholly off the target", {1e20f, 1e20f}, {3e20f, 1e20f}, {1e20f, 3e20f}, false},
        {"an infinite corner", {-10, -10}, {inf, inf}, {10, -10}, false},
        {"no corner at all", {nan, 0}, {10, 10}, {10, -10}, false},
    };
    plat::cRasterState s;
    s.colorOp = D3DTOP_SELECTARG2;
    s.colorArg2 = D3DTA_DIFFUSE;
    s.alphaOp = D3DTOP_SELECTARG2;
    s.alphaArg2 = D3DTA_DIFFUSE;
    s.blend = false;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        cPixelStore target(8, 8, D3DFMT_A8R8G8B8);
        s.target = &target;
        const cD3DVertex a{c.a[0], c.a[1], 0, 1, 0xFF123456u, 0, 0}, b{c.b[0], c.b[1], 0, 1, 0xFF123456u, 0, 0},
            d{c.c[0], c.c[1], 0, 1, 0xFF123456u, 0, 0};
        plat::DrawTriangle(s, a, b, d);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                EXPECT_EQ(At(target, x, y), c.halfDrawn && x >= y ? 0xFF123456u : 0u) << x << "," << y;
    }
}

struct cDevice {
    IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
    IDirect3DDevice9* device = nullptr;
    explicit cDevice(D3DFORMAT format = D3DFMT_X8R8G8B8)
    {
        D3DPRESENT_PARAMETERS pp{};
        pp.BackBufferWidth = 16;
        pp.BackBufferHeight = 8;
        pp.BackBufferFormat = format;
        pp.Windowed = TRUE;
        pp.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
        d3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp, &device);
    }
    ~cDevice()
    {
        if (device) device->Release();
        d3d->Release();
    }
};

TEST(D3DDevice, RenderTargetAndItsSystemCopySharePixels)
{
    cDevice d;
    ASSERT_NE(d.device, nullptr);
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(d.device->CreateTexture(4, 4, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &texture, nullptr), D3D_OK);
    IDirect3DSurface9 *level = nullptr, *system = nullptr;
    texture->GetSurfaceLevel(0, &level);
    d.device->CreateOffscreenPlainSurface(4, 4, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &system, nullptr);
    d.device->SetRenderTarget(0, level);
    d.device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF112233, 1.0f, 0);
    ASSERT_EQ(d.device->GetRenderTargetData(level, system), D3D_OK);
    D3DLOCKED_RECT locked;
    ASSERT_EQ(system->LockRect(&locked, nullptr, 0), D3D_OK);
    EXPECT_EQ(*static_cast<std::uint32_t*>(locked.pBits), 0xFF112233u);
    *static_cast<std::uint32_t*>(locked.pBits) = 0xFFABCDEF;
    system->UnlockRect();
    EXPECT_EQ(d.device->UpdateSurface(system, nullptr, level, nullptr), D3D_OK);
    ASSERT_EQ(level->LockRect(&locked, nullptr, 0), D3D_OK);
    EXPECT_EQ(*static_cast<std::uint32_t*>(locked.pBits), 0xFFABCDEFu);
    level->UnlockRect();
    EXPECT_EQ(system->m_Store, level->m_Store);
    d.device->SetRenderTarget(0, nullptr);  // refused: a target must be given
    system->Release();
    level->Release();
    texture->Release();
}

TEST(D3DDevice, LossRefusesPresentUntilEveryDefaultResourceIsReleasedAndReset)
{
    cDevice d;
    IDirect3DTexture9* target = nullptr;
    d.device->CreateTexture(4, 4, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &target, nullptr);
    IDirect3DSurface9* back = nullptr;
    d.device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back);
    EXPECT_EQ(d.device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);

    plat::SimulateD3DDeviceLoss(false);
    EXPECT_EQ(d.device->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);
    EXPECT_EQ(d.device->TestCooperativeLevel(), D3DERR_DEVICELOST);
    plat::AllowD3DDeviceReset();
    EXPECT_EQ(d.device->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    D3DPRESENT_PARAMETERS pp{};
    pp.BackBufferWidth = 16;
    pp.BackBufferHeight = 8;
    pp.BackBufferFormat = D3DFMT_X8R8G8B8;
    pp.Windowed = TRUE;
    EXPECT_EQ(d.device->Reset(&pp), D3DERR_INVALIDCALL) << "a render-target texture and the back buffer are still held";
    target->Release();
    EXPECT_EQ(d.device->Reset(&pp), D3DERR_INVALIDCALL) << "the back buffer is still held";
    back->Release();
    EXPECT_EQ(d.device->Reset(&pp), D3D_OK);
    EXPECT_EQ(d.device->TestCooperativeLevel(), D3D_OK);
    EXPECT_EQ(d.device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
}

TEST(D3DDevice, CapsAndInjectedFaultsReachTheCaller)
{
    cDevice d;
    D3DCAPS9 caps{};
    ASSERT_EQ(d.d3d->GetDeviceCaps(0, D3DDEVTYPE_HAL, &caps), D3D_OK);
    EXPECT_EQ(caps.MaxTextureWidth, 8192u);
    EXPECT_EQ(caps.TextureCaps & (D3DPTEXTURECAPS_POW2 | D3DPTEXTURECAPS_SQUAREONLY), 0u);
    IDirect3DTexture9* texture = nullptr;
    EXPECT_EQ(d.device->CreateTexture(8193, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr), D3DERR_INVALIDCALL);
    plat::FailDeviceCall("IDirect3DDevice9::CreateTexture.OutOfVideoMemory");
    EXPECT_EQ(d.device->CreateTexture(4, 4, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &texture, nullptr),
              D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(d.device->CreateTexture(4, 4, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &texture, nullptr), D3D_OK);
    texture->Release();
    plat::ClearDeviceFaults();
}

}  // namespace
