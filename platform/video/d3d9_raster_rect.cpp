// The integer path for axis-aligned rectangles, which is how every blit and fill arrives. It
// works row by row: the texels of a row are gathered (or read in place), shaded through
// per-channel tables of the constant vertex colour (skipped when shading changes nothing),
// then blended into the target in chunks that take short cuts for alpha 255, alpha 0 and
// keyed (0 or 255) pixels. The arithmetic is that of the triangle path, so both agree.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>
#include "platform/video/d3d9_raster_ops.h"

namespace plat {
namespace {

// What a texture row's alphas are, noted once per content of the texture: every pixel 255,
// every pixel 0, or none between (keyed pictures).
constexpr BYTE kRowOpaque = 1, kRowClear = 2, kRowKeyed = 4;

// A value within tolerance of a whole number, and that number (rounded in registers: the
// library's rounding functions are calls without SSE4.1).
bool Whole(double v, double tolerance, std::int64_t& whole)
{
    if (!(std::fabs(v) < 4.0e15)) return false;
    whole = static_cast<std::int64_t>(v < 0 ? v - 0.5 : v + 0.5);
    return std::fabs(v - static_cast<double>(whole)) < tolerance;
}

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

// Alpha = (texel alpha × factor + 127) / 255, colour unchanged (translucent blits), in a loop
// the compiler vectorises; x / 255 = (x + 1 + (x >> 8)) >> 8 for every x up to 255 × 255 + 127.
[[gnu::noinline]] void ModulateAlphaRow(const DWORD* __restrict in, DWORD* __restrict out, int n, DWORD factor)
{
    for (int i = 0; i < n; ++i) {
        const DWORD x = (in[i] >> 24) * factor + 127;
        out[i] = (in[i] & 0x00FFFFFFu) | ((x + 1 + (x >> 8)) >> 8) << 24;
    }
}

// Stage 0 with one vertex colour is a function of each texel channel alone: four tables.
struct cShadeTables {
    bool bIdentity = true;
    BYTE abTable[4][256];

    bool bColorIdentity = true;
    bool bAlphaIdentity = true;
    DWORD dwAlphaFactor = 0;  // non-zero: alpha = texel alpha modulated by it, colour as it is

