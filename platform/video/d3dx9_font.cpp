#include "platform/video/d3dx9_font.h"

#include <cstring>
#include <string_view>
#include "platform/video/d3dx9.h"
#include "platform/video/font_face.h"

ID3DXSprite::ID3DXSprite(IDirect3DDevice9* device) : m_lpDevice(device) { m_lpDevice->AddRef(); }

ID3DXSprite::~ID3DXSprite() { m_lpDevice->Release(); }

HRESULT ID3DXSprite::Begin(DWORD)
{
    if (m_bBegun) return D3DERR_INVALIDCALL;
    m_bBegun = true;
    return D3D_OK;
}

HRESULT ID3DXSprite::End()
{
    if (!m_bBegun) return D3DERR_INVALIDCALL;
    m_bBegun = false;
    return D3D_OK;
}

HRESULT ID3DXSprite::OnLostDevice() { return D3D_OK; }
HRESULT ID3DXSprite::OnResetDevice() { return D3D_OK; }

ID3DXFont::ID3DXFont(IDirect3DDevice9* device, std::unique_ptr<plat::cGlyphFace> face)
    : m_lpDevice(device), m_Face(std::move(face))
{
    m_lpDevice->AddRef();
}

ID3DXFont::~ID3DXFont() { m_lpDevice->Release(); }

int ID3DXFont::DrawTextA(ID3DXSprite*, const char* text, int count, RECT* rect, DWORD format, D3DCOLOR color)
{
    if (!text || !rect) return 0;
    const int height = m_Face->CellHeight();
    if (format & DT_CALCRECT) {
        rect->right = rect->left + m_Face->TextWidth(text, count);
        rect->bottom = rect->top + height;
        return height;
    }
    IDirect3DSurface9* target = nullptr;
    if (FAILED(m_lpDevice->GetRenderTarget(0, &target))) return 0;
    const plat::cComPtr<IDirect3DSurface9> held(target);
    m_Face->Paint(*target->m_Store, rect->left, rect->top, text, count, plat::PackFromArgb(target->m_Store->format, color));
    return height;
}

HRESULT ID3DXFont::OnLostDevice() { return D3D_OK; }
HRESULT ID3DXFont::OnResetDevice() { return D3D_OK; }

HRESULT D3DXCreateFontIndirectA(IDirect3DDevice9* device, const D3DXFONT_DESCA* desc, ID3DXFont** font)
{
    if (!device || !desc || !font) return D3DERR_INVALIDCALL;
    const std::string_view face(desc->FaceName, strnlen(desc->FaceName, sizeof desc->FaceName));
    auto glyphs = plat::cGlyphFace::Open(face, desc->Height, static_cast<int>(desc->Width));
    if (!glyphs) return D3DXERR_INVALIDDATA;
    *font = new ID3DXFont(device, std::move(glyphs));
    return D3D_OK;
}

HRESULT D3DXCreateSprite(IDirect3DDevice9* device, ID3DXSprite** sprite)
{
    if (!device || !sprite) return D3DERR_INVALIDCALL;
    *sprite = new ID3DXSprite(device);
    return D3D_OK;
}
