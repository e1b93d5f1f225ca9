#pragma once
// The one cursor every menu moves (the stage's pause and continue menus among them), with a
// stack of entries: a menu that opens a sub-menu pushes a fresh entry and gets its own back
// when it pops it. Beside it, the framed windows of the System record's short text lists (the
// yes/no questions and notices).
#include <vector>

#include "platform/os/windows_types.h"

struct DDSURFACEDATA;

// One cursor entry: the selected column and row, and the pixel where the scene draws it.
struct CURSORPOS {
    int nColumn = 0;
    int nRow = 0;
    int nX = 0;
    int nY = 0;
};

class cMenuCursor {
public:
    // One zeroed entry, as after Reset.
    cMenuCursor() { Reset(); }
    cMenuCursor(const cMenuCursor& other) : m_Entries(other.m_Entries) { Retake(); }
    cMenuCursor& operator=(const cMenuCursor& other);

    // Exactly one zeroed entry, current, without a parent.
    void Reset();
    // A new entry on top, current: with copy 1 the values of the entry below it, else zeroed.
    // A pointer or reference to an entry taken before does not survive it.
    void Push(int copy);
    // With at least two entries: the top goes and the one below becomes current, zeroed
    // (mode 0), as it was (1) or given the removed entry's values (2). One entry: nothing.
    void Pop(int mode);
    // Grid move of the current entry with wrap-around (direction bits 1 left, 2 right, 4 up,
    // 8 down), then its pixel position; nothing for a column or row count of 0 or less.
    void MoveGrid(int direction, int x0, int y0, int dx, int dy, int columns, int rows);
    // List move of the current entry (its row when vertical, else its column) in a window of
    // visible rows from top (read and written) over total entries: up and down step, left and
    // right page by visible - 1 when paging; no wrap-around. Nothing for a count of 0 or less.
    void MoveList(int direction, int vertical, int& top, int origin, int step, int other, int visible, int total,
                  int paging);

    CURSORPOS* m_pCurrent = nullptr;  // the top entry, the one that moves
    CURSORPOS* m_pParent = nullptr;   // the entry below it; null with one entry
    std::vector<CURSORPOS> m_Entries; // bottom first; change it only through the operations

private:
    // Both pointers again, after any change of the vector.
    void Retake();
};

extern cMenuCursor g_MenuCursor;

// The x at which a framed window of system texts first .. first + count - 1 is centred on cx;
// with marker, a one-character column in front of the texts holds the cursor.
int GetTextListX(int cx, int first, int count, int marker);
// That window, one text a line in the 16-dot font, at (x, y) on target; nothing for a count of
// 0 or less.
void DrawTextList(DDSURFACEDATA* target, int x, int y, int first, int count, int marker);
