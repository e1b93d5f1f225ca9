#include <cstdarg>
#include <string>
#include "graphics/device.h"
#include "graphics/effect_blit.h"
#include "graphics/font.h"
#include "shell/format.h"

namespace {

constexpr int kCentred = 10000;

}  // namespace

// The size DrawText gives a text: on the pitch, or by the typeface without one.
void cFont::TextSize(SIZE* lpSize, const char* text)
{
    *lpSize = {};
    if (m_nPitchX > 0 && m_nPitchY > 0) {
        GetTextBlockSize(lpSize, text);
        return;
    }
    if (lpDTCon) {
        MeasureText(lpSize, nullptr, text);
        return;
    }
    IDirectDrawSurface7* work = m_WorkSD.lpDDraw ? m_WorkSD.lpDDraw->lpDDS : nullptr;
    HDC hdc = nullptr;
    if (!work || !m_hFont || FAILED(work->GetDC(&hdc))) return;
    SelectObject(hdc, m_hFont);
    MeasureText(lpSize, hdc, text);
    work->ReleaseDC(hdc);
}

void cFont::CentreOnWindowPicture(int* x, int* y, int w, int h) const
{
    const int pictureW = m_lpWindowSD ? m_lpWindowSD->nWidth : 0;
    const int pictureH = m_lpWindowSD ? m_lpWindowSD->nHeight : 0;
    if (*x == kCentred) *x = pictureW / 2 - w / 2;
    if (*y == kCentred) *y = pictureH / 2 - h / 2;
}

void cFont::DrawWindow(DDSURFACEDATA* lpDst, int x, int y, int w, int h)
{
    CentreOnWindowPicture(&x, &y, w, h);
    if (m_lpWindowSD) DDBltWithFrame(lpDst, x, y, w, h, m_lpWindowSD, m_nFrameWidth, m_nFrameColor);
}

void cFont::DrawTextWindowEx(DDSURFACEDATA* lpDst, int x, int y, int w, int h, const char* text, int nMargin, DWORD)
{
    if (!text) return;
    if (w == 0 || h == 0) {
        SIZE size{};
        TextSize(&size, text);
        if (w == 0) w = nMargin + size.cx;
        if (h == 0) h = size.cy;
    }
    CentreOnWindowPicture(&x, &y, w, h);
    if (m_lpWindowSD) DDBltWithFrame(lpDst, x, y, w, h, m_lpWindowSD, m_nFrameWidth, m_nFrameColor);
    DrawText(lpDst, x + nMargin, y, text, FALSE);
}

void cFont::DrawTextWindow(DDSURFACEDATA* lpDst, int x, int y, int w, int h, const char* text, int nMargin)
{
    DrawTextWindowEx(lpDst, x, y, w, h, text, nMargin, m_dwColor);
}

void cFont::PrintfWindow(DDSURFACEDATA* lpDst, int x, int y, int w, int h, const char* fmt, ...)
{
    std::string text;
    va_list args;
    va_start(args, fmt);
    VFormatString(text, fmt ? fmt : "", args);
    va_end(args);
    DrawTextWindowEx(lpDst, x, y, w, h, text.c_str(), 0, m_dwColor);
}
