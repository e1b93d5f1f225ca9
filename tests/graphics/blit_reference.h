#pragma once
// Pixels of surface records read and written through the lock, and the reference of the
// drawing arithmetic written from its formulas (never from the code under
// test): the textured quad's sampling, stage operations and blend, and the pixel copy's
// sampling.
#include <cstdint>
#include <vector>
#include "graphics/surface_data.h"
#include "graphics/surface_lock.h"
#include "platform/video/pixel_format.h"

namespace qbtest {

struct cImage {
    int w = 0, h = 0;
    std::vector<std::uint32_t> px;
    std::uint32_t At(int x, int y) const { return px[static_cast<std::size_t>(y) * w + x]; }
    void Set(int x, int y, std::uint32_t v) { px[static_cast<std::size_t>(y) * w + x] = v; }
    bool operator==(const cImage&) const = default;
};

// The logical area of a record (allocated: the whole texture).
inline cImage ReadImage(DDSURFACEDATA* sd, bool allocated = false)
{
    cImage image;
    cSurfaceLock lock;
    if (!lock.Lock(sd)) return image;
    image.w = allocated ? sd->nTexWidth : lock.Locked()->nWidth;
    image.h = allocated ? sd->nTexHeight : lock.Locked()->nHeight;
    for (int y = 0; y < image.h; ++y)
        for (int x = 0; x < image.w; ++x)
            image.px.push_back(plat::ReadPixel(lock.PixelAddress(x, y), lock.m_nBytesPerPixel));
    return image;
}

inline void WriteImage(DDSURFACEDATA* sd, const cImage& image)
{
    cSurfaceLock lock;
    if (!lock.Lock(sd)) return;
    for (int y = 0; y < image.h; ++y)
        for (int x = 0; x < image.w; ++x) plat::WritePixel(lock.PixelAddress(x, y), lock.m_nBytesPerPixel, image.At(x, y));
}

// A pattern of distinct values, alpha 255.
inline cImage Pattern(int w, int h, std::uint32_t seed)
{
    cImage image{w, h, {}};
    for (int i = 0; i < w * h; ++i) image.px.push_back(0xFF000000u | ((seed + 0x0A0B0Cu * static_cast<std::uint32_t>(i + 1)) & 0xFFFFFFu));
    return image;
}

// The transparent colour of the pictures below, as image files hold it.
constexpr std::uint32_t kKeyRgb = 0xFF00FF;

// An 8 × 4 picture (0x00RRGGBB, top-down) of distinct colours, distinct in 5-bit channels
// too, with the key colour at (1, 0), (6, 2) and (3, 3).
inline std::vector<std::uint32_t> KeyedPictureRgb()
{
    std::vector<std::uint32_t> rgb;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x) {
            const bool key = (x == 1 && y == 0) || (x == 6 && y == 2) || (x == 3 && y == 3);
            rgb.push_back(key ? kKeyRgb : static_cast<std::uint32_t>((20 + 29 * x) << 16 | (40 + 51 * y) << 8 | (7 * (x + y) + 3)));
        }
    return rgb;
}

// 5- and 6-bit channels widened to 8 bits by repeating their high bits.
inline std::uint32_t RefWiden5(std::uint32_t c) { return (c << 3) | (c >> 2); }
inline std::uint32_t RefWiden6(std::uint32_t c) { return (c << 2) | (c >> 4); }

