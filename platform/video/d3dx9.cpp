#include "platform/video/d3dx9.h"

#include <algorithm>
#include "platform/video/bmp_reader.h"
#include "platform/video/d3d9_faults.h"

HRESULT D3DXCreateTexture(IDirect3DDevice9* device, UINT width, UINT height, UINT mipLevels, DWORD usage,
                          D3DFORMAT format, D3DPOOL pool, IDirect3DTexture9** texture)
{
    if (!device || !texture) return D3DERR_INVALIDCALL;
    *texture = nullptr;
    if (plat::DeviceCallFails("D3DXCreateTexture")) return D3DERR_INVALIDCALL;
    return device->CreateTexture(width, height, mipLevels == 0 ? 1 : mipLevels, usage, format, pool, texture, nullptr);
}

HRESULT D3DXCreateTextureFromFileExA(IDirect3DDevice9* device, const char* file, UINT width, UINT height,
                                     UINT mipLevels, DWORD usage, D3DFORMAT format, D3DPOOL pool, DWORD filter,
                                     DWORD, D3DCOLOR colorKey, D3DXIMAGE_INFO* sourceInfo, PALETTEENTRY*,
                                     IDirect3DTexture9** texture)
{
    if (!device || !file || !texture) return D3DERR_INVALIDCALL;
    *texture = nullptr;
    if (filter != D3DX_FILTER_NONE) return D3DERR_INVALIDCALL;
    if (plat::DeviceCallFails("D3DXCreateTextureFromFileExA")) return D3DERR_INVALIDCALL;
    plat::cBmpImage image;
    if (!plat::ReadBmpFile(file, image)) return D3DXERR_INVALIDDATA;
    if (width == D3DX_DEFAULT) width = static_cast<UINT>(image.nWidth);
    if (height == D3DX_DEFAULT) height = static_cast<UINT>(image.nHeight);
    IDirect3DTexture9* created = nullptr;
    HRESULT hr = device->CreateTexture(width, height, mipLevels == 0 || mipLevels == D3DX_DEFAULT ? 1 : mipLevels, usage,
                                       format, pool, &created, nullptr);
    if (FAILED(hr)) return hr;
    D3DLOCKED_RECT locked;
    if (FAILED(created->LockRect(0, &locked, nullptr, 0))) {
        created->Release();
        return D3DERR_INVALIDCALL;
    }
    const int bpp = plat::BytesPerPixel(format);
    const int w = std::min<int>(image.nWidth, static_cast<int>(width));
    const int h = std::min<int>(image.nHeight, static_cast<int>(height));
    for (int y = 0; y < h; ++y) {
        BYTE* row = static_cast<BYTE*>(locked.pBits) + static_cast<std::ptrdiff_t>(y) * locked.Pitch;
        for (int x = 0; x < w; ++x) {
            const DWORD argb = 0xFF000000u | image.Pixel(x, y);
            const DWORD pixel = (colorKey != 0 && argb == colorKey) ? 0 : plat::PackFromArgb(format, argb);
            plat::WritePixel(row + x * bpp, bpp, pixel);
        }
    }
    created->UnlockRect(0);
    if (sourceInfo) {
        *sourceInfo = D3DXIMAGE_INFO{static_cast<UINT>(image.nWidth), static_cast<UINT>(image.nHeight), 1, 1,
                                     image.nBitCount == 32 ? D3DFMT_X8R8G8B8 : image.nBitCount == 16 ? D3DFMT_X1R5G5B5
                                                                                                  : D3DFMT_X8R8G8B8,
                                     D3DRTYPE_TEXTURE, D3DXIFF_BMP};
    }
    *texture = created;
    return D3D_OK;
}
