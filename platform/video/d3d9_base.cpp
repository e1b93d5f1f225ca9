#include "platform/video/d3d9_base.h"

namespace plat {

void cPixelStore::Fill(int x0, int y0, int x1, int y1, std::uint32_t pixel)
{
    const int bpp = BytesPerPixel(format);
    for (int y = y0; y < y1; ++y) {
        BYTE* row = Row(y);
        for (int x = x0; x < x1; ++x) WritePixel(row + x * bpp, bpp, pixel);
    }
}

}  // namespace plat
