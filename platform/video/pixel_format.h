#pragma once
// Pixel formats of our software devices and the packing of colours into them. Channels of
// fewer than 8 bits widen by repeating their high bits and narrow by truncation.
#include <cstdint>
#include "platform/os/windows_types.h"

enum D3DFORMAT : int {
    D3DFMT_UNKNOWN = 0,
    D3DFMT_A8R8G8B8 = 21,
    D3DFMT_X8R8G8B8 = 22,
    D3DFMT_R5G6B5 = 23,
    D3DFMT_X1R5G5B5 = 24,
    D3DFMT_A1R5G5B5 = 25,
    D3DFMT_P8 = 41,
    D3DFMT_INDEX16 = 101,
};

namespace plat {

// Bytes per pixel of a surface format (0 for formats that are not pixels).
int BytesPerPixel(D3DFORMAT format);

constexpr std::uint32_t Widen5(std::uint32_t c) { return (c << 3) | (c >> 2); }
constexpr std::uint32_t Widen6(std::uint32_t c) { return (c << 2) | (c >> 4); }

// A pixel of a direct-colour format as ARGB 0xAARRGGBB. Formats without alpha read as
// opaque; 8-bit pixels are looked up in palette (256 entries of 0x00RRGGBB, or black).
std::uint32_t UnpackToArgb(D3DFORMAT format, std::uint32_t pixel, const std::uint32_t* palette = nullptr);

// ARGB to a pixel of the format (channels truncated; the 1-bit alpha is the top bit of the
// alpha byte). 8-bit formats are not packed this way and give 0.
std::uint32_t PackFromArgb(D3DFORMAT format, std::uint32_t argb);

// Reads and writes one pixel at a byte address in the format's size.
std::uint32_t ReadPixel(const BYTE* address, int bytesPerPixel);
void WritePixel(BYTE* address, int bytesPerPixel, std::uint32_t pixel);

// Converts rows of pixels of any surface format to ARGB (alpha forced to 255: this is the
// picture as the screen shows it).
void ConvertRowToScreenArgb(D3DFORMAT format, const BYTE* source, int width, std::uint32_t* out,
                            const std::uint32_t* palette = nullptr);

}  // namespace plat
