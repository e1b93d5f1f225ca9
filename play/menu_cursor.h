#pragma once
// The one cursor every menu moves (the stage's pause and continue menus among them). Only the
// single-entry cursor with its grid move is here; the cursor stack, the list move and the text
// lists are not built yet.
struct CURSORPOS {
    int nColumn = 0;
    int nRow = 0;
    int nX = 0;
    int nY = 0;
};

class cMenuCursor {
public:
    // One zeroed entry.
    void Reset() { m_Current = CURSORPOS{}; }
    // Left/right and up/down (direction bits 1, 2, 4, 8) with wrap-around, then the pixel
    // position of the cell; nothing when columns or rows are negative.
    void MoveGrid(int direction, int x0, int y0, int dx, int dy, int columns, int rows);

    CURSORPOS m_Current;
};

extern cMenuCursor g_MenuCursor;

// The x at which a framed window of system texts first .. first + count - 1 is centred on cx.
int GetTextListX(int cx, int first, int count, int marker);
// The framed window of those texts on the back buffer.
void DrawTextList(int x, int y, int first, int count, int marker);
