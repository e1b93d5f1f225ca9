#include "play/menu_cursor.h"

#include "shell/not_built_yet.h"

void cMenuCursor::MoveGrid(int direction, int x0, int y0, int dx, int dy, int columns, int rows)
{
    if (columns < 0 || rows < 0) return;
    CURSORPOS& c = m_Current;
    if (direction & 1) --c.nColumn;
    else if (direction & 2) ++c.nColumn;
    if (direction & 4) --c.nRow;
    else if (direction & 8) ++c.nRow;
    if (c.nRow < 0) c.nRow = rows - 1;
    else if (c.nRow >= rows) c.nRow = 0;
    if (c.nColumn < 0) c.nColumn = columns - 1;
    else if (c.nColumn >= columns) c.nColumn = 0;
    c.nX = x0 + c.nColumn * dx;
    c.nY = y0 + c.nRow * dy;
}

int GetTextListX(int cx, int /*first*/, int /*count*/, int /*marker*/)
{
    LogNotBuiltYet("menu text lists");
    return cx;
}

void DrawTextList(int /*x*/, int /*y*/, int /*first*/, int /*count*/, int /*marker*/)
{
    LogNotBuiltYet("menu text lists");
}
