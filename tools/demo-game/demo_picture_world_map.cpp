// The world map's chips, event marks and background.
#include "tools/demo-game/demo_canvas.h"
#include "tools/demo-game/demo_content.h"

namespace {

std::string WorldChips()
{
    cDemoCanvas canvas(5 * kCell, 5 * kCell);
    for (int k = 0; k < 25; ++k) {
        const int x = k % 5 * kCell, y = k / 5 * kCell;
        canvas.Fill(x, y, kCell, kCell, Cube(k % 3, 2 + k % 4, k % 2));
        canvas.Frame(x, y, kCell, kCell, Grey(10));
    }
    return canvas.File();
}

}  // namespace

void AddWorldMapPictures(DEMOGAME& game)
{
    game.files.push_back({"bmp\\WorldMapChip.bmp", WorldChips()});
    game.files.push_back({"bmp\\WorldEvent.bmp", DiscSheet(160, 64, 32, 7)});
    game.files.push_back({"bmp\\WorldBack.bmp", Landscape(0)});
}
