#include "graphics/debug_text.h"

#include <cstdarg>
#include <cstdio>
#include "graphics/blit.h"
#include "graphics/device.h"
#include "graphics/sprite_batch.h"

void DDDrawDebugText(DDSURFACEDATA* lpDst, int x, int y, int cw, int ch, DDSURFACEDATA* lpGlyphs, const char* text)
{
    if (!lpDst || !lpGlyphs || !text || cw <= 0 || ch <= 0) return;
    const bool batch = lpDTCon != nullptr;
    if (batch) DDBeginSpriteBatch(FALSE);
    int penX = x, penY = y;
    for (const char* p = text; *p; ++p) {
        const int c = static_cast<unsigned char>(*p);
        if (c == '\n') {
            penX = x;
            penY += ch;
            continue;
        }
        int row = c / 16;
        // The half-width katakana sit in rows 0-1 and 8-9 of the sheet.
        if (c >= 0xA6 && c <= 0xBF) row -= 10;
        else if (c >= 0xC0 && c <= 0xDD) row -= 4;
        DDBltFast(lpDst, penX, penY, cw, ch, lpGlyphs, (c % 16) * cw, row * ch, 1);
        penX += cw;
        if (penX - x >= g_nScreenWidth) {
            penX = x;
            penY += ch;
        }
    }
    if (batch) DDEndSpriteBatch();
}

void DDPrintDebugText(DDSURFACEDATA* lpDst, int x, int y, int cw, int ch, DDSURFACEDATA* lpGlyphs, const char* fmt, ...)
{
    char text[256];
    va_list args;
    va_start(args, fmt);
    std::vsnprintf(text, sizeof text, fmt ? fmt : "", args);
    va_end(args);
    DDDrawDebugText(lpDst, x, y, cw, ch, lpGlyphs, text);
}
