#include "scenes/menu_drawing.h"

#include "graphics/blit.h"
#include "graphics/device.h"
#include "graphics/standard_surfaces.h"
#include "sound/direct_sound.h"

namespace {

void DrawAccessory(const CURSORPOS& c, int size, int sx)
{
    DDBltFast(&g_BackBuffer, c.nX, c.nY, size, size, &g_StdSurface[kAccessoryPicture], sx, 0, DDBLTFAST_SRCCOLORKEY);
}

}  // namespace

void DrawLargeCursor(const CURSORPOS& c) { DrawAccessory(c, 32, 0); }

void DrawSmallCursor(const CURSORPOS& c) { DrawAccessory(c, 16, 64); }

void DrawParentCursor(const CURSORPOS& c) { DrawAccessory(c, 16, 80); }

int MoveQuestion(int direction, int cx, int y, int first)
{
    const int x = GetTextListX(cx, first, 2, 1);
    g_MenuCursor.MoveGrid(direction, x, y, 0, 16, 1, 2);
    DS_PlayOnDirectionKey(direction, 2, 0);
    return x;
}

void DrawQuestion(int x, int y, int first)
{
    DrawTextList(&g_BackBuffer, x, y, first, 2, 1);
    DrawSmallCursor(*g_MenuCursor.m_pCurrent);
}

int DecimalDigits(int value)
{
    int digits = 1;
    for (long long v = value < 0 ? -static_cast<long long>(value) : value; v >= 10; v /= 10) ++digits;
    return digits;
}
