// The title picture and the game-mode menu.
#include "tools/demo-game/demo_canvas.h"
#include "tools/demo-game/demo_content.h"
#include "tools/demo-game/demo_letters.h"

namespace {

// A landscape with a framed panel where the menu goes.
std::string TitlePicture()
{
    cDemoCanvas canvas(640, 480);
    for (int band = 0; band < 16; ++band) canvas.Fill(0, band * 30, 640, 30, Cube(0, band / 4, 2 + band / 6));
    canvas.Fill(120, 80, 400, 120, Cube(5, 4, 0));
    canvas.Frame(116, 76, 408, 128, Grey(38));
    for (int letter = 0; letter < 6; ++letter) canvas.Fill(150 + letter * 60, 110, 40, 60, Cube(5, letter % 3, 0));
    canvas.Fill(0, 400, 640, 80, Cube(1, 3, 0));
    return canvas.File(true);
}

// The title menu's items, one row of 32 pixels each, in the order of the game modes.
std::string GameModeSheet()
{
    static const char* const kItems[] = {"NEW GAME", "CONTINUE", "CHALLENGE", "FREE PLAY", "REPLAY", "OPTIONS", "QUIT"};
    constexpr int kItemCount = static_cast<int>(sizeof kItems / sizeof kItems[0]);
    cDemoCanvas canvas(256, kItemCount * 32);
    for (int item = 0; item < kItemCount; ++item) DrawLetters(canvas, 0, item * 32, 256, 32, kItems[item], Grey(38), Grey(0));
    return canvas.File();
}

}  // namespace

void AddTitlePictures(DEMOGAME& game)
{
    game.files.push_back({"bmp\\Title.bmp", TitlePicture()});
    game.files.push_back({"bmp\\GameMode.bmp", GameModeSheet()});
}
