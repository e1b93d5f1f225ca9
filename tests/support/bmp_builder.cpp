#include "tests/support/bmp_builder.h"

#include "tests/support/byte_builder.h"

namespace qbtest {

std::string BuildBmp(const cBmpSpec& spec, const std::vector<std::uint32_t>& values)
{
    const int stride = (spec.width * spec.bitCount + 31) / 32 * 4;
    std::string pixels;
    if (spec.pixelData) {
        pixels = *spec.pixelData;
    } else {
        pixels.assign(static_cast<std::size_t>(stride) * spec.height, '\0');
        for (int y = 0; y < spec.height; ++y) {
            int fileRow = spec.topDown ? y : spec.height - 1 - y;
            char* row = pixels.data() + static_cast<std::size_t>(fileRow) * stride;
            for (int x = 0; x < spec.width; ++x) {
                std::uint32_t v = values[static_cast<std::size_t>(y) * spec.width + x];
                switch (spec.bitCount) {
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
                    std::uint32_t word = spec.compression == 3 ? v : (v & 0xFFFFFF) | spec.fourthByte << 24;
                    for (int i = 0; i < 4; ++i) row[4 * x + i] = static_cast<char>(word >> (8 * i));
                    break;
                }
                }
            }
        }
    }
    cByteBuilder table;
    for (std::uint32_t c : spec.palette) {
        table.U8(c & 0xFF).U8((c >> 8) & 0xFF).U8((c >> 16) & 0xFF);
        if (spec.headerSize != 12) table.U8(0);
    }
    cByteBuilder header;
    if (spec.headerSize == 12) {
        header.U32(12).U16(static_cast<std::uint16_t>(spec.width)).U16(static_cast<std::uint16_t>(spec.height)).U16(1)
            .U16(static_cast<std::uint16_t>(spec.bitCount));
    } else {
        header.U32(spec.headerSize).I32(spec.width).I32(spec.topDown ? -spec.height : spec.height).U16(1)
            .U16(static_cast<std::uint16_t>(spec.bitCount)).U32(spec.compression)
            .U32(static_cast<std::uint32_t>(pixels.size())).I32(2835).I32(2835)
            .U32(static_cast<std::uint32_t>(spec.palette.size())).U32(0);
        if (spec.headerSize == 40 && spec.compression == 3) {
            table = cByteBuilder().U32(spec.masks[0]).U32(spec.masks[1]).U32(spec.masks[2]).Bytes(table.Str());
        } else if (spec.headerSize > 40) {
            header.U32(spec.masks[0]).U32(spec.masks[1]).U32(spec.masks[2]).U32(0);  // and alpha
            header.Zeros(spec.headerSize - 56);  // colour space, end points, gamma, intent...
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
    cBmpSpec spec;
    spec.width = width;
    spec.height = height;
    spec.bitCount = 24;
    return BuildBmp(spec, rgb);
}

std::string BuildBmp8(int width, int height, const std::vector<std::uint32_t>& palette,
                      const std::vector<std::uint32_t>& indices)
{
    cBmpSpec spec;
    spec.width = width;
    spec.height = height;
    spec.bitCount = 8;
    spec.palette = palette;
    return BuildBmp(spec, indices);
}

}  // namespace qbtest
