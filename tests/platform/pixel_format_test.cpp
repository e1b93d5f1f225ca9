// Packing and unpacking of every surface format, against channel arithmetic written here.
#include <gtest/gtest.h>

#include "platform/video/pixel_format.h"

namespace {

TEST(PixelFormat, UnpacksEveryFormatWithWideningAndTheAlphaBit)
{
    struct Case { D3DFORMAT format; std::uint32_t pixel; std::uint32_t argb; } cases[] = {
        {D3DFMT_A8R8G8B8, 0x80123456, 0x80123456},
        {D3DFMT_X8R8G8B8, 0x00ABCDEF, 0xFFABCDEF},
        {D3DFMT_X8R8G8B8, 0x12ABCDEF, 0xFFABCDEF},  // the unused byte is ignored
        // R5G6B5: r=31, g=0, b=1 -> 255, 0, (1<<3)|(1>>2)=8
        {D3DFMT_R5G6B5, 0xF801, 0xFFFF0008},
        // g=33 (6 bits) -> (33<<2)|(33>>4) = 134
        {D3DFMT_R5G6B5, 33u << 5, 0xFF008600},
        // A1R5G5B5: alpha bit set / clear; r=16 -> (16<<3)|(16>>2)=132
        {D3DFMT_A1R5G5B5, 0x8000 | 16u << 10, 0xFF840000},
        {D3DFMT_A1R5G5B5, 16u << 10, 0x00840000},
        {D3DFMT_A1R5G5B5, 0x2000, 0x00420000},  // 0x2000 is a red bit (r = 8), not alpha
        {D3DFMT_X1R5G5B5, 0x001F, 0xFF0000FF},
    };
    for (const auto& c : cases) EXPECT_EQ(plat::UnpackToArgb(c.format, c.pixel), c.argb) << c.format << " " << c.pixel;
    const std::uint32_t palette[256] = {0x000000, 0x112233, 0xFFEEDD};
    EXPECT_EQ(plat::UnpackToArgb(D3DFMT_P8, 2, palette), 0xFFFFEEDDu);
}

TEST(PixelFormat, PacksByTruncationAndKeepsTheTopAlphaBit)
{
    struct Case { D3DFORMAT format; std::uint32_t argb; std::uint32_t pixel; } cases[] = {
        {D3DFMT_A8R8G8B8, 0x7F010203, 0x7F010203},
        {D3DFMT_X8R8G8B8, 0x7F010203, 0x00010203},
        {D3DFMT_R5G6B5, 0xFF0F0F0F, (0x0Fu >> 3) << 11 | (0x0Fu >> 2) << 5 | (0x0Fu >> 3)},
        {D3DFMT_A1R5G5B5, 0x80FFFFFF, 0xFFFF},
        {D3DFMT_A1R5G5B5, 0x7FFFFFFF, 0x7FFF},
        {D3DFMT_X1R5G5B5, 0xFF080808, 0x0421},
    };
    for (const auto& c : cases) EXPECT_EQ(plat::PackFromArgb(c.format, c.argb), c.pixel) << c.format;
    // Every 5-bit value survives widening then narrowing.
    for (std::uint32_t v = 0; v < 32; ++v) {
        std::uint32_t p = 0x8000 | v << 10 | v << 5 | v;
        EXPECT_EQ(plat::PackFromArgb(D3DFMT_A1R5G5B5, plat::UnpackToArgb(D3DFMT_A1R5G5B5, p)), p);
    }
    for (std::uint32_t g = 0; g < 64; ++g)
        EXPECT_EQ(plat::PackFromArgb(D3DFMT_R5G6B5, plat::UnpackToArgb(D3DFMT_R5G6B5, g << 5)), g << 5);
}

TEST(PixelFormat, ReadsAndWritesPixelsOfEverySize)
{
    BYTE buffer[4] = {};
    for (int bytes : {1, 2, 3, 4}) {
        const std::uint32_t value = 0x89ABCDEFu & (bytes == 4 ? 0xFFFFFFFFu : (1u << (8 * bytes)) - 1);
        plat::WritePixel(buffer, bytes, 0x89ABCDEFu);
        EXPECT_EQ(plat::ReadPixel(buffer, bytes), value) << bytes;
        EXPECT_EQ(buffer[0], 0xEF);  // little-endian
    }
}

}  // namespace
