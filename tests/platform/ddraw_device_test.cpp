// Our software DirectDraw: colour-keyed blits, fills, flip chains and surface loss.
#include <gtest/gtest.h>

#include "platform/video/ddraw.h"
#include "platform/video/presenter.h"

namespace {

struct cDirectDraw {
    IDirectDraw7* dd = nullptr;
    cDirectDraw(int bpp)
    {
        DirectDrawCreateEx(nullptr, reinterpret_cast<void**>(&dd), IID_IDirectDraw7, nullptr);
        dd->SetCooperativeLevel(nullptr, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE);
        dd->SetDisplayMode(8, 4, bpp, 0, 0);
    }
    ~cDirectDraw() { dd->Release(); }
    IDirectDrawSurface7* Offscreen(int w, int h, bool system = false)
    {
        DDSURFACEDESC2 desc{};
        desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
        desc.dwWidth = w;
        desc.dwHeight = h;
        desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | (system ? DDSCAPS_SYSTEMMEMORY : 0);
        IDirectDrawSurface7* s = nullptr;
        dd->CreateSurface(&desc, &s, nullptr);
        return s;
    }
};

std::uint16_t Pixel16(IDirectDrawSurface7* s, int x, int y)
{
    DDSURFACEDESC2 desc{};
    s->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr);
    std::uint16_t v = reinterpret_cast<std::uint16_t*>(static_cast<BYTE*>(desc.lpSurface) + y * desc.lPitch)[x];
    s->Unlock(nullptr);
    return v;
}

TEST(DDrawDevice, KeyedBltFastSkipsKeyPixelsAndFillsColour)
{
    cDirectDraw d(16);
    IDirectDrawSurface7* src = d.Offscreen(3, 1);
    IDirectDrawSurface7* dst = d.Offscreen(4, 2);
    DDBLTFX fx{};
    fx.dwFillColor = 0x1234;
    ASSERT_EQ(dst->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
    DDSURFACEDESC2 desc{};
    ASSERT_EQ(src->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
    auto* row = static_cast<std::uint16_t*>(desc.lpSurface);
    row[0] = 0xF81F, row[1] = 0x07E0, row[2] = 0xF81F;
    src->Unlock(nullptr);
    DDCOLORKEY key{0xF81F, 0xF81F};
    src->SetColorKey(DDCKEY_SRCBLT, &key);
    ASSERT_EQ(dst->BltFast(1, 1, src, nullptr, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT), DD_OK);
    EXPECT_EQ(Pixel16(dst, 1, 1), 0x1234);
    EXPECT_EQ(Pixel16(dst, 2, 1), 0x07E0);
    EXPECT_EQ(Pixel16(dst, 3, 1), 0x1234);
    EXPECT_EQ(dst->BltFast(2, 1, src, nullptr, 0), DDERR_INVALIDRECT) << "does not fit";
    src->Release();
    dst->Release();
}

TEST(DDrawDevice, FlipShowsTheBackBufferThroughThePalette)
{
    cDirectDraw d(8);
    DDSURFACEDESC2 desc{};
    desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    desc.dwBackBufferCount = 1;
    IDirectDrawSurface7* primary = nullptr;
    ASSERT_EQ(d.dd->CreateSurface(&desc, &primary, nullptr), DD_OK);
    DDSCAPS2 caps{DDSCAPS_BACKBUFFER, 0, 0, 0};
    IDirectDrawSurface7* back = nullptr;
    ASSERT_EQ(primary->GetAttachedSurface(&caps, &back), DD_OK);
    PALETTEENTRY entries[256] = {};
    entries[7] = {0x11, 0x22, 0x33, 0};
    IDirectDrawPalette* palette = nullptr;
    d.dd->CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256, entries, &palette, nullptr);
    primary->SetPalette(palette);
    DDBLTFX fx{};
    fx.dwFillColor = 7;
    back->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx);
    ASSERT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    plat::cFrame frame = plat::LastFrame();
    ASSERT_EQ(frame.nWidth, 8);
    ASSERT_EQ(frame.nHeight, 4);
    for (std::uint32_t p : frame.argb) EXPECT_EQ(p, 0xFF112233u);
    palette->Release();
    back->Release();
    primary->Release();
}

TEST(DDrawDevice, LossMarksVideoSurfacesUntilRestored)
{
    cDirectDraw d(32);
    IDirectDrawSurface7* video = d.Offscreen(2, 2);
    IDirectDrawSurface7* system = d.Offscreen(2, 2, true);
    plat::SimulateDDrawSurfaceLoss();
    EXPECT_EQ(video->IsLost(), DDERR_SURFACELOST);
    EXPECT_EQ(system->IsLost(), DD_OK);
    DDSURFACEDESC2 desc{};
    EXPECT_EQ(video->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DDERR_SURFACELOST);
    EXPECT_EQ(system->BltFast(0, 0, video, nullptr, 0), DDERR_SURFACELOST);
    EXPECT_EQ(video->Restore(), DD_OK);
    EXPECT_EQ(video->IsLost(), DD_OK);
    EXPECT_EQ(system->BltFast(0, 0, video, nullptr, 0), DD_OK);
    video->Release();
    system->Release();
}

// A dialog shows over the last frame: at 8 bits that frame keeps its palette indices, so a
// change of the display palette (entry 0 made black for a file dialog) still shows in it.
TEST(DDrawDevice, APaletteChangeRecoloursTheLastEightBitFrame)
{
    cDirectDraw d(8);
    DDSURFACEDESC2 desc{};
    desc.dwFlags = DDSD_CAPS;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    IDirectDrawSurface7* primary = nullptr;
    ASSERT_EQ(d.dd->CreateSurface(&desc, &primary, nullptr), DD_OK);
    PALETTEENTRY entries[256] = {};
    entries[0] = {0x40, 0x50, 0x60, 0};
    IDirectDrawPalette* palette = nullptr;
    d.dd->CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256, entries, &palette, nullptr);
    primary->SetPalette(palette);
    DDBLTFX fx{};
    fx.dwFillColor = 0;
    primary->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx);
    primary->Present();
    ASSERT_EQ(plat::LastFrame().argb.front(), 0xFF405060u);
    const std::uint64_t before = plat::LastFrameGeneration();
    const PALETTEENTRY black{0, 0, 0, 0};
    palette->SetEntries(0, 0, 1, &black);
    EXPECT_EQ(plat::LastFrame().argb.front(), 0xFF000000u);
    EXPECT_NE(plat::LastFrameGeneration(), before);
    palette->SetEntries(0, 0, 1, &entries[0]);
    EXPECT_EQ(plat::LastFrame().argb.back(), 0xFF405060u);

    // A palette nobody shows changes no frame.
    IDirectDrawPalette* other = nullptr;
    d.dd->CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256, entries, &other, nullptr);
    other->SetEntries(0, 0, 1, &black);
    EXPECT_EQ(plat::LastFrame().argb.front(), 0xFF405060u);
    other->Release();
    palette->Release();
    primary->Release();
}

}  // namespace
