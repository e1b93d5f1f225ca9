// The palette picture, the debug sheet and the 8-bit blend tables, one per window colour of the
// options (8-bit displays read them).
#include <cstdio>
#include <map>

#include "tools/demo-game/demo_canvas.h"
#include "tools/demo-game/demo_content.h"

namespace {

std::string PaletteBitmap()
{
    // The colour block starts at row 8: colour i at (i % 16, 8 + i / 16).
    cDemoCanvas canvas(16, 24);
    for (int i = 0; i < 256; ++i) canvas.Set(i % 16, 8 + i / 16, static_cast<std::uint8_t>(i));
    return canvas.File();
}

// Entry [a x 256 + b] is the palette colour nearest to the mean of colours a and b (index 0,
// the transparent colour, takes the other one).
std::string BlendTable()
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

}  // namespace

void AddPalettePictures(DEMOGAME& game)
{
    game.files.push_back({"bmp\\plt\\Palette.bmp", PaletteBitmap()});
    game.files.push_back({"bmp\\Debug.bmp", cDemoCanvas(128, 256).File()});
    const std::string blendTable = BlendTable();
    for (int n = 0; n < 24; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "bmp\\hbt\\hbt%02d.dat", n);
        game.files.push_back({name, blendTable});
    }
}
