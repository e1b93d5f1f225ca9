#pragma once
// Letters for the demo's pictures: capitals and digits of 5 x 7 dots, drawn in code.
#include <cstdint>

#include "tools/demo-game/demo_canvas.h"

// Draws text (capitals, digits and spaces) centred in the box (x, y, w, h), each dot as large
// as the box allows, in colour with a one-pixel outline.
void DrawLetters(cDemoCanvas& canvas, int x, int y, int w, int h, const char* text, std::uint8_t colour,
                 std::uint8_t outline);
