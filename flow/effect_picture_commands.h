#pragma once
// Where the effect and picture commands place what they show.
class cChara;

// A top-left corner in stage pixels.
struct PLACEDAT {
    double dX = 0;
    double dY = 0;
};

// The top-left corner of a w x h object by placement: 0 centred on the screen, 1 on the
// chara's screen rectangle as last drawn, 2 on player 1's, 3 at screen cell (cx, cy), 4 at
// stage cell (cx, cy) of the playfield; then moved by (dx, dy). Modes 0 to 2 ignore the cell.
// Any other placement gives (0, 0), so that the command still runs as it would otherwise.
PLACEDAT ResolvePlacement(int w, int h, const cChara& chara, int placement, int cx, int cy, int dx, int dy);
