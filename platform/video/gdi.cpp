#include "platform/video/gdi.h"

#include "platform/video/gdi_font.h"

#include <atomic>

namespace {

// A bitmap handle points at one of these; the tag tells it from other handles.
struct cBitmapObject {
    static constexpr std::uint32_t kTag = 0x42544D50;  // "BTMP"
    std::uint32_t tag = kTag;
    plat::cBmpImage image;
};

std::atomic<int> s_nDesktopBitsPerPixel{32};

cBitmapObject* AsBitmap(HGDIOBJ object)
{
    auto* bitmap = static_cast<cBitmapObject*>(object);
    return bitmap && bitmap->tag == cBitmapObject::kTag ? bitmap : nullptr;
}

}  // namespace

HANDLE LoadImageA(HINSTANCE, const char* name, UINT type, int, int, UINT flags)
{
    if (type != IMAGE_BITMAP || !(flags & LR_LOADFROMFILE)) return nullptr;
    auto bitmap = std::make_unique<cBitmapObject>();
    if (!plat::ReadBmpFile(name, bitmap->image)) return nullptr;
    return bitmap.release();
}

int GetObjectA(HGDIOBJ object, int size, void* out)
{
    const cBitmapObject* bitmap = AsBitmap(object);
    if (!bitmap || !out || size < static_cast<int>(sizeof(BITMAP))) return 0;
    const plat::cBmpImage& image = bitmap->image;
    auto* bm = static_cast<BITMAP*>(out);
    bm->bmType = 0;
    bm->bmWidth = image.nWidth;
    bm->bmHeight = image.nHeight;
    bm->bmWidthBytes = (image.nWidth * image.nBitCount + 31) / 32 * 4;
    bm->bmPlanes = 1;
    bm->bmBitsPixel = static_cast<WORD>(image.nBitCount);
    bm->bmBits = nullptr;  // pixels are read through plat::BitmapImage
    return sizeof(BITMAP);
}

BOOL DeleteObject(HGDIOBJ object)
{
    cBitmapObject* bitmap = AsBitmap(object);
    if (!bitmap) return plat::DeleteFontObject(object) ? TRUE : FALSE;
    bitmap->tag = 0;
    delete bitmap;
    return TRUE;
}

HDC GetDC(HWND)
{
    return &s_nDesktopBitsPerPixel;
}

int ReleaseDC(HWND, HDC) { return 1; }

int GetDeviceCaps(HDC, int index) { return index == BITSPIXEL ? s_nDesktopBitsPerPixel.load() : 0; }

namespace plat {

const cBmpImage* BitmapImage(HGDIOBJ bitmap)
{
    const cBitmapObject* object = AsBitmap(bitmap);
    return object ? &object->image : nullptr;
}

int DesktopBitsPerPixel() { return s_nDesktopBitsPerPixel.load(); }
void SetDesktopBitsPerPixel(int bpp) { s_nDesktopBitsPerPixel = bpp; }

}  // namespace plat
