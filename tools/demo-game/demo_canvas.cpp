#include "tools/demo-game/demo_canvas.h"

void DrawDiscs(cDemoCanvas& canvas, int height, int cell, int colourSeed)
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
    cDemoCanvas canvas(width, height);
    DrawDiscs(canvas, height, cell, colourSeed);
    return canvas.File();
}

std::string PanelSheet(int width, int height, int rows, std::uint8_t ground)
{
    cDemoCanvas canvas(width, height, ground);
    const int panel = height / rows;
    for (int r = 0; r < rows; ++r) {
        canvas.Frame(0, r * panel, width, panel, Grey(38));
        canvas.Frame(2, r * panel + 2, width - 4, panel - 4, Grey(20));
        canvas.Fill(8, r * panel + panel / 2 - 2, width / 2 + r * 8 % (width / 3), 4, Cube(5, 5, r % 6));
    }
    return canvas.File();
}

std::string Landscape(int seed, bool rle)
{
    cDemoCanvas canvas(640, 480);
    for (int band = 0; band < 12; ++band) canvas.Fill(0, band * 30, 640, 30, Cube(band / 4, 2 + band / 6, 5 - seed % 2));
    for (int hill = 0; hill < 5; ++hill) canvas.Disc(hill * 160 + seed * 23 % 80, 380, 70 + hill * 7 % 30, Cube(0, 3 + hill % 2, seed % 3));
    canvas.Fill(0, 400, 640, 80, Cube(3, 2, 0));
    return canvas.File(rle);
}
