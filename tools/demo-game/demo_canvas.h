#pragma once
// Drawing the demo's pictures in code: a canvas of palette indices with a few shapes, and the
// kinds of sheet that several pictures share.
#include <cstdint>
#include <string>
#include <vector>

#include "data/stage_geometry.h"
#include "tools/demo-game/demo_bitmaps.h"

// A picture of palette indices drawn with a few shapes; index 0 is transparent.
class cDemoCanvas {
public:
    cDemoCanvas(int width, int height, std::uint8_t fill = 0)
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
inline std::uint8_t Cube(int r, int g, int b) { return static_cast<std::uint8_t>(1 + r * 36 + g * 6 + b); }
// A grey of the ramp, 0 (darkest) to 38 (white).
inline std::uint8_t Grey(int level) { return static_cast<std::uint8_t>(kDemoCubeColors + 1 + level); }

// Discs of the given colours, one per cell, over the top `height` rows of the canvas.
void DrawDiscs(cDemoCanvas& canvas, int height, int cell, int colourSeed);
// A sheet of such discs.
std::string DiscSheet(int width, int height, int cell, int colourSeed);
// Framed panels on an opaque ground: windows, menus and word sheets.
std::string PanelSheet(int width, int height, int rows, std::uint8_t ground);
// A landscape of 640 x 480 that tiles across its sides, every pixel opaque: sky bands and
// hills, in colours set by seed, over the dark of a pit below the ground's top (row 13).
std::string Landscape(int seed, bool rle = true);
