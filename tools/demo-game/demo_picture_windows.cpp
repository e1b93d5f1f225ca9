// The face of the text windows, and the word sheet of the stage's captions and numbers.
#include "tools/demo-game/demo_canvas.h"
#include "tools/demo-game/demo_content.h"
#include "tools/demo-game/demo_letters.h"

namespace {

// The captions where the stage takes them (source x, y, width, height), over transparent
// ground, then two rows of the digits 0 to 9 in cells of 32: the stage number's from row 128,
// the time's from row 160.
std::string WordSheet()
{
    cDemoCanvas canvas(320, 192);
    struct CAPTION {
        int x, y, w, h;
        const char* text;
    } captions[] = {
        {0, 0, 128, 32, "STAGE"},   // before the stage number
        {160, 0, 80, 32, "READY"},
        {0, 32, 128, 32, "REPLAY"},
        {0, 64, 128, 32, "CLEAR"},
        {0, 96, 144, 32, "GAME OVER"},
    };
    for (const CAPTION& c : captions) DrawLetters(canvas, c.x, c.y, c.w, c.h, c.text, Cube(5, 5, 0), Grey(0));
    for (int digit = 0; digit < 10; ++digit) {
        const char text[2] = {static_cast<char>('0' + digit), '\0'};
        DrawLetters(canvas, digit * 32, 128, 32, 32, text, Cube(5, 5, 0), Grey(0));
        DrawLetters(canvas, digit * 32, 160, 32, 32, text, Grey(38), Grey(0));
    }
    return canvas.File();
}

}  // namespace

void AddWindowPictures(DEMOGAME& game)
{
    // A window's face is the top-left corner of this picture as large as the window, drawn
    // opaque: it covers the screen, all of one colour.
    game.files.push_back({"bmp\\Window.bmp", cDemoCanvas(640, 480, Cube(0, 0, 2)).File(true)});
    game.files.push_back({"bmp\\Word.bmp", WordSheet()});
}
