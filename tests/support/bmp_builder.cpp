#include "tests/support/bmp_builder.h"

#include "tests/support/byte_builder.h"

namespace qbtest {

std::string BuildBmp(const cBmpLayout& layout, const std::vector<std::uint32_t>& values)
{
    const int stride = (layout.width * layout.bitCount + 31) / 32 * 4;
    std::string pixels;
    if (layout.pixelData) {
        pixels = *layout.pixelData;
    } else {
        pixels.assign(static_cast<std::size_t>(stride) * layout.height, '\0');
        for (int y = 0; y < layout.height; ++y) {
            int fileRow = layout.topDown ? y : layout.height - 1 - y;
            char* row = pixels.data() + static_cast<std::size_t>(fileRow) * stride;
            for (int x = 0; x < layout.width; ++x) {
                std::uint32_t v = values[static_cast<std::size_t>(y) * layout.width + x];
                switch (layout.bitCount) {
                case 1: if (v & 1) row[x / 8] |= static_cast<char>(0x80 >> (x % 8)); break;
                case 4: row[x / 2] |= static_cast<char>(x % 2 ? (v & 15) : (v & 15) << 4); break;
                case 8: row[x] = static_cast<char>(v); break;
                case 16: row[2 * x] = static_cast<char>(v); row[2 * x + 1] = static_cast<char>(v >> 8); break;
                case 24:
                    row[3 * x] = static_cast<char>(v);
                    row[3 * x + 1] = static_cast<char>(v >> 8);
                    row[3 * x + 2] = static_cast<char>(v >> 16);
                    break;
                case 32: {
                    std::uint32_t word = layout.compression == 3 ? v : (v & 0xFFFFFF) | layout.fourthByte << 24;
                    for (int i = 0; i < 4; ++i) row[4 * x + i] = static_cast<char>(word >> (8 * i));
                    break;
                }
                }
            }
        }
    }
    cByteBuilder table;
    for (std::uint32_t c : layout.palette) {
        table.U8(c & 0xFF).U8((c >> 8) & 0xFF).U8((c >> 16) & 0xFF);
        if (layout.headerSize != 12) table.U8(0);
    }
    cByteBuilder header;
    if (layout.headerSize == 12) {
        header.U32(12).U16(static_cast<std::uint16_t>(layout.width)).U16(static_cast<std::uint16_t>(layout.height)).U16(1)
            .U16(static_cast<std::uint16_t>(layout.bitCount));
    } else {
        header.U32(layout.headerSize).I32(layout.width).I32(layout.topDown ? -layout.height : layout.height).U16(1)
            .U16(static_cast<std::uint16_t>(layout.bitCount)).U32(layout.compression)
            .U32(static_cast<std::uint32_t>(pixels.size())).I32(2835).I32(2835)
            .U32(static_cast<std::uint32_t>(layout.palette.size())).U32(0);
        if (layout.headerSize == 40 && layout.compression == 3) {
            table = cByteBuilder().U32(layout.masks[0]).U32(layout.masks[1]).U32(layout.masks[2]).Bytes(table.Str());
        } else if (layout.headerSize > 40) {
            header.U32(layout.masks[0]).U32(layout.masks[1]).U32(layout.masks[2]).U32(0);  // and alpha
            header.Zeros(layout.headerSize - 56);  // colour space, end points, gamma, intent...
        }
    }
    const std::uint32_t offset = 14 + static_cast<std::uint32_t>(header.Size() + table.Size());
    cByteBuilder file;
    file.U8('B').U8('M').U32(offset + static_cast<std::uint32_t>(pixels.size())).U32(0).U32(offset);
    file.Bytes(header.Str()).Bytes(table.Str()).Bytes(pixels);
    return file.Str();
}

std::string BuildBmp24(int width, int height, const std::vector<std::uint32_t>& rgb)
{
    cBmpLayout layout;
    layout.width = width;
    layout.height = height;
    layout.bitCount = 24;
    return BuildBmp(layout, rgb);
}

std::string BuildBmp8(int width, int height, const std::vector<std::uint32_t>& palette,
                      const std::vector<std::uint32_t>& indices)
{
    cBmpLayout layout;
    layout.width = width;
    layout.height = height;
    layout.bitCount = 8;
    layout.palette = palette;
    return BuildBmp(layout, indices);
}

}  // namespace qbtest
