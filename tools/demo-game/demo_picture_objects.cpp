// The sheets of shots, items, marks and symbols: discs of colours, one per cell.
#include "tools/demo-game/demo_canvas.h"
#include "tools/demo-game/demo_content.h"

void AddObjectPictures(DEMOGAME& game)
{
    game.files.push_back({"bmp\\Shot.bmp", DiscSheet(256, 128, 16, 1)});
    game.files.push_back({"bmp\\Item.bmp", DiscSheet(256, 128, 32, 2)});
    game.files.push_back({"bmp\\Item_Mini.bmp", DiscSheet(128, 32, 16, 3)});
    game.files.push_back({"bmp\\Mark.bmp", DiscSheet(256, 64, 32, 4)});
    game.files.push_back({"bmp\\Symbol.bmp", DiscSheet(256, 64, 16, 6)});
}
