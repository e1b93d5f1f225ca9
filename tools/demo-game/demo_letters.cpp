#include "tools/demo-game/demo_letters.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kDotsX = 5;
constexpr int kDotsY = 7;

struct DEMOGLYPH {
    char c;
    const char* rows[kDotsY];
};

constexpr DEMOGLYPH kGlyphs[] = {
    {'A', {" ### ", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"}},
    {'C', {" ####", "#    ", "#    ", "#    ", "#    ", "#    ", " ####"}},
    {'D', {"#### ", "#   #", "#   #", "#   #", "#   #", "#   #", "#### "}},
    {'E', {"#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#####"}},
    {'F', {"#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#    "}},
    {'G', {" ####", "#    ", "#    ", "# ###", "#   #", "#   #", " ####"}},
    {'H', {"#   #", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"}},
    {'I', {" ### ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "}},
    {'L', {"#    ", "#    ", "#    ", "#    ", "#    ", "#    ", "#####"}},
    {'M', {"#   #", "## ##", "# # #", "# # #", "#   #", "#   #", "#   #"}},
    {'N', {"#   #", "##  #", "# # #", "#  ##", "#   #", "#   #", "#   #"}},
    {'O', {" ### ", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "}},
    {'P', {"#### ", "#   #", "#   #", "#### ", "#    ", "#    ", "#    "}},
    {'Q', {" ### ", "#   #", "#   #", "#   #", "# # #", "#  # ", " ## #"}},
    {'R', {"#### ", "#   #", "#   #", "#### ", "# #  ", "#  # ", "#   #"}},
    {'S', {" ####", "#    ", "#    ", " ### ", "    #", "    #", "#### "}},
    {'T', {"#####", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  "}},
    {'U', {"#   #", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "}},
    {'V', {"#   #", "#   #", "#   #", "#   #", "#   #", " # # ", "  #  "}},
    {'W', {"#   #", "#   #", "#   #", "# # #", "# # #", "## ##", "#   #"}},
    {'Y', {"#   #", "#   #", " # # ", "  #  ", "  #  ", "  #  ", "  #  "}},
    {'0', {" ### ", "#   #", "#  ##", "# # #", "##  #", "#   #", " ### "}},
    {'1', {"  #  ", " ##  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "}},
    {'2', {" ### ", "#   #", "    #", "   # ", "  #  ", " #   ", "#####"}},
    {'3', {"#####", "   # ", "  #  ", "   # ", "    #", "#   #", " ### "}},
    {'4', {"   # ", "  ## ", " # # ", "#  # ", "#####", "   # ", "   # "}},
    {'5', {"#####", "#    ", "#### ", "    #", "    #", "#   #", " ### "}},
    {'6', {"  ## ", " #   ", "#    ", "#### ", "#   #", "#   #", " ### "}},
    {'7', {"#####", "    #", "   # ", "  #  ", " #   ", " #   ", " #   "}},
    {'8', {" ### ", "#   #", "#   #", " ### ", "#   #", "#   #", " ### "}},
    {'9', {" ### ", "#   #", "#   #", " ####", "    #", "   # ", " ##  "}},
};

const DEMOGLYPH* GlyphOf(char c)
{
    for (const DEMOGLYPH& glyph : kGlyphs)
        if (glyph.c == c) return &glyph;
    return nullptr;
}

// The text's dots from (x, y), each dot a block of scaleX x scaleY pixels.
void DrawDots(cDemoCanvas& canvas, int x, int y, int scaleX, int scaleY, const char* text, std::uint8_t colour)
{
    for (const char* c = text; *c; ++c, x += (kDotsX + 1) * scaleX) {
        const DEMOGLYPH* glyph = GlyphOf(*c);
        if (!glyph) continue;
        for (int row = 0; row < kDotsY; ++row)
            for (int dot = 0; dot < kDotsX; ++dot)
                if (glyph->rows[row][dot] == '#') canvas.Fill(x + dot * scaleX, y + row * scaleY, scaleX, scaleY, colour);
    }
}

}  // namespace

void DrawLetters(cDemoCanvas& canvas, int x, int y, int w, int h, const char* text, std::uint8_t colour,
                 std::uint8_t outline)
{
    const int columns = static_cast<int>(std::strlen(text)) * (kDotsX + 1) - 1;
    if (columns <= 0) return;
    // Dots at most twice as tall as they are wide, inside a pixel of outline on every side.
    int scaleX = (w - 2) / columns, scaleY = (h - 2) / kDotsY;
    scaleX = std::min(scaleX, scaleY);
    scaleY = std::min(scaleY, 2 * scaleX);
    if (scaleX < 1 || scaleY < 1) return;
    const int left = x + (w - columns * scaleX) / 2, top = y + (h - kDotsY * scaleY) / 2;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) DrawDots(canvas, left + dx, top + dy, scaleX, scaleY, text, outline);
    DrawDots(canvas, left, top, scaleX, scaleY, text, colour);
}
