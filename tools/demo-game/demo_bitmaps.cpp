#include "tools/demo-game/demo_bitmaps.h"

#include "tools/demo-game/little_endian.h"

#include <cstdio>
#include <map>

namespace {

constexpr int kCubeColors = 216;
constexpr int kCell = 32;

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

// A picture of palette indices drawn with a few shapes; index 0 is transparent.
class cCanvas {
public:
    cCanvas(int width, int height, std::uint8_t fill = 0)
        : m_nWidth(width), m_nHeight(height), m_Pixels(static_cast<std::size_t>(width * height), fill)
    {
    }
    void Set(int x, int y, std::uint8_t c)
    {
        if (x >= 0 && y >= 0 && x < m_nWidth && y < m_nHeight) m_Pixels[static_cast<std::size_t>(y * m_nWidth + x)] = c;
    }
    void Fill(int x, int y, int w, int h, std::uint8_t c)
    {
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i) Set(i, j, c);
    }
    void Frame(int x, int y, int w, int h, std::uint8_t c)
    {
        Fill(x, y, w, 1, c);
        Fill(x, y + h - 1, w, 1, c);
        Fill(x, y, 1, h, c);
        Fill(x + w - 1, y, 1, h, c);
    }
    // A filled disc of radius r around (cx, cy), in integers only.
    void Disc(int cx, int cy, int r, std::uint8_t c)
    {
        for (int j = -r; j <= r; ++j)
            for (int i = -r; i <= r; ++i)
                if (i * i + j * j <= r * r) Set(cx + i, cy + j, c);
    }
    std::string File(bool rle = false) const { return DemoBitmap8(m_nWidth, m_nHeight, m_Pixels, rle); }
    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }

private:
    int m_nWidth;
    int m_nHeight;
    std::vector<std::uint8_t> m_Pixels;
};

// The colour of the cube with components 0..5.
std::uint8_t Cube(int r, int g, int b) { return static_cast<std::uint8_t>(1 + r * 36 + g * 6 + b); }
// A grey of the ramp, 0 (darkest) to 38 (white).
std::uint8_t Grey(int level) { return static_cast<std::uint8_t>(kCubeColors + 1 + level); }

std::string PaletteBitmap()
{
    // The colour block starts at row 8: colour i at (i % 16, 8 + i / 16).
    cCanvas canvas(16, 24);
    for (int i = 0; i < 256; ++i) canvas.Set(i % 16, 8 + i / 16, static_cast<std::uint8_t>(i));
    return canvas.File();
}

// Bricks: each cell its own colour, with mortar lines.
std::string BlockSheet()
{
    cCanvas canvas(10 * kCell, 8 * kCell);
    for (int cell = 0; cell < 80; ++cell) {
        const int x = cell % 10 * kCell, y = cell / 10 * kCell;
        const std::uint8_t face = Cube(2 + cell % 4, 1 + cell / 4 % 4, cell / 16 % 5);
        canvas.Fill(x, y, kCell, kCell, face);
        canvas.Frame(x, y, kCell, kCell, Grey(8));
        canvas.Fill(x, y + 15, kCell, 1, Grey(8));
        canvas.Fill(x + 15, y, 1, 16, Grey(8));
        canvas.Fill(x + 7, y + 16, 1, 16, Grey(8));
        canvas.Fill(x + 23, y + 16, 1, 16, Grey(8));
    }
    return canvas.File();
}

// A figure per cell: the sheet sets its colour, the cell moves its feet and eyes, so that
// frames of an animation differ.
std::string CharaSheet(int sheet)
{
    cCanvas canvas(8 * kCell, 8 * kCell);
    const std::uint8_t body = Cube(sheet % 3 == 0 ? 5 : 1, sheet % 3 == 1 ? 4 : 1, sheet % 3 == 2 ? 5 : 1 + sheet / 3);
    for (int cell = 0; cell < 64; ++cell) {
        const int x = cell % 8 * kCell, y = cell / 8 * kCell, step = cell % 4;
        canvas.Disc(x + 16, y + 9, 6, Cube(5, 4, 3));
        canvas.Fill(x + 9, y + 15, 14, 11, body);
        canvas.Fill(x + 9 + step, y + 26, 4, 6, Grey(4));
        canvas.Fill(x + 19 - step, y + 26, 4, 6, Grey(4));
        canvas.Set(x + 13 + cell / 8 % 2 * 4, y + 8, Grey(0));
        canvas.Set(x + 19 - cell / 8 % 2 * 4, y + 8, Grey(0));
    }
    return canvas.File();
}

