// The integer path for axis-aligned rectangles, which is how every blit and fill arrives. It
// works row by row: the texels of a row are gathered (or read in place), shaded through
// per-channel tables of the constant vertex colour (skipped when shading changes nothing),
// then blended into the target in chunks that take short cuts for alpha 255, alpha 0 and
// keyed (0 or 255) pixels. The arithmetic is that of the triangle path, so both agree.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>
#include "platform/d3d9_raster_ops.h"

namespace plat {
namespace {

constexpr DWORD kTopSelect1 = 2, kTopSelect2 = 3, kTopModulate = 4;
constexpr DWORD kTaTexture = 2, kTaTFactor = 3;
constexpr DWORD kBlendSrcAlpha = 5, kBlendInvSrcAlpha = 6;
constexpr int kChunk = 8;

bool IsWhole(double v, double tolerance) { return std::fabs(v - std::nearbyint(v)) < tolerance; }

// The value an argument selector gives for the constant inputs (the texel aside).
DWORD ConstantArgument(DWORD selector, DWORD diffuse, DWORD factor)
{
    return (selector & 0xF) == kTaTFactor ? factor : diffuse;
}

// True when an operation passes the texel's channels under `mask` through unchanged.
bool PassesTexel(DWORD op, DWORD arg1, DWORD arg2, DWORD diffuse, DWORD factor, DWORD mask)
{
    const bool first = (arg1 & 0xF) == kTaTexture, second = (arg2 & 0xF) == kTaTexture;
    if (op == kTopSelect1) return first;
    if (op == kTopSelect2) return second;
    if (op != kTopModulate || first == second) return false;
    // Modulating by 255 gives the other operand back: (t × 255 + 127) / 255 = t.
    const DWORD other = ConstantArgument(first ? arg2 : arg1, diffuse, factor);
    return (other & mask) == mask;
}

// Stage 0 with one vertex colour is a function of each texel channel alone: four tables.
struct cShadeTables {
    bool bIdentity = true;
    BYTE abTable[4][256];

    void Build(const cRasterState& s, DWORD diffuse)
    {
        bIdentity = s.texture && s.colorOp != 1 && s.alphaOp != 1 &&
                    PassesTexel(s.colorOp, s.colorArg1, s.colorArg2, diffuse, s.textureFactor, 0x00FFFFFFu) &&
                    PassesTexel(s.alphaOp, s.alphaArg1, s.alphaArg2, diffuse, s.textureFactor, 0xFF000000u);
        if (bIdentity) return;
        // The tables of the last state drawn with are kept: a drawing thread repeats its states.
        struct cKey {
            DWORD values[9];
            bool operator==(const cKey&) const = default;
        };
        const cKey key{{s.colorOp, s.colorArg1, s.colorArg2, s.alphaOp, s.alphaArg1, s.alphaArg2, s.textureFactor,
                        diffuse, s.texture ? 1u : 0u}};
        thread_local cKey lastKey{};
        thread_local bool haveLast = false;
        thread_local BYTE lastTable[4][256];
        if (!haveLast || !(lastKey == key)) {
            for (DWORD t = 0; t < 256; ++t) {
                const DWORD texel = s.texture ? t * 0x01010101u : 0xFF000000u;
                const DWORD out = ShadeTexel(s, texel, diffuse);
                for (int c = 0; c < 4; ++c) lastTable[c][t] = static_cast<BYTE>(out >> (8 * c));
            }
            lastKey = key;
            haveLast = true;
        }
        std::memcpy(abTable, lastTable, sizeof abTable);
    }

