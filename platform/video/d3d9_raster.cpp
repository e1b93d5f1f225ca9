#include "platform/video/d3d9_raster.h"

#include "platform/video/d3d9_raster_ops.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace plat {
namespace {

// Texel coordinates are taken as floor(t + 1/4096) of the exact coordinate t, so that the
// floating-point path and the integer path agree on values that fall exactly on a texel edge.
constexpr double kTexelBias = 1.0 / 4096.0;

DWORD Channel(DWORD c, int shift) { return (c >> shift) & 0xFF; }

DWORD Operate(DWORD op, DWORD a, DWORD b)
{
    int r;
    switch (op) {
    case kTopSelect1: return a;
    case kTopSelect2: return b;
    case kTopModulate: return Modulate(a, b);
    case kTopModulate2x: return std::min<DWORD>(255, 2 * Modulate(a, b));
    case kTopModulate4x: return std::min<DWORD>(255, 4 * Modulate(a, b));
    case kTopAdd: return std::min<DWORD>(255, a + b);
    case kTopAddSigned: r = static_cast<int>(a + b) - 128; return static_cast<DWORD>(std::clamp(r, 0, 255));
    case kTopAddSigned2x: r = 2 * (static_cast<int>(a + b) - 128); return static_cast<DWORD>(std::clamp(r, 0, 255));
    case kTopSubtract: return a > b ? a - b : 0;
    default: return a;
    }
}

// One channel of an operation; the factor blend weighs its arguments by the texture
// factor's alpha: (a × f + b × (255 − f) + 127) / 255.
DWORD OperateChannel(const cRasterState& s, DWORD op, DWORD a, DWORD b)
{
    if (op == kTopBlendFactorAlpha) {
        const DWORD f = s.textureFactor >> 24;
        return (a * f + b * (255 - f) + 127) / 255;
    }
    return Operate(op, a, b);
}

DWORD Argument(DWORD selector, DWORD texel, DWORD diffuse, DWORD factor)
{
    switch (selector & 0xF) {
    case kTaTexture: return texel;
    case kTaTFactor: return factor;
    default: return diffuse;  // diffuse, and the current colour of stage 0
    }
}

// Texture stage 0: the colour and alpha operations on their arguments.
DWORD ShadeImpl(const cRasterState& s, DWORD texel, DWORD diffuse)
{
    DWORD out = 0;
    if (s.colorOp == kTopDisable) {
        out = diffuse & 0xFFFFFF;
    } else {
        DWORD a = Argument(s.colorArg1, texel, diffuse, s.textureFactor);
        DWORD b = Argument(s.colorArg2, texel, diffuse, s.textureFactor);
        for (int shift = 0; shift < 24; shift += 8) out |= OperateChannel(s, s.colorOp, Channel(a, shift), Channel(b, shift)) << shift;
    }
    if (s.alphaOp == kTopDisable) {
        out |= diffuse & 0xFF000000u;
    } else {
        DWORD a = Argument(s.alphaArg1, texel, diffuse, s.textureFactor);
        DWORD b = Argument(s.alphaArg2, texel, diffuse, s.textureFactor);
        out |= OperateChannel(s, s.alphaOp, Channel(a, 24), Channel(b, 24)) << 24;
    }
    return out;
}

DWORD Factor(DWORD blend, DWORD srcChannel, DWORD srcAlpha)
{
    switch (blend) {
    case kBlendZero: return 0;
    case kBlendOne: return 255;
    case kBlendSrcColor: return srcChannel;
    case kBlendInvSrcColor: return 255 - srcChannel;
    case kBlendSrcAlpha: return srcAlpha;
    case kBlendInvSrcAlpha: return 255 - srcAlpha;
    default: return 255;
    }
}

DWORD BlendImpl(const cRasterState& s, DWORD src, DWORD dst)
{
    if (!s.blend) return src;
    const DWORD a = src >> 24;
    if (s.srcBlend == kBlendSrcAlpha && s.destBlend == kBlendInvSrcAlpha) {
        DWORD out = 0;
        for (int shift = 0; shift < 32; shift += 8) out |= BlendChannel(Channel(src, shift), Channel(dst, shift), a) << shift;
        return out;
    }
    DWORD out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        DWORD sc = Channel(src, shift), dc = Channel(dst, shift);
        DWORD v = (sc * Factor(s.srcBlend, sc, a) + dc * Factor(s.destBlend, sc, a) + 127) / 255;
        out |= std::min<DWORD>(v, 255) << shift;
    }
    return out;
}

