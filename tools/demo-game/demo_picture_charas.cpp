// The eight chara sheets: a figure per cell.
#include <cstdio>

#include "tools/demo-game/demo_canvas.h"
#include "tools/demo-game/demo_content.h"

namespace {

// The sheet sets the figure's colour, the cell moves its feet and eyes, so that frames of an
// animation differ.
std::string CharaSheet(int sheet)
{
    cDemoCanvas canvas(8 * kCell, 8 * kCell);
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

}  // namespace

void AddCharaPictures(DEMOGAME& game)
{
    for (int sheet = 1; sheet <= 8; ++sheet) {
        char name[32];
        std::snprintf(name, sizeof name, "bmp\\Character%d.bmp", sheet);
        game.files.push_back({name, CharaSheet(sheet - 1)});
    }
}
