// The eight chara sheets, 15 rows of cells as the chara image numbers count them (number n is
// row n % 15 of sheet n / 15 + 1). The first sheet holds the hero, the others walkers of a
// colour per sheet, the last a wooden sign. Figures face left: the runtime mirrors each cell for
// the right.
#include <cstdio>

#include "tools/demo-game/demo_canvas.h"
#include "tools/demo-game/demo_content.h"

namespace {

constexpr int kColumns = 8;
constexpr int kRows = 15;
constexpr int kSignSheet = 7;

// A person: head, body and legs; the eyes look left.
void DrawHero(cDemoCanvas& canvas, int x, int y, int step, std::uint8_t body)
{
    canvas.Disc(x + 16, y + 9, 6, Cube(5, 4, 3));
    canvas.Fill(x + 9, y + 15, 14, 11, body);
    canvas.Fill(x + 9 + step, y + 26, 4, 6, Grey(4));
    canvas.Fill(x + 19 - step, y + 26, 4, 6, Grey(4));
    canvas.Set(x + 12, y + 8, Grey(0));
    canvas.Set(x + 15, y + 8, Grey(0));
}

// A round walker on two feet, its eyes looking left.
void DrawWalker(cDemoCanvas& canvas, int x, int y, int step, std::uint8_t body)
{
    canvas.Disc(x + 16, y + 18, 11, body);
    for (int eye : {10, 18}) {
        canvas.Disc(x + eye, y + 14, 3, Grey(38));
        canvas.Fill(x + eye - 2, y + 13, 2, 3, Grey(0));
    }
    canvas.Fill(x + 7 + step, y + 28, 7, 4, Grey(4));
    canvas.Fill(x + 18 - step, y + 28, 7, 4, Grey(4));
}

// A board on a post that leans a little with the column, so that a sway shows.
void DrawSign(cDemoCanvas& canvas, int x, int y, int step)
{
    canvas.Fill(x + 14, y + 16, 4, 16, Cube(2, 1, 0));
    canvas.Fill(x + 3 + step / 2, y + 4, 26, 13, Cube(4, 3, 1));
    canvas.Fill(x + 7 + step / 2, y + 8, 18, 2, Cube(2, 1, 0));
    canvas.Fill(x + 7 + step / 2, y + 12, 12, 2, Cube(2, 1, 0));
}

// The sheet sets the figure and its colour, the column moves its feet, so that frames of an
// animation differ.
std::string CharaSheet(int sheet)
{
    cDemoCanvas canvas(kColumns * kCell, kRows * kCell);
    const std::uint8_t body = Cube(sheet % 3 == 0 ? 5 : 1, sheet % 3 == 1 ? 4 : 1, sheet % 3 == 2 ? 5 : 1 + sheet / 3);
    for (int row = 0; row < kRows; ++row)
        for (int column = 0; column < kColumns; ++column) {
            const int x = column * kCell, y = row * kCell, step = column % 4;
            if (sheet == 0) DrawHero(canvas, x, y, step, body);
            else if (sheet == kSignSheet) DrawSign(canvas, x, y, step);
            else DrawWalker(canvas, x, y, step, body);
        }
    return canvas.File(true);
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
