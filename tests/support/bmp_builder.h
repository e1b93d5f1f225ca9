#pragma once
// Bitmap files for fixtures, written from the file layout by hand (not by the runtime).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qbtest {

struct cBmpLayout {
    int width = 1;
    int height = 1;
    int bitCount = 24;
    int headerSize = 40;              // 12, 40, 108 (V4) or 124 (V5)
    bool topDown = false;
    std::uint32_t compression = 0;    // 0 RGB, 1 RLE8, 2 RLE4, 3 bit fields
    std::vector<std::uint32_t> palette;  // 0x00RRGGBB entries of the colour table
    std::uint32_t masks[3] = {0, 0, 0};  // red, green, blue masks for bit fields
    std::uint32_t fourthByte = 0;     // what 32-bit pixels carry in their unused byte
    std::optional<std::string> pixelData;  // given: written as the pixel bytes as they are
};

// values: top-down, one per pixel: palette index (1/4/8 bits), the raw 16-bit word (16 bits)
// or 0x00RRGGBB (24 and 32 bits; with bit fields, the raw 32-bit word).
std::string BuildBmp(const cBmpLayout& layout, const std::vector<std::uint32_t>& values);

// A bitmap of 24 bits from 0x00RRGGBB values, top-down.
std::string BuildBmp24(int width, int height, const std::vector<std::uint32_t>& rgb);
// A bitmap of 8 bits from indices and a colour table.
std::string BuildBmp8(int width, int height, const std::vector<std::uint32_t>& palette,
                      const std::vector<std::uint32_t>& indices);

}  // namespace qbtest
