#include "play/menu_cursor.h"

#include <algorithm>
#include <string>

#include "data/system_data.h"
#include "graphics/font.h"

cMenuCursor& cMenuCursor::operator=(const cMenuCursor& other)
{
    m_Entries = other.m_Entries;
    Retake();
    return *this;
}

void cMenuCursor::Retake()
{
    const std::size_t n = m_Entries.size();
    m_pCurrent = n >= 1 ? &m_Entries[n - 1] : nullptr;
    m_pParent = n >= 2 ? &m_Entries[n - 2] : nullptr;
}

void cMenuCursor::Reset()
{
    m_Entries.assign(1, CURSORPOS{});
    Retake();
}

void cMenuCursor::Push(int copy)
{
    m_Entries.emplace_back();
    const std::size_t n = m_Entries.size();
    // Copied by index after the append: the vector may have moved its entries.
    if (copy == 1 && n >= 2) m_Entries[n - 1] = m_Entries[n - 2];
    Retake();
}

void cMenuCursor::Pop(int mode)
{
    if (m_Entries.size() < 2) return;
    const CURSORPOS removed = m_Entries.back();
    m_Entries.pop_back();
    CURSORPOS& below = m_Entries.back();
    if (mode == 0) below = CURSORPOS{};
    else if (mode == 2) below = removed;
    Retake();
}

void cMenuCursor::MoveGrid(int direction, int x0, int y0, int dx, int dy, int columns, int rows)
{
    // With no rows a wrap would leave the row at -1, outside every menu.
    if (columns <= 0 || rows <= 0 || !m_pCurrent) return;
    CURSORPOS& c = *m_pCurrent;
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

void cMenuCursor::MoveList(int direction, int vertical, int& top, int origin, int step, int other, int visible,
                           int total, int paging)
{
    if (visible <= 0 || total <= 0 || !m_pCurrent) return;
    CURSORPOS& c = *m_pCurrent;
    int& i = vertical ? c.nRow : c.nColumn;
    const int v = visible, n = total;
    if (direction & 4) {
        if (i - top <= 0) --top;
        --i;
    } else if (direction & 8) {
        if (i - top >= v - 1) ++top;
        ++i;
    }
    if (paging) {
        // A page keeps one row of the old page in view.
        if (direction & 2) {
            if (top == n - v) {
                i = n - 1;
            } else {
                top += v - 1;
                i += v - 1;
            }
        } else if (direction & 1) {
            if (top == 0) {
                i = 0;
            } else {
                top -= v - 1;
                i -= v - 1;
            }
        }
    }
    i = std::max(std::min(i, n - 1), 0);
    if (top < 0) top = 0;
    else top = std::min(top, std::max(0, n - v));
    const int along = origin + (i - top) * step;
    if (vertical) {
        c.nY = along;
        c.nX = other;
    } else {
        c.nX = along;
        c.nY = other;
    }
}

namespace {

// The window of a text list: (longest text in characters, plus the marker's column) x 16 wide,
// one 16-dot line a text.
int TextListWidth(int first, int count, int marker)
{
    int longest = 0;
    for (int k = 0; k < count; ++k) longest = std::max(longest, CountMbChars(g_SystemData.m_Texts.At(first + k).c_str()));
    return (longest + (marker ? 1 : 0)) * 16;
}

}  // namespace

int GetTextListX(int cx, int first, int count, int marker)
{
    return cx - TextListWidth(first, count, marker) / 2;
}

void DrawTextList(DDSURFACEDATA* target, int x, int y, int first, int count, int marker)
{
    if (count <= 0) return;
    std::string lines;
    for (int k = 0; k < count; ++k) lines += (marker ? " " : "") + g_SystemData.m_Texts.At(first + k) + "\n";
    // The texts are the game's own: a per cent sign in one is text, never a format.
    g_Font[1].PrintfWindow(target, x, y, TextListWidth(first, count, marker), count * 16, "%s", lines.c_str());
}
