#include "graphics/font.h"

// The three fonts of the program: a small one, the one of menus and windows, and a large
// one. Start-up puts the game's face into each and resolves a cache setting of 2.
FONTINFO g_FontInfo[kFontCount] = {
    {"ＭＳ ゴシック", 0, 9, 10, 10, 241, 45, 1, 240, 50, 2},
    {"ＭＳ ゴシック", 0, 16, 16, 16, 241, 45, 1, 240, 50, 2},
    {"ＭＳ ゴシック", 0, 30, 32, 32, 241, 45, 1, 240, 50, 0},
};
