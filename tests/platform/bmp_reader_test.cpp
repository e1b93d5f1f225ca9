// Our bitmap reader on files generated in the test from the file layout.
#include <gtest/gtest.h>

#include <random>
#include "platform/video/bmp_reader.h"
#include "tools/lib/bmp_fuzz.h"
#include "tests/support/bmp_builder.h"

namespace {

using qbtest::BuildBmp;
using qbtest::cBmpLayout;

bool Read(const std::string& file, plat::cBmpImage& image, std::string* error = nullptr)
{
    return plat::ReadBmp(reinterpret_cast<const BYTE*>(file.data()), file.size(), image, error);
}

const std::vector<std::uint32_t> kPalette16 = {
    0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0x123456, 0xABCDEF, 0x808080, 0xFFFFFF,
    0x010203, 0x102030, 0x7F7F00, 0x00FEFE, 0xC0C0C0, 0x400040, 0x004000, 0xFF00FF};

// Widening of the test's own: 5 bits to 8 by repeating the high bits.
std::uint32_t W5(std::uint32_t c) { return (c << 3) | (c >> 2); }
std::uint32_t W6(std::uint32_t c) { return (c << 2) | (c >> 4); }

TEST(BmpReader, PixelsLandWhereTheFileSaysAtEveryDepthAndRowOrder)
{
    // 5 × 3 pixels: odd width so every depth has row padding.
    const int w = 5, h = 3;
    struct Case {
        int bitCount;
        int headerSize;
        bool topDown;
        std::uint32_t compression;
        std::uint32_t masks[3];
    } cases[] = {
        {1, 40, false, 0, {}}, {1, 12, false, 0, {}}, {4, 40, true, 0, {}}, {4, 108, false, 0, {}},
        {8, 40, false, 0, {}}, {8, 124, true, 0, {}}, {8, 12, false, 0, {}},
        {16, 40, false, 0, {}}, {16, 40, true, 3, {0xF800, 0x07E0, 0x001F}}, {16, 124, false, 3, {0xF800, 0x07E0, 0x001F}},
        {24, 40, false, 0, {}}, {24, 12, false, 0, {}}, {24, 108, true, 0, {}},
        {32, 40, false, 0, {}}, {32, 40, true, 3, {0x0000FF00, 0x00FF0000, 0xFF000000}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bitCount << " bits, header " << c.headerSize << (c.topDown ? " top-down" : ""));
        cBmpLayout layout;
        layout.width = w;
        layout.height = h;
        layout.bitCount = c.bitCount;
        layout.headerSize = c.headerSize;
        layout.topDown = c.topDown;
        layout.compression = c.compression;
        layout.fourthByte = 0x5A;  // must be ignored
        for (int i = 0; i < 3; ++i) layout.masks[i] = c.masks[i];
        std::vector<std::uint32_t> values, expected;
        for (int i = 0; i < w * h; ++i) {
            std::uint32_t v = 0, rgb = 0;
            if (c.bitCount <= 8) {
                int colors = 1 << std::min(c.bitCount, 4);
                v = static_cast<std::uint32_t>((i * 7 + 3) % colors);
                rgb = kPalette16[v];
            } else if (c.bitCount == 16 && c.compression == 0) {
                std::uint32_t r = (i * 3) & 31, g = (i * 5 + 1) & 31, b = (31 - i) & 31;
                v = r << 10 | g << 5 | b;
                rgb = W5(r) << 16 | W5(g) << 8 | W5(b);
            } else if (c.bitCount == 16) {
                std::uint32_t r = (i * 3) & 31, g = (i * 9 + 1) & 63, b = (31 - i) & 31;
                v = r << 11 | g << 5 | b;
                rgb = W5(r) << 16 | W6(g) << 8 | W5(b);
            } else if (c.bitCount == 32 && c.compression == 3) {
                std::uint32_t r = 10 * i, g = 255 - 7 * i, b = 3 * i + 1;
                v = b << 24 | g << 16 | r << 8 | 0x77;
                rgb = r << 16 | g << 8 | b;
            } else {
                v = rgb = static_cast<std::uint32_t>(i * 0x0A0B0C + 0x102030) & 0xFFFFFF;
            }
            values.push_back(v);
            expected.push_back(rgb);
        }
        if (c.bitCount <= 8) layout.palette.assign(kPalette16.begin(), kPalette16.begin() + (1 << std::min(c.bitCount, 4)));
        plat::cBmpImage image;
        std::string error;
        ASSERT_TRUE(Read(BuildBmp(layout, values), image, &error)) << error;
        EXPECT_EQ(image.nWidth, w);
        EXPECT_EQ(image.nHeight, h);
        EXPECT_EQ(image.nBitCount, c.bitCount);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                EXPECT_EQ(image.Pixel(x, y), expected[y * w + x]) << "pixel " << x << "," << y;
                if (c.bitCount <= 8) {
                    EXPECT_EQ(image.indices[y * w + x], values[y * w + x]);
                }
            }
    }
}