// Discs of the given colours, one per cell, over the top `height` rows of the canvas.
void DrawDiscs(cCanvas& canvas, int height, int cell, int colourSeed)
{
    const int columns = canvas.Width() / cell, cells = columns * (height / cell);
    for (int k = 0; k < cells; ++k) {
        const int x = k % columns * cell, y = k / columns * cell;
        canvas.Disc(x + cell / 2, y + cell / 2, cell / 2 - 2, Cube((k + colourSeed) % 6, (k / 6 + 3) % 6, (k + 2 * colourSeed) % 5));
        canvas.Disc(x + cell / 2 - cell / 8, y + cell / 2 - cell / 8, cell / 8, Grey(38));
    }
}

std::string DiscSheet(int width, int height, int cell, int colourSeed)
{
    cCanvas canvas(width, height);
    DrawDiscs(canvas, height, cell, colourSeed);
    return canvas.File();
}

// Icons and cursors in discs, then the gauge rows that the status bar and the charas' gauges
// take from column 0 (HP) and 64 (SP): the frame from row 128, the fill from 144, the fill at
// the warning level from 160, the bars of a loss and of a gain from 176 and 192.
std::string AccessorySheet()
{
    cCanvas canvas(256, 208);
    DrawDiscs(canvas, 64, 32, 5);
    for (int sp = 0; sp < 2; ++sp) {
        const int x = 64 * sp;
        canvas.Fill(x, 128, 50, 16, Grey(6));
        canvas.Frame(x, 128, 50, 16, Grey(38));
        canvas.Fill(x, 144, 50, 16, sp ? Cube(0, 2, 5) : Cube(0, 5, 1));
        canvas.Fill(x, 160, 50, 16, sp ? Cube(5, 0, 5) : Cube(5, 1, 0));
        canvas.Fill(x, 176, 50, 16, Cube(5, 5, 0));
        canvas.Fill(x, 192, 50, 16, Cube(5, 5, 5));
    }
    return canvas.File();
}

// Framed panels on an opaque ground: windows, menus and word sheets.
std::string PanelSheet(int width, int height, int rows, std::uint8_t ground)
{
    cCanvas canvas(width, height, ground);
    const int panel = height / rows;
    for (int r = 0; r < rows; ++r) {
        canvas.Frame(0, r * panel, width, panel, Grey(38));
        canvas.Frame(2, r * panel + 2, width - 4, panel - 4, Grey(20));
        canvas.Fill(8, r * panel + panel / 2 - 2, width / 2 + r * 8 % (width / 3), 4, Cube(5, 5, r % 6));
    }
    return canvas.File();
}

// A landscape: sky bands, hills and a ground band, in colours set by seed.
std::string Landscape(int seed, bool rle = true)
{
    cCanvas canvas(640, 480);
    for (int band = 0; band < 12; ++band) canvas.Fill(0, band * 30, 640, 30, Cube(band / 4, 2 + band / 6, 5 - seed % 2));
    for (int hill = 0; hill < 5; ++hill) canvas.Disc(hill * 160 + seed * 23 % 80, 380, 70 + hill * 7 % 30, Cube(0, 3 + hill % 2, seed % 3));
    canvas.Fill(0, 400, 640, 80, Cube(3, 2, 0));
    return canvas.File(rle);
}

// The title: a landscape with a framed panel where the menu goes.
std::string TitlePicture()
{
    cCanvas canvas(640, 480);
    for (int band = 0; band < 16; ++band) canvas.Fill(0, band * 30, 640, 30, Cube(0, band / 4, 2 + band / 6));
    canvas.Fill(120, 80, 400, 120, Cube(5, 4, 0));
    canvas.Frame(116, 76, 408, 128, Grey(38));
    for (int letter = 0; letter < 6; ++letter) canvas.Fill(150 + letter * 60, 110, 40, 60, Cube(5, letter % 3, 0));
    canvas.Fill(0, 400, 640, 80, Cube(1, 3, 0));
    return canvas.File(true);
}

std::string WorldChips()
{
    cCanvas canvas(5 * kCell, 5 * kCell);
    for (int k = 0; k < 25; ++k) {
        const int x = k % 5 * kCell, y = k / 5 * kCell;
        canvas.Fill(x, y, kCell, kCell, Cube(k % 3, 2 + k % 4, k % 2));
        canvas.Frame(x, y, kCell, kCell, Grey(10));
    }
    return canvas.File();
}

}  // namespace

