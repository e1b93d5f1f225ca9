#include "tools/demo-game/demo_bitmaps.h"

#include "tools/demo-game/little_endian.h"

namespace {

// Runs of one colour, each row ended by its end-of-line mark, the picture by its end mark.
std::string EncodeRle8(int width, int height, const std::vector<std::uint8_t>& indices)
{
    std::string pixels;
    for (int y = height - 1; y >= 0; --y) {
        const std::uint8_t* row = &indices[static_cast<std::size_t>(y) * static_cast<std::size_t>(width)];
        for (int x = 0; x < width;) {
            int run = 1;
            while (x + run < width && run < 255 && row[x + run] == row[x]) ++run;
            pixels += static_cast<char>(run);
            pixels += static_cast<char>(row[x]);
            x += run;
        }
        pixels += '\0';
        pixels += y == 0 ? '\1' : '\0';
    }
    return pixels;
}

}  // namespace

std::uint32_t DemoPaletteColor(int index)
{
    if (index <= 0 || index > 255) return 0xFF00FF;
    if (index <= kDemoCubeColors) {
        const int n = index - 1;
        const std::uint32_t r = static_cast<std::uint32_t>(n / 36 * 51), g = static_cast<std::uint32_t>(n / 6 % 6 * 51),
                            b = static_cast<std::uint32_t>(n % 6 * 51);
        return r << 16 | g << 8 | b;
    }
    const std::uint32_t grey = static_cast<std::uint32_t>((index - kDemoCubeColors) * 255 / (255 - kDemoCubeColors));
    return grey << 16 | grey << 8 | grey;
}

std::string DemoBitmap8(int width, int height, const std::vector<std::uint8_t>& indices, bool rle)
{
    const int stride = (width + 3) / 4 * 4;
    std::string pixels;
    if (rle) {
        pixels = EncodeRle8(width, height, indices);
    } else {
        for (int y = height - 1; y >= 0; --y) {
            std::string row(static_cast<std::size_t>(stride), '\0');
            for (int x = 0; x < width; ++x)
                row[static_cast<std::size_t>(x)] = static_cast<char>(indices[static_cast<std::size_t>(y * width + x)]);
            pixels += row;
        }
    }
    const std::uint32_t offset = 14 + 40 + 256 * 4;
    std::string file = "BM";
    PutU32(file, offset + static_cast<std::uint32_t>(pixels.size()));
    PutU32(file, 0);
    PutU32(file, offset);
    PutU32(file, 40);
    PutU32(file, static_cast<std::uint32_t>(width));
    PutU32(file, static_cast<std::uint32_t>(height));
    PutU16(file, 1);
    PutU16(file, 8);
    PutU32(file, rle ? 1 : 0);  // BI_RLE8 or no compression
    PutU32(file, static_cast<std::uint32_t>(pixels.size()));
    PutU32(file, 2835);
    PutU32(file, 2835);
    PutU32(file, 256);
    PutU32(file, 0);
    for (int i = 0; i < 256; ++i) PutU32(file, DemoPaletteColor(i));  // blue, green, red, 0
    return file + pixels;
}
