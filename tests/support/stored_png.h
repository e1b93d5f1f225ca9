#pragma once
// Reading back the PNG files that the runtime's own writer makes (8-bit RGB, stored deflate
// blocks, no filters), so that a test can compare a saved frame with what a window shows.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace qbtest {

// The pixels of the file's bytes as 0x00RRGGBB, top-down; empty when they hold fewer than
// width x height.
inline std::vector<std::uint32_t> StoredPngPixels(const std::string& bytes, int width, int height)
{
    auto be32 = [&](std::size_t at) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at]) << 24 |
                                          static_cast<unsigned char>(bytes[at + 1]) << 16 |
                                          static_cast<unsigned char>(bytes[at + 2]) << 8 |
                                          static_cast<unsigned char>(bytes[at + 3]));
    };
    std::string zlib;
    for (std::size_t at = 8; at + 8 <= bytes.size();) {
        const std::uint32_t length = be32(at);
        if (bytes.compare(at + 4, 4, "IDAT") == 0) zlib += bytes.substr(at + 8, length);
        at += 12 + length;
    }
    std::string raw;
    for (std::size_t at = 2; at + 5 <= zlib.size();) {
        const bool last = zlib[at] & 1;
        const std::size_t length = static_cast<unsigned char>(zlib[at + 1]) | static_cast<unsigned char>(zlib[at + 2]) << 8;
        raw += zlib.substr(at + 5, length);
        at += 5 + length;
        if (last) break;
    }
    std::vector<std::uint32_t> rgb;
    const std::size_t stride = 1 + 3 * static_cast<std::size_t>(width);
    if (raw.size() < stride * height) return rgb;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::size_t at = y * stride + 1 + 3 * static_cast<std::size_t>(x);
            rgb.push_back(static_cast<std::uint32_t>(static_cast<unsigned char>(raw[at]) << 16 |
                                                     static_cast<unsigned char>(raw[at + 1]) << 8 |
                                                     static_cast<unsigned char>(raw[at + 2])));
        }
    return rgb;
}

// The same, read from a file.
inline std::vector<std::uint32_t> ReadStoredPng(const std::string& file, int width, int height)
{
    std::ifstream in(file, std::ios::binary);
    return StoredPngPixels(std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()), width,
                           height);
}

// Fails the test for every pixel (the first five named) where a shown frame of 640 columns
// differs from the expected one.
inline void ExpectSameFrame(const std::vector<std::uint32_t>& shown, const std::vector<std::uint32_t>& expected)
{
    ASSERT_EQ(shown.size(), expected.size());
    int different = 0;
    for (std::size_t i = 0; i < expected.size(); ++i)
        if (shown[i] != expected[i] && different++ < 5)
            ADD_FAILURE() << "pixel (" << i % 640 << "," << i / 640 << "): shown " << std::hex << shown[i]
                          << ", expected " << expected[i];
    EXPECT_EQ(different, 0);
}

}  // namespace qbtest