std::uint32_t DemoPaletteColor(int index)
{
    if (index <= 0 || index > 255) return 0xFF00FF;
    if (index <= kCubeColors) {
        const int n = index - 1;
        const std::uint32_t r = static_cast<std::uint32_t>(n / 36 * 51), g = static_cast<std::uint32_t>(n / 6 % 6 * 51),
                            b = static_cast<std::uint32_t>(n % 6 * 51);
        return r << 16 | g << 8 | b;
    }
    const std::uint32_t grey = static_cast<std::uint32_t>((index - kCubeColors) * 255 / (255 - kCubeColors));
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

std::vector<DEMOFILE> DemoPictures()
{
    std::vector<DEMOFILE> files = {
        {"bmp\\plt\\Palette.bmp", PaletteBitmap()},
        {"bmp\\Debug.bmp", cCanvas(128, 256).File()},
        {"bmp\\Block.bmp", BlockSheet()},
        {"bmp\\Shot.bmp", DiscSheet(256, 128, 16, 1)},
        {"bmp\\Item.bmp", DiscSheet(256, 128, 32, 2)},
        {"bmp\\Item_Mini.bmp", DiscSheet(128, 32, 16, 3)},
        {"bmp\\Mark.bmp", DiscSheet(256, 64, 32, 4)},
        {"bmp\\Window.bmp", PanelSheet(128, 128, 4, Cube(0, 0, 2))},
        {"bmp\\StatusWindow.bmp", PanelSheet(640, 64, 2, Cube(0, 0, 1))},
        {"bmp\\Title.bmp", TitlePicture()},
        {"bmp\\GameMode.bmp", PanelSheet(256, 192, 6, 0)},
        {"bmp\\Accessory.bmp", AccessorySheet()},
        {"bmp\\Symbol.bmp", DiscSheet(256, 64, 16, 6)},
        {"bmp\\Word.bmp", PanelSheet(256, 128, 8, 0)},
        {"bmp\\WorldMapChip.bmp", WorldChips()},
        {"bmp\\WorldEvent.bmp", DiscSheet(160, 64, 32, 7)},
        {"bmp\\WorldBack.bmp", Landscape(0)},
    };
    for (int sheet = 1; sheet <= 8; ++sheet) {
        char name[32];
        std::snprintf(name, sizeof name, "bmp\\Character%d.bmp", sheet);
        files.push_back({name, CharaSheet(sheet - 1)});
    }
    for (int layer = 1; layer <= 8; ++layer) {
        char name[32];
        std::snprintf(name, sizeof name, "背景その%d.bmp", layer);
        files.push_back({name, Landscape(layer)});
    }
    return files;
}

std::string DemoBlendTable()
{
    std::string table(65536, '\0');
    std::map<std::uint32_t, std::uint8_t> nearest;
    auto channel = [](std::uint32_t c, int shift) { return static_cast<int>((c >> shift) & 0xFF); };
    for (int a = 0; a < 256; ++a)
        for (int b = 0; b < 256; ++b) {
            const std::uint32_t ca = DemoPaletteColor(a), cb = DemoPaletteColor(b);
            int index = a == 0 ? b : a;
            if (a != 0 && b != 0) {
                const std::uint32_t mean = static_cast<std::uint32_t>((channel(ca, 16) + channel(cb, 16)) / 2) << 16 |
                                           static_cast<std::uint32_t>((channel(ca, 8) + channel(cb, 8)) / 2) << 8 |
                                           static_cast<std::uint32_t>((channel(ca, 0) + channel(cb, 0)) / 2);
                auto found = nearest.find(mean);
                if (found == nearest.end()) {
                    int best = 1, bestDistance = 1 << 30;
                    for (int i = 1; i < 256; ++i) {
                        const std::uint32_t c = DemoPaletteColor(i);
                        const int dr = channel(c, 16) - channel(mean, 16), dg = channel(c, 8) - channel(mean, 8),
                                  db = channel(c, 0) - channel(mean, 0);
                        const int distance = dr * dr + dg * dg + db * db;
                        if (distance < bestDistance) best = i, bestDistance = distance;
                    }
                    found = nearest.emplace(mean, static_cast<std::uint8_t>(best)).first;
                }
                index = found->second;
            }
            table[static_cast<std::size_t>(a) * 256 + static_cast<std::size_t>(b)] = static_cast<char>(index);
        }
    return table;
}