// Writes one shaded pixel into the target through its format.
class cPixelWriter {
public:
    explicit cPixelWriter(const cRasterState& s) : m_s(s), m_nBpp(BytesPerPixel(s.target->format)) {}
    void Put(int x, int y, DWORD texel, DWORD diffuse)
    {
        BYTE* at = m_s.target->Row(y) + x * m_nBpp;
        const D3DFORMAT format = m_s.target->format;
        DWORD src = ShadeImpl(m_s, texel, diffuse);
        DWORD dst = m_s.blend ? UnpackToArgb(format, ReadPixel(at, m_nBpp)) : 0;
        WritePixel(at, m_nBpp, PackFromArgb(format, BlendImpl(m_s, src, dst)));
    }

private:
    const cRasterState& m_s;
    int m_nBpp;
};

int Wrap(std::int64_t t, int size) { return static_cast<int>(((t % size) + size) % size); }

DWORD Texel(const cPixelStore* texture, std::int64_t tx, std::int64_t ty)
{
    if (!texture) return 0xFF000000u;
    const int bpp = BytesPerPixel(texture->format);
    const BYTE* at = texture->Row(Wrap(ty, texture->nHeight)) + Wrap(tx, texture->nWidth) * bpp;
    return UnpackToArgb(texture->format, ReadPixel(at, bpp));
}

}  // namespace

DWORD ShadeTexel(const cRasterState& s, DWORD texel, DWORD diffuse) { return ShadeImpl(s, texel, diffuse); }
DWORD BlendPixel(const cRasterState& s, DWORD src, DWORD dst) { return BlendImpl(s, src, dst); }
DWORD TexelAt(const cPixelStore* texture, std::int64_t tx, std::int64_t ty) { return Texel(texture, tx, ty); }
int WrapCoordinate(std::int64_t t, int size) { return Wrap(t, size); }

