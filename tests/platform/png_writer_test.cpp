// The PNG encoder of saved frames: checksums against published values and a decode of the
// stored blocks written here from the format.
#include <gtest/gtest.h>

#include <cstring>
#include "platform/video/png_writer.h"

namespace {

std::uint32_t Be32(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return static_cast<std::uint32_t>(b[at]) << 24 | b[at + 1] << 16 | b[at + 2] << 8 | b[at + 3];
}

TEST(PngWriter, ChecksumsMatchPublishedValues)
{
    const char* text = "123456789";
    EXPECT_EQ(plat::Crc32(reinterpret_cast<const std::uint8_t*>(text), 9), 0xCBF43926u);
    const char* wiki = "Wikipedia";
    EXPECT_EQ(plat::Adler32(reinterpret_cast<const std::uint8_t*>(wiki), 9), 0x11E60398u);
    // Running checksums continue across pieces.
    auto* bytes = reinterpret_cast<const std::uint8_t*>(text);
    EXPECT_EQ(plat::Crc32(bytes + 4, 5, plat::Crc32(bytes, 4)), 0xCBF43926u);
}

TEST(PngWriter, StoredBlocksHoldTheScanLinesAndEveryChunkCarriesItsCrc)
{
    // Wide enough that the scan lines need more than one stored block (65535 bytes each).
    const int w = 150, h = 160;
    std::vector<std::uint32_t> argb(w * h);
    for (int i = 0; i < w * h; ++i) argb[i] = 0xFF000000u | static_cast<std::uint32_t>(i * 2654435761u >> 8);
    std::vector<std::uint8_t> png = plat::EncodePng(w, h, argb.data());

    const std::uint8_t signature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    ASSERT_GE(png.size(), 8u);
    ASSERT_EQ(std::memcmp(png.data(), signature, 8), 0);
    std::vector<std::string> types;
    std::vector<std::uint8_t> idat;
    for (std::size_t at = 8; at < png.size();) {
        std::uint32_t length = Be32(png, at);
        std::string type(png.begin() + at + 4, png.begin() + at + 8);
        types.push_back(type);
        EXPECT_EQ(Be32(png, at + 8 + length), plat::Crc32(png.data() + at + 4, 4 + length)) << type;
        if (type == "IHDR") {
            EXPECT_EQ(Be32(png, at + 8), static_cast<std::uint32_t>(w));
            EXPECT_EQ(Be32(png, at + 12), static_cast<std::uint32_t>(h));
            EXPECT_EQ(png[at + 16], 8);  // bit depth
            EXPECT_EQ(png[at + 17], 2);  // RGB
        }
        if (type == "IDAT") idat.insert(idat.end(), png.begin() + at + 8, png.begin() + at + 8 + length);
        at += 12 + length;
    }
    EXPECT_EQ(types, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));

    // zlib: CMF/FLG a multiple of 31, stored blocks, Adler-32 of the raw data.
    ASSERT_GE(idat.size(), 6u);
    EXPECT_EQ((idat[0] * 256 + idat[1]) % 31, 0);
    std::vector<std::uint8_t> raw;
    std::size_t at = 2;
    int blocks = 0;
    for (bool last = false; !last; ++blocks) {
        last = idat[at] & 1;
        EXPECT_EQ(idat[at] >> 1, 0) << "block type must be stored";
        unsigned len = idat[at + 1] | idat[at + 2] << 8, nlen = idat[at + 3] | idat[at + 4] << 8;
        EXPECT_EQ(len ^ 0xFFFF, nlen);
        raw.insert(raw.end(), idat.begin() + at + 5, idat.begin() + at + 5 + len);
        at += 5 + len;
    }
    EXPECT_GT(blocks, 1);
    EXPECT_EQ(Be32(idat, at), plat::Adler32(raw.data(), raw.size()));
    ASSERT_EQ(raw.size(), static_cast<std::size_t>(h) * (1 + 3 * w));
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* line = raw.data() + y * (1 + 3 * w);
        EXPECT_EQ(line[0], 0);
        for (int x = 0; x < w; ++x) {
            std::uint32_t p = argb[y * w + x];
            ASSERT_EQ(line[1 + 3 * x], (p >> 16) & 0xFF);
            ASSERT_EQ(line[2 + 3 * x], (p >> 8) & 0xFF);
            ASSERT_EQ(line[3 + 3 * x], p & 0xFF);
        }
    }
}

}  // namespace
