#pragma once
// D3DX fonts and sprites as the graphics layer uses them for text under Direct3D: a font
// (drawn by our FreeType faces) writes its glyphs into the device's render target in the
// colour given, opaque where a glyph is set; the sprite only brackets the drawing.
#include <memory>
#include "platform/video/d3d9.h"

constexpr DWORD DT_LEFT = 0x0;
constexpr DWORD DT_TOP = 0x0;
constexpr DWORD DT_NOCLIP = 0x100;
constexpr DWORD DT_CALCRECT = 0x400;
constexpr DWORD D3DXSPRITE_ALPHABLEND = 0x10;
constexpr DWORD D3DXSPRITE_SORT_TEXTURE = 0x20;

struct D3DXFONT_DESCA {
    int Height;  // the cell height (a negative one the em)
    UINT Width;  // width of a half-width character, 0 for the face's own
    UINT Weight;
    UINT MipLevels;
    BOOL Italic;
    BYTE CharSet;
    BYTE OutputPrecision;
    BYTE Quality;
    BYTE PitchAndFamily;
    char FaceName[32];
};

namespace plat {
class cGlyphFace;
}

class ID3DXSprite : public IUnknown {
public:
    HRESULT Begin(DWORD flags);
    HRESULT End();
    HRESULT OnLostDevice();
    HRESULT OnResetDevice();

    // Internals.
    explicit ID3DXSprite(IDirect3DDevice9* device);
    ~ID3DXSprite() override;
    IDirect3DDevice9* m_lpDevice;
    bool m_bBegun = false;
};

class ID3DXFont : public IUnknown {
public:
    // Draws count bytes of CP932 text (count < 0: up to the NUL) with the cell's top-left at
    // the rectangle's; DT_CALCRECT only sets the rectangle's right and bottom to the text's
    // extent. Returns the text's height, 0 when nothing could be drawn.
    int DrawTextA(ID3DXSprite* sprite, const char* text, int count, RECT* rect, DWORD format, D3DCOLOR color);
    HRESULT OnLostDevice();
    HRESULT OnResetDevice();

    // Internals.
    ID3DXFont(IDirect3DDevice9* device, std::unique_ptr<plat::cGlyphFace> face);
    ~ID3DXFont() override;
    IDirect3DDevice9* m_lpDevice;
    std::unique_ptr<plat::cGlyphFace> m_Face;
};

// Fails (D3DXERR_INVALIDDATA) when the face's font file cannot be opened.
HRESULT D3DXCreateFontIndirectA(IDirect3DDevice9* device, const D3DXFONT_DESCA* desc, ID3DXFont** font);
HRESULT D3DXCreateSprite(IDirect3DDevice9* device, ID3DXSprite** sprite);