std::int64_t FloorDiv(std::int64_t a, std::int64_t b)
{
    std::int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

std::int64_t SpanTexel(std::int64_t start, std::int64_t extent, std::int64_t size, std::int64_t k)
{
    return FloorDiv(4096 * (2 * start * size + (2 * k + 1) * extent) + 2 * size, 4096 * 2 * size);
}

namespace {

// Positions in 1/256 pixel; pixel centres at whole coordinates.
struct cFixedPoint { std::int64_t x, y; };

// Edge products of positions within this bound fit in 64 bits: a difference stays under 2^31,
// a product under 2^62 and the difference of two products under 2^63.
constexpr std::int64_t kNarrowBound = std::int64_t{1} << 30;
// Farther positions are held at this bound (2^52 pixels, where a float no longer has whole
// pixels), so that the 128-bit products stay far from overflowing too.
constexpr double kWideBound = 4503599627370496.0 * 256.0;

// Rasterises with edge functions in Int: 64 bits for every triangle on or near the target,
// 128 bits when a vertex lies far off it. Flattened so that the texel fetch and the pixel
// writer stay inlined in both versions: the 64-bit one keeps the speed of a single version.
template <class Int>
[[gnu::flatten]] void FillTriangle(const cRasterState& s, const cD3DVertex* const corners[3], const cFixedPoint q[3])
{
    const cD3DVertex* vert[3] = {corners[0], corners[1], corners[2]};
    struct P { Int x, y; };
    P p[3] = {{q[0].x, q[0].y}, {q[1].x, q[1].y}, {q[2].x, q[2].y}};
    auto edge = [](const P& a, const P& b, Int px, Int py) {
        return (b.x - a.x) * (py - a.y) - (b.y - a.y) * (px - a.x);
    };
    Int area = edge(p[0], p[1], p[2].x, p[2].y);
    if (area == 0) return;
    if (area < 0) {
        std::swap(p[1], p[2]);
        std::swap(vert[1], vert[2]);
        area = -area;
    }
    auto topLeft = [](const P& a, const P& b) {
        const Int dy = b.y - a.y, dx = b.x - a.x;
        return dy < 0 || (dy == 0 && dx > 0);
    };
    const bool incl[3] = {topLeft(p[1], p[2]), topLeft(p[2], p[0]), topLeft(p[0], p[1])};
    auto ceilDiv256 = [](std::int64_t v) { return FloorDiv(v + 255, 256); };
    const int minX = static_cast<int>(std::max<std::int64_t>(0, ceilDiv256(std::min({q[0].x, q[1].x, q[2].x}))));
    const int maxX = static_cast<int>(std::min<std::int64_t>(s.target->nWidth - 1, FloorDiv(std::max({q[0].x, q[1].x, q[2].x}), 256)));
    const int minY = static_cast<int>(std::max<std::int64_t>(0, ceilDiv256(std::min({q[0].y, q[1].y, q[2].y}))));
    const int maxY = static_cast<int>(std::min<std::int64_t>(s.target->nHeight - 1, FloorDiv(std::max({q[0].y, q[1].y, q[2].y}), 256)));
    const bool oneColor = vert[0]->color == vert[1]->color && vert[0]->color == vert[2]->color;
    const double tw = s.texture ? s.texture->nWidth : 1, th = s.texture ? s.texture->nHeight : 1;
    cPixelWriter writer(s);
    for (int y = minY; y <= maxY; ++y) {
        for (int x = minX; x <= maxX; ++x) {
            const Int px = Int{x} * 256, py = Int{y} * 256;
            const Int w[3] = {edge(p[1], p[2], px, py), edge(p[2], p[0], px, py), edge(p[0], p[1], px, py)};
            bool inside = true;
            for (int i = 0; i < 3; ++i) inside = inside && (w[i] > 0 || (w[i] == 0 && incl[i]));
            if (!inside) continue;
            const double l0 = static_cast<double>(w[0]) / static_cast<double>(area), l1 = static_cast<double>(w[1]) / static_cast<double>(area),
                         l2 = static_cast<double>(w[2]) / static_cast<double>(area);
            const double u = (l0 * vert[0]->u + l1 * vert[1]->u + l2 * vert[2]->u) * tw;
            const double t = (l0 * vert[0]->v + l1 * vert[1]->v + l2 * vert[2]->v) * th;
            DWORD color = vert[0]->color;
            if (!oneColor) {
                color = 0;
                for (int shift = 0; shift < 32; shift += 8) {
                    double c = l0 * Channel(vert[0]->color, shift) + l1 * Channel(vert[1]->color, shift) +
                               l2 * Channel(vert[2]->color, shift);
                    color |= static_cast<DWORD>(std::clamp(std::lround(c), 0L, 255L)) << shift;
                }
            }
            const DWORD texel = Texel(s.texture, static_cast<std::int64_t>(std::floor(u + kTexelBias)),
                                      static_cast<std::int64_t>(std::floor(t + kTexelBias)));
            writer.Put(x, y, texel, color);
        }
    }
}

}  // namespace

void DrawTriangle(const cRasterState& s, const cD3DVertex& va, const cD3DVertex& vb, const cD3DVertex& vc)
{
    const cD3DVertex* vert[3] = {&va, &vb, &vc};
    cFixedPoint p[3];
    bool narrow = true;
    for (int i = 0; i < 3; ++i) {
        const double x = vert[i]->x * 256.0, y = vert[i]->y * 256.0;
        if (!std::isfinite(x) || !std::isfinite(y)) return;  // no position, nothing to draw
        p[i] = {std::llround(std::clamp(x, -kWideBound, kWideBound)), std::llround(std::clamp(y, -kWideBound, kWideBound))};
        narrow = narrow && std::max(std::abs(p[i].x), std::abs(p[i].y)) < kNarrowBound;
    }
    if (narrow) FillTriangle<std::int64_t>(s, vert, p);
    else FillTriangle<__int128>(s, vert, p);
}

void DrawTriangleStrip(const cRasterState& s, const cD3DVertex* vertices, int count)
{
    if (!s.target || count < 3) return;
    if (count == 4 && DrawWholeRectangle(s, vertices)) return;
    for (int i = 0; i + 2 < count; ++i) DrawTriangle(s, vertices[i], vertices[i + 1], vertices[i + 2]);
}

}  // namespace plat
