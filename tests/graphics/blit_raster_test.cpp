// The rectangle path of our Direct3D device, through which every blit and fill goes, draws
// exactly what the general triangle path draws, for every format, operation, colour, scale,
// flip and position, with textures of every kind of alpha.
#include <gtest/gtest.h>

#include <random>
#include "platform/video/d3d9.h"
#include "platform/video/d3d9_raster.h"

namespace {

using plat::cD3DVertex;
using plat::cPixelStore;

void Quad(cD3DVertex* v, int x, int y, int w, int h, float u0, float v0, float u1, float v1, DWORD color)
{
    v[0] = {x - 0.5f, y - 0.5f, 0, 1, color, u0, v0};
    v[1] = {x - 0.5f, y + h - 0.5f, 0, 1, color, u0, v1};
    v[2] = {x + w - 0.5f, y - 0.5f, 0, 1, color, u1, v0};
    v[3] = {x + w - 0.5f, y + h - 0.5f, 0, 1, color, u1, v1};
}

// alphaKind 0: opaque, 1: keyed (0 or 255), 2: any; 3: raw words (an X8R8G8B8 target may
// hold anything in its unused byte).
void Fill(cPixelStore& store, std::mt19937& random, int alphaKind)
{
    const int bpp = plat::BytesPerPixel(store.format);
    for (int y = 0; y < store.nHeight; ++y)
        for (int x = 0; x < store.nWidth; ++x) {
            std::uint32_t argb = random();
            const std::uint32_t a = alphaKind == 0 ? 255 : alphaKind == 1 ? (random() % 2 ? 255 : 0) : argb >> 24;
            argb = (argb & 0xFFFFFF) | a << 24;
            plat::WritePixel(store.Row(y) + x * bpp, bpp, alphaKind == 3 ? argb : plat::PackFromArgb(store.format, argb));
        }
}

TEST(BlitRaster, RectanglePathDrawsWhatTheTrianglePathDraws)
{
    std::mt19937 random(20240607);
    const D3DFORMAT targets[] = {D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8, D3DFMT_R5G6B5, D3DFMT_A1R5G5B5};
    const D3DFORMAT textures[] = {D3DFMT_A8R8G8B8, D3DFMT_A1R5G5B5, D3DFMT_X8R8G8B8};
    const DWORD ops[] = {D3DTOP_DISABLE, D3DTOP_SELECTARG1, D3DTOP_SELECTARG2, D3DTOP_MODULATE, D3DTOP_ADD, D3DTOP_SUBTRACT};
    const DWORD args[] = {D3DTA_TEXTURE, D3DTA_DIFFUSE, D3DTA_TFACTOR};
    const DWORD colors[] = {0xFFFFFFFF, 0x80FFFFFF, 0x00FFFFFF, 0xFF204080, 0x7F10E0C0};
    for (int round = 0; round < 1200; ++round) {
        cPixelStore texture(13 + round % 7, 9 + round % 5, textures[random() % 3]);
        Fill(texture, random, static_cast<int>(random() % 3));
        cPixelStore a(40, 30, targets[random() % 4]);
        Fill(a, random, random() % 2 ? 2 : 3);
        cPixelStore b = a;
        plat::cRasterState s;
        s.texture = round % 11 == 0 ? nullptr : &texture;
        s.colorOp = ops[random() % 6];
        s.alphaOp = ops[random() % 6];
        s.colorArg1 = args[random() % 3], s.colorArg2 = args[random() % 3];
        s.alphaArg1 = args[random() % 3], s.alphaArg2 = args[random() % 3];
        if (round % 2) s.colorArg1 = D3DTA_TEXTURE, s.colorArg2 = D3DTA_DIFFUSE, s.alphaArg1 = D3DTA_TEXTURE, s.alphaArg2 = D3DTA_DIFFUSE;
        s.textureFactor = colors[random() % 5];
        s.blend = round % 13 != 0;
        if (round % 17 == 0) s.srcBlend = D3DBLEND_ONE, s.destBlend = D3DBLEND_INVSRCALPHA;
        const DWORD color = colors[random() % 5];
        const int x = static_cast<int>(random() % 50) - 10, y = static_cast<int>(random() % 40) - 8;
        int w = 1 + static_cast<int>(random() % 34), h = 1 + static_cast<int>(random() % 26);
        int sx = static_cast<int>(random() % 20) - 3, sy = static_cast<int>(random() % 14) - 3;
        if (round % 5 == 0) {
            // A source rectangle inside the texture.
            w = 1 + static_cast<int>(random() % texture.nWidth), h = 1 + static_cast<int>(random() % texture.nHeight);
            sx = static_cast<int>(random() % (texture.nWidth - w + 1)), sy = static_cast<int>(random() % (texture.nHeight - h + 1));
        }
        int sw = 1 + static_cast<int>(random() % 16), sh = 1 + static_cast<int>(random() % 12);
        if (random() % 4 == 0) sw = -sw;
        if (random() % 6 == 0) sh = -sh;
        if (random() % 3 == 0) sw = w, sh = h;
        DWORD quadColor = color;
        if (round % 5 == 0) {
            // The plain blit: unscaled, white, texture colour and alpha as they are.
            s.colorOp = D3DTOP_MODULATE, s.colorArg1 = D3DTA_TEXTURE, s.colorArg2 = D3DTA_DIFFUSE;
            s.alphaOp = D3DTOP_SELECTARG1, s.alphaArg1 = D3DTA_TEXTURE;
            s.blend = true, s.srcBlend = D3DBLEND_SRCALPHA, s.destBlend = D3DBLEND_INVSRCALPHA;
            quadColor = 0xFFFFFFFF;
            sw = w, sh = h;
        }
        const float tw = static_cast<float>(texture.nWidth), th = static_cast<float>(texture.nHeight);
        cD3DVertex v[4];
        Quad(v, x, y, w, h, sx / tw, sy / th, (sx + sw) / tw, (sy + sh) / th, quadColor);
        s.target = &a;
        plat::DrawTriangleStrip(s, v, 4);
        s.target = &b;
        plat::DrawTriangle(s, v[0], v[1], v[2]);
        plat::DrawTriangle(s, v[1], v[2], v[3]);
        ASSERT_EQ(a.bytes, b.bytes) << "round " << round << " target " << a.format << " texture " << texture.format
                                    << " ops " << s.colorOp << "/" << s.alphaOp << " color " << std::hex << quadColor;
    }
}

}  // namespace
