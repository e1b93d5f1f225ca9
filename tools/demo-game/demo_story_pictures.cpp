// The menus' and the world map's pictures on the accessory sheet, where the menus take them:
// the large cursor at (0, 0), the small cursors at (64, 0) and (80, 0), the life icon at
// (0, 48), and the world-map walker from (0, 64), four facings of two frames. Drawn over the
// sheet the status bar feature made, which keeps the rest of it.
#include <cstdint>
#include <cstring>

#include "tools/demo-game/demo_canvas.h"
#include "tools/demo-game/demo_content.h"

namespace {

std::uint32_t U32At(const std::string& bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<std::uint8_t>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

// The canvas of an uncompressed 8-bit bitmap that DemoBitmap8 wrote; false for any other.
bool ReadCanvas(const std::string& bmp, cDemoCanvas& canvas)
{
    if (bmp.size() < 54 || bmp.compare(0, 2, "BM") != 0) return false;
    const std::uint32_t offset = U32At(bmp, 10), width = U32At(bmp, 18), height = U32At(bmp, 22);
    const std::uint32_t bits = U32At(bmp, 28) & 0xFFFF, compression = U32At(bmp, 30);
    const std::size_t stride = (width + 3) / 4 * 4;
    if (bits != 8 || compression != 0 || width > 4096 || height > 4096 || offset + stride * height > bmp.size()) return false;
    canvas = cDemoCanvas(static_cast<int>(width), static_cast<int>(height));
    for (std::uint32_t y = 0; y < height; ++y)
        for (std::uint32_t x = 0; x < width; ++x)
            canvas.Set(static_cast<int>(x), static_cast<int>(height - 1 - y),
                       static_cast<std::uint8_t>(bmp[offset + y * stride + x]));
    return true;
}

// A triangle pointing right, filling a size x size cell from (x, y).
void Pointer(cDemoCanvas& canvas, int x, int y, int size, std::uint8_t colour)
{
    canvas.Fill(x, y, size, size, 0);
    const int margin = size / 8;
    for (int j = margin; j < size - margin; ++j) {
        const int half = size / 2 - margin, reach = half - (j < size / 2 ? size / 2 - j : j - size / 2 + 1);
        canvas.Fill(x + margin, y + j, reach * 2 + 1, 1, colour);
    }
}

// The walker in one cell: a round figure whose eyes look the way it faces and whose feet move
// between the two frames.
void Walker(cDemoCanvas& canvas, int x, int y, int facing, int frame)
{
    canvas.Fill(x, y, kCell, kCell, 0);
    canvas.Disc(x + 16, y + 13, 10, Cube(0, 1, 5));
    canvas.Fill(x + 8, y + 22, 16, 4, Cube(0, 1, 5));
    const int step = frame ? 3 : 0;
    canvas.Fill(x + 8 + step, y + 26, 5, 5, Grey(4));
    canvas.Fill(x + 19 - step, y + 26, 5, 5, Grey(4));
    static constexpr int kEyes[4][2] = {{0, 3}, {0, -4}, {-4, 0}, {4, 0}};  // down, up, left, right
    if (facing == 1) return;  // seen from behind
    canvas.Fill(x + 12 + kEyes[facing][0], y + 11 + kEyes[facing][1], 3, 3, Grey(38));
    canvas.Fill(x + 18 + kEyes[facing][0], y + 11 + kEyes[facing][1], 3, 3, Grey(38));
}

}  // namespace

void AddStoryPictures(DEMOGAME& game)
{
    for (DEMOFILE& file : game.files) {
        if (file.path != "bmp\\Accessory.bmp") continue;
        cDemoCanvas canvas(1, 1);
        if (!ReadCanvas(file.bytes, canvas) || canvas.Width() < 128 || canvas.Height() < 128) {
            game.error = "the accessory sheet is not a plain 8-bit picture of 128 x 128 or more";
            return;
        }
        Pointer(canvas, 0, 0, 32, Cube(5, 5, 0));
        Pointer(canvas, 64, 0, 16, Cube(5, 5, 0));
        Pointer(canvas, 80, 0, 16, Grey(20));
        canvas.Fill(0, 48, 16, 16, 0);
        canvas.Disc(8, 56, 6, Cube(5, 0, 1));
        // Down (0, 64), up (64, 64), left (64, 96), right (0, 96); the second frame 32 further.
        static constexpr int kCells[4][2] = {{0, 64}, {64, 64}, {64, 96}, {0, 96}};
        for (int facing = 0; facing < 4; ++facing)
            for (int frame = 0; frame < 2; ++frame)
                Walker(canvas, kCells[facing][0] + frame * kCell, kCells[facing][1], facing, frame);
        file.bytes = canvas.File();
        return;
    }
    game.error = "no accessory sheet to draw the menus' pictures on";
}
