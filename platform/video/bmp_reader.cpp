#include "platform/video/bmp_reader.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <memory>
#include "platform/os/files.h"

namespace plat {
namespace {

constexpr DWORD BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3, BI_ALPHABITFIELDS = 6;

struct cReader {
    const BYTE* data;
    std::size_t size;
    bool Has(std::size_t offset, std::size_t count) const { return offset <= size && count <= size - offset; }
    std::uint32_t U16(std::size_t o) const { return data[o] | data[o + 1] << 8; }
    std::uint32_t U32(std::size_t o) const
    {
        return data[o] | data[o + 1] << 8 | data[o + 2] << 16 | static_cast<std::uint32_t>(data[o + 3]) << 24;
    }
};

bool Fail(std::string* error, const char* reason)
{
    if (error) *error = reason;
    return false;
}

// One channel of a bit-field pixel, widened to 8 bits by repeating its high bits.
struct cChannel {
    std::uint32_t mask = 0;
    int shift = 0;
    int bits = 0;
    explicit cChannel(std::uint32_t m = 0) : mask(m)
    {
        if (m) {
            shift = std::countr_zero(m);
            bits = std::popcount(m);
        }
    }
    std::uint32_t Read(std::uint32_t pixel) const
    {
        if (bits == 0) return 0;
        std::uint32_t c = (pixel & mask) >> shift;
        if (bits >= 8) return c >> (bits - 8);
        std::uint32_t out = 0;
        for (int filled = 0; filled < 8; filled += bits) {
            int room = 8 - filled;
            out |= room >= bits ? c << (room - bits) : c >> (bits - room);
        }
        return out & 0xFF;
    }
};

bool MasksValid(std::uint32_t r, std::uint32_t g, std::uint32_t b)
{
    auto contiguous = [](std::uint32_t m) { return m == 0 || std::has_single_bit((m >> std::countr_zero(m)) + 1); };
    return contiguous(r) && contiguous(g) && contiguous(b) && (r | g | b) != 0;
}

// RLE8 and RLE4: runs of one index, absolute runs and the escapes end-of-line, end-of-bitmap
// and delta. Rows are bottom-up. Pixels that a run puts past the row are dropped.
bool DecodeRle(const cReader& in, std::size_t offset, int bits, cBmpImage& image, std::string* error)
{
    const int w = image.nWidth, h = image.nHeight;
    auto put = [&](int x, int row, BYTE index) {
        if (x >= 0 && x < w && row >= 0 && row < h)
            image.indices[static_cast<std::size_t>(h - 1 - row) * w + x] = index;
    };
    int x = 0, row = 0;
    std::size_t p = offset;
    while (row < h) {
        if (!in.Has(p, 2)) return Fail(error, "compressed pixels end early");
        BYTE count = in.data[p], value = in.data[p + 1];
        p += 2;
        if (count > 0) {
            for (int i = 0; i < count; ++i, ++x)
                put(x, row, bits == 8 ? value : (i & 1 ? value & 0x0F : value >> 4));
            continue;
        }
        if (value == 0) { x = 0; ++row; continue; }
        if (value == 1) return true;
        if (value == 2) {
            if (!in.Has(p, 2)) return Fail(error, "compressed pixels end early");
            x += in.data[p];
            row += in.data[p + 1];
            p += 2;
            continue;
        }
        std::size_t bytes = bits == 8 ? value : (value + 1u) / 2;
        std::size_t padded = (bytes + 1) & ~std::size_t{1};
        if (!in.Has(p, padded)) return Fail(error, "compressed pixels end early");
        for (int i = 0; i < value; ++i, ++x) {
            BYTE b = bits == 8 ? in.data[p + i] : in.data[p + i / 2];
            put(x, row, bits == 8 ? b : (i & 1 ? b & 0x0F : b >> 4));
        }
        p += padded;
    }
    return true;
}

}  // namespace

bool ReadBmp(const BYTE* data, std::size_t size, cBmpImage& image, std::string* error)
{
    cReader in{data, size};
    if (!in.Has(0, 18) || data[0] != 'B' || data[1] != 'M') return Fail(error, "not a bitmap file");
    const std::uint32_t pixelOffset = in.U32(10);
    const std::uint32_t headerSize = in.U32(14);
    if (headerSize != 12 && headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 108 &&
        headerSize != 124)
        return Fail(error, "unknown bitmap header");
    if (!in.Has(14, headerSize)) return Fail(error, "bitmap header cut short");

    std::int64_t width, height;
    int bitCount;
    DWORD compression = BI_RGB;
    std::uint32_t colorsUsed = 0;
    std::uint32_t masks[4] = {0, 0, 0, 0};
    bool hasMasks = false;
    std::size_t tableOffset = 14 + headerSize;
    int entryBytes = 4;
    if (headerSize == 12) {
        width = in.U16(18);
        height = in.U16(20);
        if (in.U16(22) != 1) return Fail(error, "bitmap planes not 1");
        bitCount = static_cast<int>(in.U16(24));
        entryBytes = 3;
    } else {
        width = static_cast<std::int32_t>(in.U32(18));
        height = static_cast<std::int32_t>(in.U32(22));
        if (in.U16(26) != 1) return Fail(error, "bitmap planes not 1");
        bitCount = static_cast<int>(in.U16(28));
        compression = in.U32(30);
        colorsUsed = in.U32(46);
        if (compression == BI_BITFIELDS || compression == BI_ALPHABITFIELDS) {
            int maskCount = compression == BI_ALPHABITFIELDS ? 4 : 3;
            std::size_t maskOffset = 54;
            if (headerSize == 40) {
                tableOffset += 4 * maskCount;
            } else if (headerSize < 52 + 4u * (maskCount == 4)) {
                return Fail(error, "bitmap header cut short");
            }
            if (!in.Has(maskOffset, 4 * maskCount)) return Fail(error, "bit fields cut short");
            for (int i = 0; i < maskCount; ++i) masks[i] = in.U32(maskOffset + 4 * i);
            hasMasks = true;
        }
    }
    const bool topDown = height < 0;
    if (topDown) height = -height;
    if (width <= 0 || height <= 0 || width > kBmpMaxSide || height > kBmpMaxSide || width * height > kBmpMaxPixels)
        return Fail(error, "bitmap size out of range");

    switch (bitCount) {
    case 1: case 4: case 8: case 24:
        if (compression != BI_RGB && !(compression == BI_RLE8 && bitCount == 8) &&
            !(compression == BI_RLE4 && bitCount == 4))
            return Fail(error, "unsupported bitmap compression");
        break;
    case 16: case 32:
        if (headerSize == 12 || (compression != BI_RGB && !hasMasks)) return Fail(error, "unsupported bitmap compression");
        break;
    default:
        return Fail(error, "unsupported bits per pixel");
    }
    if ((compression == BI_RLE8 || compression == BI_RLE4) && topDown)
        return Fail(error, "compressed bitmaps cannot be top-down");

    cBmpImage out;
    out.nWidth = static_cast<int>(width);
    out.nHeight = static_cast<int>(height);
    out.nBitCount = bitCount;
    const std::size_t pixelCount = static_cast<std::size_t>(width * height);

    if (bitCount <= 8) {
        std::uint32_t maxColors = 1u << bitCount;
        std::uint32_t count = (colorsUsed == 0 || colorsUsed > maxColors) ? maxColors : colorsUsed;
        // Some writers omit part of the table; take the entries that fit before the pixels.
        if (pixelOffset > tableOffset)
            count = std::min<std::uint32_t>(count, static_cast<std::uint32_t>((pixelOffset - tableOffset) / entryBytes));
        if (!in.Has(tableOffset, std::size_t{count} * entryBytes)) return Fail(error, "colour table cut short");
        out.colorTable.resize(count);
        for (std::uint32_t i = 0; i < count; ++i) {
            const BYTE* e = data + tableOffset + i * entryBytes;
            out.colorTable[i] = static_cast<std::uint32_t>(e[2]) << 16 | e[1] << 8 | e[0];
        }
        out.indices.assign(pixelCount, 0);
    }
    if (pixelOffset >= size) return Fail(error, "pixel data missing");

    if (compression == BI_RLE8 || compression == BI_RLE4) {
        if (!DecodeRle(in, pixelOffset, bitCount, out, error)) return false;
    } else {
        const std::size_t stride = (static_cast<std::size_t>(width) * bitCount + 31) / 32 * 4;
        if (!in.Has(pixelOffset, stride * static_cast<std::size_t>(height))) return Fail(error, "pixel data cut short");
        if (bitCount > 8) out.pixels.resize(pixelCount);
        cChannel red, green, blue;
        if (bitCount == 16) {
            red = cChannel(hasMasks ? masks[0] : 0x7C00);
            green = cChannel(hasMasks ? masks[1] : 0x03E0);
            blue = cChannel(hasMasks ? masks[2] : 0x001F);
        } else if (bitCount == 32) {
            red = cChannel(hasMasks ? masks[0] : 0xFF0000);
            green = cChannel(hasMasks ? masks[1] : 0x00FF00);
            blue = cChannel(hasMasks ? masks[2] : 0x0000FF);
        }
        if (hasMasks && !MasksValid(masks[0], masks[1], masks[2])) return Fail(error, "bad bit fields");
        for (int y = 0; y < out.nHeight; ++y) {
            const BYTE* row = data + pixelOffset + stride * static_cast<std::size_t>(topDown ? y : out.nHeight - 1 - y);
            const std::size_t base = static_cast<std::size_t>(y) * out.nWidth;
            for (int x = 0; x < out.nWidth; ++x) {
                switch (bitCount) {
                case 1: out.indices[base + x] = (row[x >> 3] >> (7 - (x & 7))) & 1; break;
                case 4: out.indices[base + x] = (row[x >> 1] >> (x & 1 ? 0 : 4)) & 0x0F; break;
                case 8: out.indices[base + x] = row[x]; break;
                case 16: {
                    std::uint32_t p = row[2 * x] | row[2 * x + 1] << 8;
                    out.pixels[base + x] = red.Read(p) << 16 | green.Read(p) << 8 | blue.Read(p);
                    break;
                }
                case 24:
                    out.pixels[base + x] = static_cast<std::uint32_t>(row[3 * x + 2]) << 16 | row[3 * x + 1] << 8 | row[3 * x];
                    break;
                case 32: {
                    const BYTE* q = row + 4 * x;
                    std::uint32_t p = q[0] | q[1] << 8 | q[2] << 16 | static_cast<std::uint32_t>(q[3]) << 24;
                    out.pixels[base + x] = red.Read(p) << 16 | green.Read(p) << 8 | blue.Read(p);
                    break;
                }
                }
            }
        }
    }
    if (bitCount <= 8) {
        out.pixels.resize(pixelCount);
        for (std::size_t i = 0; i < pixelCount; ++i)
            out.pixels[i] = out.indices[i] < out.colorTable.size() ? out.colorTable[out.indices[i]] : 0;
    }
    image = std::move(out);
    return true;
}

bool ReadBmpFile(const char* path, cBmpImage& image, std::string* error)
{
    if (!path || !*path) return Fail(error, "no file name");
    std::unique_ptr<FILE, int (*)(FILE*)> file(OpenRegularFile(path), &std::fclose);
    if (!file) return Fail(error, "cannot open file");
    std::vector<BYTE> bytes;
    BYTE buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        bytes.insert(bytes.end(), buffer, buffer + n);
        if (bytes.size() > (std::size_t{1} << 30)) return Fail(error, "file too large");
    }
    return ReadBmp(bytes.data(), bytes.size(), image, error);
}

}  // namespace plat
