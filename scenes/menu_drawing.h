#pragma once
// The cursors and yes/no questions that the front-end scenes draw, from the menu pictures of
// "bmp\Accessory.bmp".
#include "play/menu_cursor.h"

// The standard pictures of the front-end scenes (the menu pictures are kAccessoryPicture).
constexpr int kWindowPicture = 45;      // "bmp\Window.bmp", the window face
constexpr int kTitlePicture = 47;       // "bmp\Title.bmp"
constexpr int kGameModePicture = 48;    // "bmp\GameMode.bmp", one 32-pixel row per title item
constexpr int kSymbolPicture = 50;      // "bmp\Symbol.bmp"
constexpr int kWorldChipPicture = 52;   // "bmp\WorldMapChip.bmp"
constexpr int kWorldEventPicture = 53;  // "bmp\WorldEvent.bmp"
constexpr int kWorldBackPicture = 54;   // the world map's own background picture

// The list of story slots, at the same place in the title and the story menu.
constexpr int kSlotListX = 152;
constexpr int kSlotListY = 160;

// The 32 x 32 cursor of the title menu and the stage list.
void DrawLargeCursor(const CURSORPOS& c);
// The 16 x 16 cursor of the active menu.
void DrawSmallCursor(const CURSORPOS& c);
// The 16 x 16 cursor of the parent menu while a sub-menu is open.
void DrawParentCursor(const CURSORPOS& c);

// A yes/no question of system texts first and first + 1 centred on cx at y: the cursor moved
// (row 0 the first text) with its sound; returns the question's x.
int MoveQuestion(int direction, int cx, int y, int first);
// The question's window at (x, y) and the cursor.
void DrawQuestion(int x, int y, int first);

// The decimal digits of a number, without its sign.
int DecimalDigits(int value);