    void Build(const cRasterState& s, DWORD diffuse)
    {
        bColorIdentity = s.texture && s.colorOp != 1 &&
                         PassesTexel(s.colorOp, s.colorArg1, s.colorArg2, diffuse, s.textureFactor, 0x00FFFFFFu);
        bAlphaIdentity = s.texture && s.alphaOp != 1 &&
                         PassesTexel(s.alphaOp, s.alphaArg1, s.alphaArg2, diffuse, s.textureFactor, 0xFF000000u);
        bIdentity = bColorIdentity && bAlphaIdentity;
        if (bIdentity) return;
        dwAlphaFactor = 0;
        const bool first = (s.alphaArg1 & 0xF) == kTaTexture, second = (s.alphaArg2 & 0xF) == kTaTexture;
        if (bColorIdentity && s.alphaOp == kTopModulate && first != second)
            dwAlphaFactor = ConstantArgument(first ? s.alphaArg2 : s.alphaArg1, diffuse, s.textureFactor) >> 24;
        if (dwAlphaFactor != 0) return;
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
        if (dwAlphaFactor != 0) {
            ModulateAlphaRow(in, out, n, dwAlphaFactor);
            return;
        }
        if (bColorIdentity) {
            for (int i = 0; i < n; ++i) out[i] = (in[i] & 0x00FFFFFFu) | static_cast<DWORD>(abTable[3][in[i] >> 24]) << 24;
            return;
        }
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

// One row of shaded ARGB pixels into a 32-bit target row (X8R8G8B8: a pixel read lacks its
// alpha, which reads as 255, and is written without it). The row's alphas are looked
// at first, so that each case runs as one loop the compiler vectorises. Returns true when
// every pixel was written whole (alpha 255), so that the row does not depend on the target.
// A row written whole (X8R8G8B8 without its alpha byte).
template <bool kX8>
[[gnu::noinline]] void CopyRow32(const DWORD* __restrict src, DWORD* __restrict dst, int n)
{
    if constexpr (kX8) {
        for (int i = 0; i < n; ++i) dst[i] = src[i] & 0x00FFFFFFu;
    } else {
        std::memcpy(dst, src, static_cast<std::size_t>(n) * 4);
    }
}

// Kept out of line: the vectoriser handles the row on its own, not inside the loop of rows.
// Every pixel of the row with one alpha between 0 and 255 (translucent pictures and fills):
// each byte on its own, (s × a + d × (255 − a) + 127) / 255, in 16-bit lanes the compiler
// vectorises. The alpha byte of an X8R8G8B8 target is then cleared.
template <bool kX8>
[[gnu::noinline]] void BlendRowConstant(const DWORD* __restrict src, DWORD* __restrict dst, int n, DWORD alpha)
{
    const BYTE* __restrict s = reinterpret_cast<const BYTE*>(src);
    BYTE* __restrict d = reinterpret_cast<BYTE*>(dst);
    const std::uint16_t a = static_cast<std::uint16_t>(alpha), na = static_cast<std::uint16_t>(255 - alpha);
    for (int i = 0; i < 4 * n; ++i) {
        const std::uint16_t x = static_cast<std::uint16_t>(s[i] * a + d[i] * na + 127);
        d[i] = static_cast<BYTE>((x + 1 + (x >> 8)) >> 8);
    }
    if constexpr (kX8)
        for (int i = 0; i < n; ++i) dst[i] &= 0x00FFFFFFu;
}

// kinds: what is known of the row's alphas already (0: nothing).
template <bool kX8>
[[gnu::noinline]] bool BlendRow32(const DWORD* __restrict src, DWORD* __restrict dst, int n, BYTE kinds)
{
    constexpr DWORD fill = kX8 ? 0xFF000000u : 0, keep = kX8 ? 0x00FFFFFFu : 0xFFFFFFFFu;
    DWORD all = 255, any = 0, partial = 0;
    if (kinds & (kRowOpaque | kRowClear | kRowKeyed)) {
        all = (kinds & kRowOpaque) ? 255 : 0;
        any = (kinds & kRowClear) ? 0 : 255;
    } else {
        for (int i = 0; i < n; ++i) {
            const DWORD a = src[i] >> 24;
            all &= a;
            any |= a;
            partial |= (a - 1) < 254 ? 1u : 0u;  // 1 to 254
        }
    }
    if (all == 255) {
        CopyRow32<kX8>(src, dst, n);
        return true;
    }
    if (any == 0) {
        // Untouched, but a pixel read from X8R8G8B8 is written back without its alpha byte.
        if constexpr (kX8)
            for (int i = 0; i < n; ++i) dst[i] &= keep;
        return false;
    }
    if (all == any) {
        BlendRowConstant<kX8>(src, dst, n, all);
        return false;
    }
    if (!partial) {
        // Keyed pixels: alpha 0 keeps the target, alpha 255 replaces it.
        for (int i = 0; i < n; ++i) {
            const DWORD mask = static_cast<DWORD>(static_cast<std::int32_t>(src[i]) >> 31);
            dst[i] = ((src[i] & mask) | (dst[i] & ~mask)) & keep;
        }
        return false;
    }
    for (int i = 0; i < n; ++i) dst[i] = BlendArgb(src[i], dst[i] | fill) & keep;
    return false;
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

// The texel indices of successive pixels of a span (SpanTexel of k, k + 1, ...), stepped
// without a division per pixel.
class cSpanStepper {
public:
    cSpanStepper(std::int64_t start, std::int64_t extent, std::int64_t size, std::int64_t first)
        : m_nDivisor(4096 * 2 * size)
    {
        if (extent == size || extent == -size) {
            // One texel per pixel, forwards from start or backwards from start − 1.
            m_nQuotient = extent > 0 ? start + first : start - 1 - first;
            m_nRemainder = 0;
            m_nStepQuotient = extent > 0 ? 1 : -1;
            m_nStepRemainder = 0;
            return;
        }
        const std::int64_t numerator = 4096 * (2 * start * size + (2 * first + 1) * extent) + 2 * size;
        m_nQuotient = FloorDiv(numerator, m_nDivisor);
        m_nRemainder = numerator - m_nQuotient * m_nDivisor;
        const std::int64_t step = 4096 * 2 * extent;
        m_nStepQuotient = FloorDiv(step, m_nDivisor);
        m_nStepRemainder = step - m_nStepQuotient * m_nDivisor;
    }
    std::int64_t Next()
    {
        const std::int64_t texel = m_nQuotient;
        m_nQuotient += m_nStepQuotient;
        m_nRemainder += m_nStepRemainder;
        if (m_nRemainder >= m_nDivisor) {
            m_nRemainder -= m_nDivisor;
            ++m_nQuotient;
        }
        return texel;
    }

private:
    std::int64_t m_nDivisor, m_nQuotient, m_nRemainder, m_nStepQuotient, m_nStepRemainder;
};

int Wrapped(std::int64_t t, int size) { return t >= 0 && t < size ? static_cast<int>(t) : WrapCoordinate(t, size); }

// The alpha kind of one row's pixels from column first, n of them.
BYTE AlphaKindOf(const cPixelStore& texture, int y, std::int64_t first, std::int64_t n)
{
    const BYTE* row = texture.Row(y);
    const int bpp = BytesPerPixel(texture.format);
    DWORD all = 255, any = 0, partial = 0;
    for (std::int64_t x = first; x < first + n; ++x) {
        const DWORD a = UnpackToArgb(texture.format, ReadPixel(row + x * bpp, bpp)) >> 24;
        all &= a;
        any |= a;
        partial |= (a - 1) < 254 ? 1u : 0u;
    }
    return static_cast<BYTE>((all == 255 ? kRowOpaque : 0) | (any == 0 ? kRowClear : 0) | (partial ? 0 : kRowKeyed));
}

const BYTE* RowAlphaKinds(const cPixelStore& texture)
{
    if (texture.rowAlphaGeneration == texture.nGeneration) return texture.rowAlpha.data();
    texture.rowAlpha.assign(static_cast<std::size_t>(texture.nHeight), 0);
    for (int y = 0; y < texture.nHeight; ++y) texture.rowAlpha[static_cast<std::size_t>(y)] = AlphaKindOf(texture, y, 0, texture.nWidth);
    texture.rowAlphaGeneration = texture.nGeneration;
    return texture.rowAlpha.data();
}

// The alpha kinds of the rows of a rectangle of the texture, from row firstRow, into `kinds`:
// the whole texture's note when it is current, or worth taking again; otherwise the
// rectangle's own rows only, so that a small part of a large texture that keeps changing (a
// work surface of the effects) does not cost a look at every pixel of it each time.
const BYTE* RectangleAlphaKinds(const cPixelStore& texture, std::int64_t firstColumn, std::int64_t n,
                                std::int64_t firstRow, int rows, std::vector<BYTE>& kinds)
{
    if (texture.rowAlphaGeneration != texture.nGeneration) {
        if (texture.spanAlphaGeneration != texture.nGeneration) {
            texture.spanAlphaGeneration = texture.nGeneration;
            texture.spanAlphaPixels = 0;
        }
        texture.spanAlphaPixels += static_cast<std::uint64_t>(n) * static_cast<std::uint64_t>(rows);
        const std::uint64_t area = static_cast<std::uint64_t>(texture.nWidth) * static_cast<std::uint64_t>(texture.nHeight);
        if (texture.spanAlphaPixels <= area) {
            kinds.resize(static_cast<std::size_t>(rows));
            for (int i = 0; i < rows; ++i) kinds[static_cast<std::size_t>(i)] = AlphaKindOf(texture, static_cast<int>(firstRow + i), firstColumn, n);
            return kinds.data();
        }
    }
    return RowAlphaKinds(texture) + firstRow;
}

// An unscaled copy of texture rows whose alphas are known (kinds[k] of the row drawn k-th),
// straight into a 32-bit target: the common blit of a picture, kept to one tight loop of rows.
template <bool kX8>
[[gnu::noinline]] void DrawKnownRows(const cPixelStore& texture, std::int64_t firstColumn, std::int64_t firstRow,
                                     cPixelStore& target, int left, int top, int bottom, int n, const BYTE* kinds)
{
    constexpr DWORD keep = kX8 ? 0x00FFFFFFu : 0xFFFFFFFFu;
    BYTE* targetRow = target.Row(top);
    for (int y = top; y < bottom; ++y, targetRow += target.nPitch) {
        const std::int64_t ty = firstRow + (y - top);
        const DWORD* __restrict src = reinterpret_cast<const DWORD*>(texture.Row(static_cast<int>(ty))) + firstColumn;
        DWORD* __restrict dst = reinterpret_cast<DWORD*>(targetRow) + left;
        const BYTE kind = kinds[y - top];
        if (kind & kRowOpaque) {
            for (int i = 0; i < n; ++i) dst[i] = src[i] & keep;
        } else if (kind & kRowClear) {
            if constexpr (kX8)
                for (int i = 0; i < n; ++i) dst[i] &= keep;
        } else if (kind & kRowKeyed) {
            for (int i = 0; i < n; ++i) {
                const DWORD mask = static_cast<DWORD>(static_cast<std::int32_t>(src[i]) >> 31);
                dst[i] = ((src[i] & mask) | (dst[i] & ~mask)) & keep;
            }
        } else {
            BlendRow32<kX8>(src, dst, n, 0);
        }
    }
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
    std::int64_t X0, X1, Y0, Y1;
    if (!Whole(v[0].x + 0.5, 1e-6, X0) || !Whole(v[2].x + 0.5, 1e-6, X1) || !Whole(v[0].y + 0.5, 1e-6, Y0) ||
        !Whole(v[1].y + 0.5, 1e-6, Y1))
        return false;
    if (X1 <= X0 || Y1 <= Y0) return false;
    std::int64_t su0 = 0, su1 = 0, sv0 = 0, sv1 = 0;
    if (s.texture) {
        const double tw = s.texture->nWidth, th = s.texture->nHeight;
        if (!Whole(v[0].u * tw, 1e-3, su0) || !Whole(v[2].u * tw, 1e-3, su1) || !Whole(v[0].v * th, 1e-3, sv0) ||
            !Whole(v[1].v * th, 1e-3, sv1))
            return false;
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
    const std::int64_t firstColumn = s.texture ? cSpanStepper(su0, su1 - su0, X1 - X0, left - X0).Next() : 0;
    const bool inPlace = s.texture && texFormat == D3DFMT_A8R8G8B8 && su1 - su0 == X1 - X0 && firstColumn >= 0 &&
                         firstColumn + n <= s.texture->nWidth;
    std::vector<DWORD>& columns = Scratch(0, n);
    if (s.texture && !inPlace) {
        cSpanStepper column(su0, su1 - su0, X1 - X0, left - X0);
        for (int i = 0; i < n; ++i) columns[i] = static_cast<DWORD>(Wrapped(column.Next(), s.texture->nWidth));
    }
    cSpanStepper rows(sv0, sv1 - sv0, Y1 - Y0, top - Y0);
    std::vector<DWORD>& gathered = Scratch(1, n);
    std::vector<DWORD>& shaded = Scratch(2, n);
    if (!s.texture) std::fill(gathered.begin(), gathered.begin() + n, 0xFF000000u);

    const D3DFORMAT format = s.target->format;
    const bool fast32 = (format == D3DFMT_A8R8G8B8 || format == D3DFMT_X8R8G8B8) &&
                        (!s.blend || (s.srcBlend == kBlendSrcAlpha && s.destBlend == kBlendInvSrcAlpha));
    const bool x8 = format == D3DFMT_X8R8G8B8;
    const int targetBpp = BytesPerPixel(format);

    const bool alphaKnown = s.texture && (shade.bAlphaIdentity || shade.dwAlphaFactor);
    // An opaque row made translucent by the vertex alpha blends with one alpha throughout.
    const DWORD translucentAlpha = Modulate(255, shade.dwAlphaFactor);
    if (alphaKnown && inPlace && shade.bIdentity && fast32 && s.blend && sv1 - sv0 == Y1 - Y0) {
        const std::int64_t firstRow = sv0 + (top - Y0);
        if (firstRow >= 0 && firstRow + (bottom - top) <= s.texture->nHeight) {
            thread_local std::vector<BYTE> rectangleKinds;
            const BYTE* kinds = RectangleAlphaKinds(*s.texture, firstColumn, n, firstRow, bottom - top, rectangleKinds);
            if (x8) DrawKnownRows<true>(*s.texture, firstColumn, firstRow, *s.target, left, top, bottom, n, kinds);
            else DrawKnownRows<false>(*s.texture, firstColumn, firstRow, *s.target, left, top, bottom, n, kinds);
            return true;
        }
    }
    const BYTE* kinds = alphaKnown ? RowAlphaKinds(*s.texture) : nullptr;
    std::int64_t previousRow = -1;
    bool previousOpaque = false;
    for (int y = top; y < bottom; ++y) {
        BYTE* out = s.target->Row(y) + left * targetBpp;
        const std::int64_t ty = s.texture ? Wrapped(rows.Next(), s.texture->nHeight) : 0;
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
        if (fast32 && x8 && s.blend && shade.dwAlphaFactor && kinds && (kinds[ty] & kRowOpaque)) {
            BlendRowConstant<true>(row, reinterpret_cast<DWORD*>(out), n, translucentAlpha);
            previousOpaque = false;
            previousRow = ty;
            continue;
        }
        if (!shade.bIdentity) {
            shade.Apply(row, shaded.data(), n);
            row = shaded.data();
        }
        if (fast32 && !s.blend) {
            DWORD* d = reinterpret_cast<DWORD*>(out);
            if (x8) CopyRow32<true>(row, d, n);
            else CopyRow32<false>(row, d, n);
            previousOpaque = true;
        } else if (fast32) {
            DWORD* d = reinterpret_cast<DWORD*>(out);
            const BYTE known = kinds && shade.bAlphaIdentity ? kinds[ty] : 0;
            previousOpaque = x8 ? BlendRow32<true>(row, d, n, known) : BlendRow32<false>(row, d, n, known);
        } else {
            previousOpaque = BlendRowGeneral(s, row, out, n);
        }
        previousRow = ty;
    }
    return true;
}

}  // namespace plat
