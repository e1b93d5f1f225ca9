#pragma once
// D3DX 9 as the graphics layer uses it: empty textures and textures loaded from bitmap files
// (our own reader) with a colour key.
#include "platform/video/d3d9.h"

constexpr UINT D3DX_DEFAULT = 0xFFFFFFFFu;
constexpr DWORD D3DX_FILTER_NONE = 1;
constexpr HRESULT D3DXERR_INVALIDDATA = static_cast<HRESULT>(0x88760B59u);

enum D3DXIMAGE_FILEFORMAT : int { D3DXIFF_BMP = 0 };

struct D3DXIMAGE_INFO {
    UINT Width;
    UINT Height;
    UINT Depth;
    UINT MipLevels;
    D3DFORMAT Format;
    D3DRESOURCETYPE ResourceType;
    D3DXIMAGE_FILEFORMAT ImageFileFormat;
};

struct PALETTEENTRY;

HRESULT D3DXCreateTexture(IDirect3DDevice9* device, UINT width, UINT height, UINT mipLevels, DWORD usage,
                          D3DFORMAT format, D3DPOOL pool, IDirect3DTexture9** texture);

// Width and height D3DX_DEFAULT take the picture's size. Only D3DX_FILTER_NONE is supported:
// the picture goes to the top-left corner unscaled and the rest stays transparent black. A
// picture pixel whose opaque ARGB equals colorKey (when it is not 0) becomes transparent black.
HRESULT D3DXCreateTextureFromFileExA(IDirect3DDevice9* device, const char* file, UINT width, UINT height,
                                     UINT mipLevels, DWORD usage, D3DFORMAT format, D3DPOOL pool, DWORD filter,
                                     DWORD mipFilter, D3DCOLOR colorKey, D3DXIMAGE_INFO* sourceInfo,
                                     PALETTEENTRY* palette, IDirect3DTexture9** texture);
