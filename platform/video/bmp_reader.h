#pragma once
// Our reader of Windows bitmap files: the 12-byte, 40-byte, V4 and V5 headers; 1, 4, 8, 16,
// 24 and 32 bits; RLE4, RLE8 and bit fields; bottom-up and top-down rows. Every offset and
// count is checked against the file, so a bad or truncated file fails with a reason.
#include <cstdint>
#include <string>
#include <vector>
#include "platform/os/windows_types.h"

namespace plat {

struct cBmpImage {
    int nWidth = 0;
    int nHeight = 0;     // always positive; rows below are top-down
    int nBitCount = 0;   // bits per pixel of the file
    // Colour table of a palette bitmap (1, 4 or 8 bits), 0x00RRGGBB per entry, as many as
    // the file holds.
    std::vector<std::uint32_t> colorTable;
    // Palette bitmaps: one index per pixel, top-down. Empty for direct-colour bitmaps.
    std::vector<BYTE> indices;
    // Every bitmap: 0x00RRGGBB per pixel, top-down (palette indices looked up; an index past
    // the table is black).
    std::vector<std::uint32_t> pixels;

    bool IsPaletted() const { return nBitCount <= 8; }
    std::uint32_t Pixel(int x, int y) const { return pixels[static_cast<std::size_t>(y) * nWidth + x]; }
};

// Limits on what we accept, so that a damaged header cannot ask for gigabytes.
constexpr int kBmpMaxSide = 32768;
constexpr std::int64_t kBmpMaxPixels = std::int64_t{1} << 26;

bool ReadBmp(const BYTE* data, std::size_t size, cBmpImage& image, std::string* error = nullptr);
// Reads a bitmap by program path (through OpenRegularFile).
bool ReadBmpFile(const char* path, cBmpImage& image, std::string* error = nullptr);

}  // namespace plat
