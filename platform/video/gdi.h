#pragma once
// GDI as far as the graphics layer uses it for bitmaps: bitmap files loaded as DIB sections
// by our own reader, and the colour depth of the display.
#include <memory>
#include "platform/video/bmp_reader.h"
#include "platform/os/windows_types.h"

struct HBITMAP__;
using HBITMAP = HBITMAP__*;
using HGDIOBJ = void*;
using HDC = void*;  // as the window layer declares it

constexpr UINT IMAGE_BITMAP = 0;
constexpr UINT LR_LOADFROMFILE = 0x0010;
constexpr UINT LR_CREATEDIBSECTION = 0x2000;
constexpr int BITSPIXEL = 12;

struct BITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    void* bmBits;
};

// Only bitmap files (IMAGE_BITMAP with LR_LOADFROMFILE); null when the file cannot be read.
HANDLE LoadImageA(HINSTANCE instance, const char* name, UINT type, int cx, int cy, UINT flags);
int GetObjectA(HGDIOBJ object, int size, void* out);  // BITMAP of a loaded bitmap
BOOL DeleteObject(HGDIOBJ object);

// The display's device context: only its colour depth is asked.
HDC GetDC(HWND hWnd);
int ReleaseDC(HWND hWnd, HDC hdc);
int GetDeviceCaps(HDC hdc, int index);

namespace plat {

// The decoded picture behind a bitmap handle (null for anything else).
const cBmpImage* BitmapImage(HGDIOBJ bitmap);

// Owns a GDI object and deletes it at the end of its scope.
struct cGdiObjectDeleter {
    void operator()(void* object) const { DeleteObject(object); }
};
using cGdiObject = std::unique_ptr<void, cGdiObjectDeleter>;

// Colour depth the display reports (32 for a 24- or 32-bit desktop); tests may set another.
int DesktopBitsPerPixel();
void SetDesktopBitsPerPixel(int bpp);

}  // namespace plat
