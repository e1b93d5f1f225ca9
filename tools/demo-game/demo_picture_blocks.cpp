// The block sheet: bricks, each cell its own colour, with mortar lines. A block's number is its
// cell, 15 to a column; cell 0 stays empty, since number 0 is no block.
#include "tools/demo-game/demo_canvas.h"
#include "tools/demo-game/demo_content.h"

void AddBlockPictures(DEMOGAME& game)
{
    constexpr int kBricks = 80;
    cDemoCanvas canvas((kBricks / 15 + 1) * kCell, 15 * kCell);
    for (int number = 1; number <= kBricks; ++number) {
        const int brick = number - 1;
        const int x = number / 15 * kCell, y = number % 15 * kCell;
        const std::uint8_t face = Cube(2 + brick % 4, 1 + brick / 4 % 4, brick / 16 % 5);
        canvas.Fill(x, y, kCell, kCell, face);
        canvas.Frame(x, y, kCell, kCell, Grey(8));
        canvas.Fill(x, y + 15, kCell, 1, Grey(8));
        canvas.Fill(x + 15, y, 1, 16, Grey(8));
        canvas.Fill(x + 7, y + 16, 1, 16, Grey(8));
        canvas.Fill(x + 23, y + 16, 1, 16, Grey(8));
    }
    game.files.push_back({"bmp\\Block.bmp", canvas.File()});
}