    void Apply(const DWORD* in, DWORD* out, int n) const
    {
        for (int i = 0; i < n; ++i) {
            const DWORD p = in[i];
            out[i] = static_cast<DWORD>(abTable[0][p & 0xFF]) | static_cast<DWORD>(abTable[1][(p >> 8) & 0xFF]) << 8 |
                     static_cast<DWORD>(abTable[2][(p >> 16) & 0xFF]) << 16 | static_cast<DWORD>(abTable[3][p >> 24]) << 24;
        }
    }
};

// (s × a + d × (255 − a) + 127) / 255 on every channel, two channels per 32-bit lane pair;
// x / 255 = (x + 1 + (x >> 8)) >> 8 holds for every x up to 255 × 255 + 127.
inline DWORD BlendArgb(DWORD s, DWORD d)
{
    const DWORD a = s >> 24, na = 255 - a;
    DWORD rb = (s & 0x00FF00FFu) * a + (d & 0x00FF00FFu) * na + 0x007F007Fu;
    DWORD ag = ((s >> 8) & 0x00FF00FFu) * a + ((d >> 8) & 0x00FF00FFu) * na + 0x007F007Fu;
    rb = ((rb + 0x00010001u + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
    ag = ((ag + 0x00010001u + ((ag >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
    return rb | ag << 8;
}

// One row of shaded ARGB pixels into a 32-bit target row. fill: the bits a pixel read from
// the target lacks (alpha of X8R8G8B8); keep: the bits written. Returns true when every
// pixel was written whole (alpha 255), so that the row does not depend on the target.
bool BlendRow32(const DWORD* src, DWORD* dst, int n, DWORD fill, DWORD keep)
{
    bool opaque = true;
    int i = 0;
    for (; i + kChunk <= n; i += kChunk) {
        const DWORD* s = src + i;
        DWORD* d = dst + i;
        DWORD all = 0xFFFFFFFFu, any = 0, partial = 0;
        for (int k = 0; k < kChunk; ++k) {
            const DWORD a = s[k] >> 24;
            all &= a;
            any |= a;
            partial |= ((a + 1) & 0xFF) > 1 ? 1u : 0u;
        }
        if (all == 255) {
            for (int k = 0; k < kChunk; ++k) d[k] = s[k] & keep;
            continue;
        }
        opaque = false;
        if (any == 0) {
            // Untouched, but a pixel read from X8R8G8B8 is written back without its alpha byte.
            for (int k = 0; k < kChunk; ++k) d[k] &= keep;
            continue;
        }
        if (!partial) {
            // Keyed pixels: alpha 0 keeps the target, alpha 255 replaces it.
            for (int k = 0; k < kChunk; ++k) {
                const DWORD mask = static_cast<DWORD>(static_cast<std::int32_t>(s[k]) >> 31);
                d[k] = ((s[k] & mask) | (d[k] & ~mask)) & keep;
            }
            continue;
        }
        for (int k = 0; k < kChunk; ++k) d[k] = BlendArgb(s[k], d[k] | fill) & keep;
    }
    for (; i < n; ++i) {
        const DWORD a = src[i] >> 24;
        if (a == 255) {
            dst[i] = src[i] & keep;
            continue;
        }
        opaque = false;
        dst[i] = a == 0 ? dst[i] & keep : BlendArgb(src[i], dst[i] | fill) & keep;
    }
    return opaque;
}

// Any other target format, or blend factors other than source alpha over its inverse.
bool BlendRowGeneral(const cRasterState& s, const DWORD* src, BYTE* dst, int n)
{
    const D3DFORMAT format = s.target->format;
    const int bpp = BytesPerPixel(format);
    for (int i = 0; i < n; ++i) {
        BYTE* at = dst + i * bpp;
        const DWORD under = s.blend ? UnpackToArgb(format, ReadPixel(at, bpp)) : 0;
        WritePixel(at, bpp, PackFromArgb(format, BlendPixel(s, src[i], under)));
    }
    return !s.blend;
}

// Scratch rows of the drawing thread.
std::vector<DWORD>& Scratch(int which, int n)
{
    thread_local std::vector<DWORD> rows[3];
    if (rows[which].size() < static_cast<std::size_t>(n)) rows[which].resize(static_cast<std::size_t>(n));
    return rows[which];
}

}  // namespace

bool DrawWholeRectangle(const cRasterState& s, const cD3DVertex* v)
{
    if (v[0].x != v[1].x || v[2].x != v[3].x || v[0].y != v[2].y || v[1].y != v[3].y) return false;
    if (v[0].u != v[1].u || v[2].u != v[3].u || v[0].v != v[2].v || v[1].v != v[3].v) return false;
    if (v[0].color != v[1].color || v[0].color != v[2].color || v[0].color != v[3].color) return false;
    const double x0 = v[0].x + 0.5, x1 = v[2].x + 0.5, y0 = v[0].y + 0.5, y1 = v[1].y + 0.5;
    if (!IsWhole(x0, 1e-6) || !IsWhole(x1, 1e-6) || !IsWhole(y0, 1e-6) || !IsWhole(y1, 1e-6)) return false;
    const std::int64_t X0 = std::llround(x0), X1 = std::llround(x1), Y0 = std::llround(y0), Y1 = std::llround(y1);
    if (X1 <= X0 || Y1 <= Y0) return false;
    std::int64_t su0 = 0, su1 = 0, sv0 = 0, sv1 = 0;
    if (s.texture) {
        const double tw = s.texture->nWidth, th = s.texture->nHeight;
        const double u0 = v[0].u * tw, u1 = v[2].u * tw, t0 = v[0].v * th, t1 = v[1].v * th;
        if (!IsWhole(u0, 1e-3) || !IsWhole(u1, 1e-3) || !IsWhole(t0, 1e-3) || !IsWhole(t1, 1e-3)) return false;
        su0 = std::llround(u0), su1 = std::llround(u1), sv0 = std::llround(t0), sv1 = std::llround(t1);
    }
    const int left = static_cast<int>(std::max<std::int64_t>(X0, 0));
    const int right = static_cast<int>(std::min<std::int64_t>(X1, s.target->nWidth));
    const int top = static_cast<int>(std::max<std::int64_t>(Y0, 0));
    const int bottom = static_cast<int>(std::min<std::int64_t>(Y1, s.target->nHeight));
    if (left >= right || top >= bottom) return true;
    const int n = right - left;
    const DWORD diffuse = v[0].color;

    cShadeTables shade;
    shade.Build(s, diffuse);

    // Columns: a run of texels read in place when the span is unscaled, inside the texture and
    // of a format that is ARGB already; otherwise a map of texel columns.
    const D3DFORMAT texFormat = s.texture ? s.texture->format : D3DFMT_UNKNOWN;
    const int texBpp = s.texture ? BytesPerPixel(texFormat) : 0;
    const std::int64_t firstColumn = s.texture ? SpanTexel(su0, su1 - su0, X1 - X0, left - X0) : 0;
    const bool inPlace = s.texture && texFormat == D3DFMT_A8R8G8B8 && su1 - su0 == X1 - X0 && firstColumn >= 0 &&
                         firstColumn + n <= s.texture->nWidth;
    std::vector<DWORD>& columns = Scratch(0, n);
    if (s.texture && !inPlace)
        for (int x = left; x < right; ++x)
            columns[x - left] = static_cast<DWORD>(WrapCoordinate(SpanTexel(su0, su1 - su0, X1 - X0, x - X0), s.texture->nWidth));
    std::vector<DWORD>& gathered = Scratch(1, n);
    std::vector<DWORD>& shaded = Scratch(2, n);
    if (!s.texture) std::fill(gathered.begin(), gathered.begin() + n, 0xFF000000u);

    const D3DFORMAT format = s.target->format;
    const bool fast32 = (format == D3DFMT_A8R8G8B8 || format == D3DFMT_X8R8G8B8) &&
                        (!s.blend || (s.srcBlend == kBlendSrcAlpha && s.destBlend == kBlendInvSrcAlpha));
    const DWORD fill = format == D3DFMT_X8R8G8B8 ? 0xFF000000u : 0;
    const DWORD keep = format == D3DFMT_X8R8G8B8 ? 0x00FFFFFFu : 0xFFFFFFFFu;
    const int targetBpp = BytesPerPixel(format);

    std::int64_t previousRow = -1;
    bool previousOpaque = false;
    for (int y = top; y < bottom; ++y) {
        BYTE* out = s.target->Row(y) + left * targetBpp;
        const std::int64_t ty = s.texture ? WrapCoordinate(SpanTexel(sv0, sv1 - sv0, Y1 - Y0, y - Y0), s.texture->nHeight) : 0;
        // A row drawn whole from the same texels as the row above comes out the same.
        if (y > top && previousOpaque && ty == previousRow) {
            std::memcpy(out, out - s.target->nPitch, static_cast<std::size_t>(n) * targetBpp);
            continue;
        }
        const DWORD* row = gathered.data();
        if (s.texture) {
            const BYTE* texRow = s.texture->Row(static_cast<int>(ty));
            if (inPlace) {
                row = reinterpret_cast<const DWORD*>(texRow) + firstColumn;
            } else if (texFormat == D3DFMT_A8R8G8B8) {
                const DWORD* texels = reinterpret_cast<const DWORD*>(texRow);
                for (int i = 0; i < n; ++i) gathered[i] = texels[columns[i]];
            } else {
                for (int i = 0; i < n; ++i) gathered[i] = UnpackToArgb(texFormat, ReadPixel(texRow + columns[i] * texBpp, texBpp));
            }
        }
        if (!shade.bIdentity) {
            shade.Apply(row, shaded.data(), n);
            row = shaded.data();
        }
        if (fast32 && !s.blend) {
            DWORD* d = reinterpret_cast<DWORD*>(out);
            for (int i = 0; i < n; ++i) d[i] = row[i] & keep;
            previousOpaque = true;
        } else if (fast32) {
            previousOpaque = BlendRow32(row, reinterpret_cast<DWORD*>(out), n, fill, keep);
        } else {
            previousOpaque = BlendRowGeneral(s, row, out, n);
        }
        previousRow = ty;
    }
    return true;
}

}  // namespace plat