inline std::int64_t RefFloorDiv(std::int64_t a, std::int64_t b)
{
    std::int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

inline std::uint32_t RefChannel(std::uint32_t v, int c) { return (v >> (8 * c)) & 0xFF; }

// modulate (a × b + 127) / 255; add and subtract saturate.
inline std::uint32_t RefOp(int op, std::uint32_t a, std::uint32_t b)
{
    switch (op) {
    case 2: return a;                                  // SELECTARG1
    case 3: return b;                                  // SELECTARG2
    case 4: return (a * b + 127) / 255;                // MODULATE
    case 7: return a + b > 255 ? 255 : a + b;          // ADD
    case 10: return a > b ? a - b : 0;                 // SUBTRACT
    default: return a;
    }
}

// Stage 0 of a blit: texture op diffuse; DISABLE (1) for alpha takes the diffuse alpha.
inline std::uint32_t RefShade(std::uint32_t texel, std::uint32_t diffuse, int colorOp, int alphaOp)
{
    std::uint32_t out = 0;
    for (int c = 0; c < 3; ++c) out |= RefOp(colorOp, RefChannel(texel, c), RefChannel(diffuse, c)) << (8 * c);
    const std::uint32_t alpha = alphaOp == 1 ? RefChannel(diffuse, 3) : RefOp(alphaOp, RefChannel(texel, 3), RefChannel(diffuse, 3));
    return out | alpha << 24;
}

// (s × a + d × (255 − a) + 127) / 255 on every channel, alpha included.
inline std::uint32_t RefBlend(std::uint32_t s, std::uint32_t d)
{
    const std::uint32_t a = s >> 24;
    std::uint32_t out = 0;
    for (int c = 0; c < 4; ++c) out |= ((RefChannel(s, c) * a + RefChannel(d, c) * (255 - a) + 127) / 255) << (8 * c);
    return out;
}

struct cRefBlit {
    int x, y, w, h, sx, sy, sw, sh;
};

// The textured quad onto an A8R8G8B8 target: pixel k of a span samples texel
// floor(sx + (k + 1/2) × sw / w); texels outside the source's logical area are not drawn
// (the clipping leaves them out). clearFirst: the rectangle is first cleared to 0.
inline void RefQuad(cImage& dst, const cImage& texture, int srcW, int srcH, const cRefBlit& b, std::uint32_t diffuse,
                    int colorOp, int alphaOp, bool clearFirst)
{
    for (int Y = std::max(b.y, 0); Y < std::min(b.y + b.h, dst.h); ++Y) {
        for (int X = std::max(b.x, 0); X < std::min(b.x + b.w, dst.w); ++X) {
            const std::int64_t k = X - b.x, j = Y - b.y;
            const std::int64_t tx = RefFloorDiv(2 * std::int64_t{b.sx} * b.w + (2 * k + 1) * b.sw, 2 * std::int64_t{b.w});
            const std::int64_t ty = RefFloorDiv(2 * std::int64_t{b.sy} * b.h + (2 * j + 1) * b.sh, 2 * std::int64_t{b.h});
            if (tx < 0 || tx >= srcW || ty < 0 || ty >= srcH) continue;
            const std::uint32_t under = clearFirst ? 0 : dst.At(X, Y);
            dst.Set(X, Y, RefBlend(RefShade(texture.At(static_cast<int>(tx), static_cast<int>(ty)), diffuse, colorOp, alphaOp), under));
        }
    }
}

// The pixel copy: source column sx + trunc(i × sw / w) (one less for a negative sw), pixels
// stored as they are, alpha-0 pixels skipped when keyed.
inline void RefCopy(cImage& dst, const cImage& src, const cRefBlit& b, bool keyed)
{
    for (int j = 0; j < b.h; ++j) {
        for (int i = 0; i < b.w; ++i) {
            const std::int64_t X = std::int64_t{b.x} + i, Y = std::int64_t{b.y} + j;
            const std::int64_t cx = (b.sw < 0 ? b.sx - 1 : b.sx) + std::int64_t{i} * b.sw / b.w;
            const std::int64_t cy = (b.sh < 0 ? b.sy - 1 : b.sy) + std::int64_t{j} * b.sh / b.h;
            if (X < 0 || X >= dst.w || Y < 0 || Y >= dst.h || cx < 0 || cx >= src.w || cy < 0 || cy >= src.h) continue;
            const std::uint32_t p = src.At(static_cast<int>(cx), static_cast<int>(cy));
            if (keyed && (p >> 24) == 0) continue;
            dst.Set(static_cast<int>(X), static_cast<int>(Y), p);
        }
    }
}

}  // namespace qbtest