TEST(BmpReader, DecodesRunLengthEncodedRowsWithEveryEscape)
{
    // 6 × 3, bottom-up. Row 0 (the bottom): run of 3 × index 1, absolute 2,3,4 (padded),
    // end of line. Row 1: delta (2, 0) then run of 2 × index 5, end of line.
    // Row 2: run of 6 × index 6, end of bitmap.
    const std::string rle8 = std::string("\x03\x01\x00\x03\x02\x03\x04\x00\x00\x00", 10) +
                             std::string("\x00\x02\x02\x00\x02\x05\x00\x00", 8) + std::string("\x06\x06\x00\x01", 4);
    cBmpLayout layout;
    layout.width = 6;
    layout.height = 3;
    layout.bitCount = 8;
    layout.compression = 1;
    layout.palette = kPalette16;
    layout.pixelData = rle8;
    plat::cBmpImage image;
    std::string error;
    ASSERT_TRUE(Read(BuildBmp(layout, {}), image, &error)) << error;
    const std::vector<BYTE> expected = {6, 6, 6, 6, 6, 6,  // top row = last in the file
                                        0, 0, 5, 5, 0, 0, 1, 1, 1, 2, 3, 4};
    EXPECT_EQ(image.indices, expected);

    // RLE4: 6 × 1: run of 3 alternating 0xA,0xB; absolute 3 nibbles 0xC,0xD,0xE; end of bitmap.
    const std::string rle4 = std::string("\x03\xAB\x00\x03\xCD\xE0\x00\x01", 8);
    layout.width = 6;
    layout.height = 1;
    layout.bitCount = 4;
    layout.compression = 2;
    layout.pixelData = rle4;
    ASSERT_TRUE(Read(BuildBmp(layout, {}), image, &error)) << error;
    EXPECT_EQ(image.indices, (std::vector<BYTE>{0xA, 0xB, 0xA, 0xC, 0xD, 0xE}));
    EXPECT_EQ(image.Pixel(4, 0), kPalette16[0xD]);
}

TEST(BmpReader, IndexPastTheColourTableIsBlack)
{
    cBmpLayout layout;
    layout.width = 2;
    layout.bitCount = 8;
    layout.palette = {0x112233, 0x445566};
    plat::cBmpImage image;
    ASSERT_TRUE(Read(BuildBmp(layout, {1, 200}), image));
    EXPECT_EQ(image.Pixel(0, 0), 0x445566u);
    EXPECT_EQ(image.Pixel(1, 0), 0u);
}

TEST(BmpReader, RefusesBadHeadersWithAReason)
{
    cBmpLayout good;
    good.width = 3;
    good.height = 2;
    const std::string file = BuildBmp(good, std::vector<std::uint32_t>(6, 0x123456));
    struct Case { const char* what; std::size_t offset; std::uint32_t value; int bytes; } cases[] = {
        {"magic", 0, 'X', 1},
        {"header size", 14, 41, 4},
        {"zero width", 18, 0, 4},
        {"negative width", 18, 0xFFFFFFFF, 4},
        {"huge height", 22, 0x7FFFFFFF, 4},
        {"planes", 26, 2, 2},
        {"bits per pixel", 28, 7, 2},
        {"jpeg compression", 30, 4, 4},
        {"pixel offset past the end", 10, 0xFFFFFF00, 4},
    };
    for (const auto& c : cases) {
        std::string bad = file;
        for (int i = 0; i < c.bytes; ++i) bad[c.offset + i] = static_cast<char>(c.value >> (8 * i));
        plat::cBmpImage image;
        std::string error;
        EXPECT_FALSE(Read(bad, image, &error)) << c.what;
        EXPECT_FALSE(error.empty()) << c.what;
    }
}

TEST(BmpReader, EveryPrefixAndRandomDamageFailsCleanly)
{
    cBmpLayout layout;
    layout.width = 7;
    layout.height = 5;
    layout.bitCount = 8;
    layout.palette = kPalette16;
    std::vector<std::uint32_t> values(35);
    for (int i = 0; i < 35; ++i) values[i] = static_cast<std::uint32_t>(i % 16);
    const std::string plain = BuildBmp(layout, values);
    layout.compression = 1;
    layout.pixelData = std::string("\x07\x01\x00\x00\x00\x03\x01\x02\x03\x00\x02\x03\x01\x00\x00\x00\x07\x04\x00\x01", 20);
    const std::string rle = BuildBmp(layout, {});

    for (const std::string* file : {&plain, &rle}) {
        plat::cBmpImage image;
        ASSERT_TRUE(Read(*file, image));
        for (std::size_t n = 0; n < file->size(); ++n) {
            plat::cBmpImage cut;
            EXPECT_FALSE(Read(file->substr(0, n), cut)) << "prefix " << n;
        }
        std::mt19937 random(12345);
        for (int round = 0; round < 2000; ++round) {
            std::string damaged = *file;
            for (int flips = 0; flips < 4; ++flips)
                damaged[random() % damaged.size()] = static_cast<char>(random());
            plat::cBmpImage result;
            if (Read(damaged, result)) {
                EXPECT_EQ(result.pixels.size(), static_cast<std::size_t>(result.nWidth) * result.nHeight);
            }
        }
    }
}

}  // namespace

