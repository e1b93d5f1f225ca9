// The message windows and the word sheet: framed panels.
#include "tools/demo-game/demo_canvas.h"
#include "tools/demo-game/demo_content.h"

void AddWindowPictures(DEMOGAME& game)
{
    game.files.push_back({"bmp\\Window.bmp", PanelSheet(128, 128, 4, Cube(0, 0, 2))});
    game.files.push_back({"bmp\\Word.bmp", PanelSheet(256, 128, 8, 0)});
}
