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
    constexpr int kWidth = 640, kHorizon = 416, kHillSpacing = 160;
    cDemoCanvas canvas(kWidth, 480);
    for (int band = 0; band < 12; ++band) canvas.Fill(0, band * 30, kWidth, 30, Cube(band / 4, 2 + band / 6, 5 - seed % 2));
    // A meadow up to the hills' feet, then hills drawn once more a picture's width to either
    // side, so that the right edge runs on into the left one when the picture is tiled.
    const std::uint8_t meadow = Cube(0, 3, seed % 3);
    canvas.Fill(0, 360, kWidth, kHorizon - 360, meadow);
    for (int hill = 0; hill < kWidth / kHillSpacing; ++hill)
        for (int copy = -1; copy <= 1; ++copy)
            canvas.Disc(hill * kHillSpacing + seed * 23 % 80 + copy * kWidth, 400, 70 + hill * 7 % 30,
                        Cube(0, 3 + hill % 2, seed % 3));
    // Below the horizon the ground's blocks stand; where they leave a gap, a dark pit shows.
    canvas.Fill(0, kHorizon, kWidth, 480 - kHorizon, Grey(2));
    return canvas.File(rle);
}