namespace {

// One file of each kind the reader knows, small, for the bounded mutation below.
std::vector<std::string> FilesOfEveryKind()
{
    std::vector<std::string> files;
    struct Kind { int bitCount, headerSize; bool topDown; std::uint32_t compression; std::uint32_t masks[3]; } kinds[] = {
        {1, 40, false, 0, {}},   {4, 12, false, 0, {}},   {8, 108, true, 0, {}},
        {16, 40, false, 0, {}},  {16, 124, true, 3, {0xF800, 0x07E0, 0x001F}},
        {24, 12, false, 0, {}},  {32, 40, true, 3, {0x0000FF00, 0x00FF0000, 0xFF000000}}, {32, 56, false, 0, {}},
    };
    for (const Kind& k : kinds) {
        cBmpLayout layout;
        layout.width = 5;
        layout.height = 3;
        layout.bitCount = k.bitCount;
        layout.headerSize = k.headerSize;
        layout.topDown = k.topDown;
        layout.compression = k.compression;
        for (int i = 0; i < 3; ++i) layout.masks[i] = k.masks[i];
        if (k.bitCount <= 8) layout.palette.assign(kPalette16.begin(), kPalette16.begin() + (1 << std::min(k.bitCount, 4)));
        std::vector<std::uint32_t> values;
        for (int i = 0; i < 15; ++i) values.push_back(static_cast<std::uint32_t>(i * 0x2F1D37 + 5) & (k.bitCount <= 8 ? 1u : 0xFFFFFFu));
        files.push_back(BuildBmp(layout, values));
    }
    // Run-length files: RLE8 and RLE4 with runs, absolute runs, a delta and both end marks.
    cBmpLayout rle;
    rle.width = 7;
    rle.height = 4;
    rle.bitCount = 8;
    rle.palette = kPalette16;
    rle.compression = 1;
    rle.pixelData = std::string("\x03\x01\x00\x03\x02\x03\x04\x00\x00\x00\x00\x02\x02\x01\x04\x05\x00\x00\x07\x06\x00\x01", 22);
    files.push_back(BuildBmp(rle, {}));
    rle.bitCount = 4;
    rle.compression = 2;
    rle.pixelData = std::string("\x05\x12\x00\x04\x34\x56\x00\x00\x00\x02\x01\x01\x03\x77\x00\x01", 16);
    files.push_back(BuildBmp(rle, {}));
    return files;
}

void Put(std::string& file, std::size_t offset, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes && offset + i < file.size(); ++i) file[offset + i] = static_cast<char>(value >> (8 * i));
}

}  // namespace

TEST(BmpReader, EveryKindOfFileSurvivesPrefixesExtremeFieldsAndDamage)
{
    // FuzzBmp aborts when a file reads into an inconsistent picture or fails without a reason;
    // run under the sanitizer, any read past the file shows too.
    auto fuzz = [](const std::string& file) {
        return FuzzBmp(reinterpret_cast<const std::uint8_t*>(file.data()), file.size());
    };
    const std::uint32_t extremes[] = {0, 1, 0xFFFF, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};
    // The 4-byte fields of the file header and of every info header, then the 2-byte ones.
    const std::size_t words[] = {2, 6, 10, 14, 18, 22, 30, 34, 38, 42, 46, 50, 54, 58, 62, 66};
    const std::size_t halves[] = {18, 20, 22, 24, 26, 28};
    for (const std::string& file : FilesOfEveryKind()) {
        plat::cBmpImage image;
        std::string error;
        ASSERT_TRUE(Read(file, image, &error)) << error;
        for (std::size_t n = 0; n < file.size(); ++n) EXPECT_EQ(fuzz(file.substr(0, n)), 0);
        for (std::uint32_t value : extremes) {
            for (std::size_t offset : words) {
                std::string bad = file;
                Put(bad, offset, value, 4);
                EXPECT_EQ(fuzz(bad), 0);
            }
            for (std::size_t offset : halves) {
                std::string bad = file;
                Put(bad, offset, value, 2);
                EXPECT_EQ(fuzz(bad), 0);
            }
        }
        // Every byte of the file set to each of a few values: counts, lengths and escapes.
        for (std::size_t offset = 0; offset < file.size(); ++offset)
            for (std::uint32_t value : {0u, 1u, 2u, 0xFFu}) {
                std::string bad = file;
                bad[offset] = static_cast<char>(value);
                EXPECT_EQ(fuzz(bad), 0);
            }
        std::mt19937 random(4242);
        for (int round = 0; round < 1000; ++round) {
            std::string damaged = file;
            for (int flips = 0; flips < 3; ++flips) damaged[random() % damaged.size()] = static_cast<char>(random());
            EXPECT_EQ(fuzz(damaged), 0);
        }
    }
}
