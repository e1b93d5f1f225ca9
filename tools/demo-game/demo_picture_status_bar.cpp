// The status bar's window and the accessory sheet: icons and cursors in discs, then the gauge
// rows that the status bar and the charas' gauges take from column 0 (HP) and 64 (SP): the
// frame from row 128, the fill from 144, the fill at the warning level from 160, the bars of a
// loss and of a gain from 176 and 192.
#include "tools/demo-game/demo_canvas.h"
#include "tools/demo-game/demo_content.h"

namespace {

std::string AccessorySheet()
{
    cDemoCanvas canvas(256, 208);
    DrawDiscs(canvas, 64, 32, 5);
    for (int sp = 0; sp < 2; ++sp) {
        const int x = 64 * sp;
        canvas.Fill(x, 128, 50, 16, Grey(6));
        canvas.Frame(x, 128, 50, 16, Grey(38));
        canvas.Fill(x, 144, 50, 16, sp ? Cube(0, 2, 5) : Cube(0, 5, 1));
        // Not Cube(5, 0, 5): that is the transparent magenta.
        canvas.Fill(x, 160, 50, 16, sp ? Cube(4, 0, 5) : Cube(5, 1, 0));
        canvas.Fill(x, 176, 50, 16, Cube(5, 5, 0));
        canvas.Fill(x, 192, 50, 16, Cube(5, 5, 5));
    }
    return canvas.File();
}

}  // namespace

void AddStatusBarPictures(DEMOGAME& game)
{
    game.files.push_back({"bmp\\StatusWindow.bmp", PanelSheet(640, 64, 2, Cube(0, 0, 1))});
    game.files.push_back({"bmp\\Accessory.bmp", AccessorySheet()});
}
