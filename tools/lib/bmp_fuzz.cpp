#include "tools/lib/bmp_fuzz.h"

#include <cstdlib>
#include <string>

#include "platform/video/bmp_reader.h"

int FuzzBmp(const std::uint8_t* data, std::size_t size)
{
    plat::cBmpImage image;
    std::string error;
    if (!plat::ReadBmp(data, size, image, &error)) {
        if (error.empty()) std::abort();
        return 0;
    }
    const std::size_t places = static_cast<std::size_t>(image.nWidth) * static_cast<std::size_t>(image.nHeight);
    if (image.nWidth <= 0 || image.nHeight <= 0 || image.nWidth > plat::kBmpMaxSide || image.nHeight > plat::kBmpMaxSide ||
        static_cast<std::int64_t>(places) > plat::kBmpMaxPixels || image.pixels.size() != places ||
        (image.IsPaletted() ? image.indices.size() != places : !image.indices.empty()))
        std::abort();
    std::uint32_t all = 0;
    for (std::uint32_t p : image.pixels) all |= p;
    if (all > 0xFFFFFF) std::abort();
    return 0;
}
