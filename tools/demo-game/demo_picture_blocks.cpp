// The block sheet: bricks, each cell its own colour, with mortar lines.
#include "tools/demo-game/demo_canvas.h"
#include "tools/demo-game/demo_content.h"

void AddBlockPictures(DEMOGAME& game)
{
    cDemoCanvas canvas(10 * kCell, 8 * kCell);
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
    game.files.push_back({"bmp\\Block.bmp", canvas.File()});
}
