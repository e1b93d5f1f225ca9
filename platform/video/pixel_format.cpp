#include "platform/video/pixel_format.h"

#include <cstring>

namespace plat {

int BytesPerPixel(D3DFORMAT format)
{
    switch (format) {
    case D3DFMT_A8R8G8B8:
    case D3DFMT_X8R8G8B8: return 4;
    case D3DFMT_R5G6B5:
    case D3DFMT_X1R5G5B5:
    case D3DFMT_A1R5G5B5: return 2;
    case D3DFMT_P8: return 1;
    default: return 0;
    }
}

std::uint32_t UnpackToArgb(D3DFORMAT format, std::uint32_t p, const std::uint32_t* palette)
{
    switch (format) {
    case D3DFMT_A8R8G8B8: return p;
    case D3DFMT_X8R8G8B8: return 0xFF000000u | (p & 0xFFFFFFu);
    case D3DFMT_R5G6B5:
        return 0xFF000000u | Widen5((p >> 11) & 31) << 16 | Widen6((p >> 5) & 63) << 8 | Widen5(p & 31);
    case D3DFMT_X1R5G5B5:
    case D3DFMT_A1R5G5B5: {
        std::uint32_t alpha = (format == D3DFMT_X1R5G5B5 || (p & 0x8000)) ? 0xFF000000u : 0;
        return alpha | Widen5((p >> 10) & 31) << 16 | Widen5((p >> 5) & 31) << 8 | Widen5(p & 31);
    }
    case D3DFMT_P8: return 0xFF000000u | (palette ? (palette[p & 0xFF] & 0xFFFFFFu) : 0);
    default: return 0;
    }
}

std::uint32_t PackFromArgb(D3DFORMAT format, std::uint32_t argb)
{
    std::uint32_t a = argb >> 24, r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
    switch (format) {
    case D3DFMT_A8R8G8B8: return argb;
    case D3DFMT_X8R8G8B8: return argb & 0xFFFFFFu;
    case D3DFMT_R5G6B5: return (r >> 3) << 11 | (g >> 2) << 5 | (b >> 3);
    case D3DFMT_X1R5G5B5: return (r >> 3) << 10 | (g >> 3) << 5 | (b >> 3);
    case D3DFMT_A1R5G5B5: return (a >> 7) << 15 | (r >> 3) << 10 | (g >> 3) << 5 | (b >> 3);
    default: return 0;
    }
}

std::uint32_t ReadPixel(const BYTE* address, int bytesPerPixel)
{
    switch (bytesPerPixel) {
    case 1: return *address;
    case 2: { std::uint16_t v; std::memcpy(&v, address, 2); return v; }
    case 3: return address[0] | address[1] << 8 | address[2] << 16;
    case 4: { std::uint32_t v; std::memcpy(&v, address, 4); return v; }
    default: return 0;
    }
}

void WritePixel(BYTE* address, int bytesPerPixel, std::uint32_t pixel)
{
    switch (bytesPerPixel) {
    case 1: *address = static_cast<BYTE>(pixel); break;
    case 2: { auto v = static_cast<std::uint16_t>(pixel); std::memcpy(address, &v, 2); break; }
    case 3:
        address[0] = pixel & 0xFF;
        address[1] = (pixel >> 8) & 0xFF;
        address[2] = (pixel >> 16) & 0xFF;
        break;
    case 4: std::memcpy(address, &pixel, 4); break;
    default: break;
    }
}

void ConvertRowToScreenArgb(D3DFORMAT format, const BYTE* source, int width, std::uint32_t* out,
                            const std::uint32_t* palette)
{
    if (format == D3DFMT_A8R8G8B8 || format == D3DFMT_X8R8G8B8) {
        // Every frame of the 32-bit modes comes through here: a loop the compiler vectorises.
        for (int x = 0; x < width; ++x) {
            std::uint32_t p;
            std::memcpy(&p, source + 4 * x, 4);
            out[x] = 0xFF000000u | p;
        }
        return;
    }
    int bpp = BytesPerPixel(format);
    for (int x = 0; x < width; ++x)
        out[x] = 0xFF000000u | UnpackToArgb(format, ReadPixel(source + x * bpp, bpp), palette);
}

}  // namespace plat
