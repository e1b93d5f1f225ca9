#pragma once
// Direct3D 9 as the graphics layer uses it: our own software device that draws textured,
// coloured triangle strips into CPU surfaces (point sampling, wrap addressing, the texture-
// stage operations and source-alpha blending), with textures, render targets, system-memory
// surfaces, vertex and index buffers, and a back buffer handed to the presenter.
#include <memory>
#include "platform/video/d3d9_base.h"

using D3DCOLOR = DWORD;

constexpr UINT D3D_SDK_VERSION = 32;
constexpr UINT D3DADAPTER_DEFAULT = 0;

constexpr HRESULT D3D_OK = 0;
constexpr HRESULT D3DERR_OUTOFVIDEOMEMORY = static_cast<HRESULT>(0x8876017Cu);
constexpr HRESULT D3DERR_DEVICELOST = static_cast<HRESULT>(0x88760868u);
constexpr HRESULT D3DERR_DEVICENOTRESET = static_cast<HRESULT>(0x88760869u);
constexpr HRESULT D3DERR_NOTAVAILABLE = static_cast<HRESULT>(0x8876086Au);
constexpr HRESULT D3DERR_INVALIDCALL = static_cast<HRESULT>(0x8876086Cu);

enum D3DDEVTYPE : int { D3DDEVTYPE_HAL = 1, D3DDEVTYPE_REF = 2 };
enum D3DPOOL : int { D3DPOOL_DEFAULT = 0, D3DPOOL_MANAGED = 1, D3DPOOL_SYSTEMMEM = 2 };
enum D3DRESOURCETYPE : int { D3DRTYPE_SURFACE = 1, D3DRTYPE_TEXTURE = 3 };
enum D3DSWAPEFFECT : int { D3DSWAPEFFECT_DISCARD = 1, D3DSWAPEFFECT_FLIP = 2, D3DSWAPEFFECT_COPY = 3 };
enum D3DBACKBUFFER_TYPE : int { D3DBACKBUFFER_TYPE_MONO = 0 };
enum D3DMULTISAMPLE_TYPE : int { D3DMULTISAMPLE_NONE = 0 };
enum D3DPRIMITIVETYPE : int { D3DPT_TRIANGLELIST = 4, D3DPT_TRIANGLESTRIP = 5 };

constexpr DWORD D3DCREATE_SOFTWARE_VERTEXPROCESSING = 0x20;
constexpr DWORD D3DCREATE_HARDWARE_VERTEXPROCESSING = 0x40;
constexpr DWORD D3DUSAGE_RENDERTARGET = 0x1;
constexpr DWORD D3DUSAGE_WRITEONLY = 0x8;
constexpr DWORD D3DUSAGE_DYNAMIC = 0x200;
constexpr UINT D3DPRESENT_INTERVAL_DEFAULT = 0;
constexpr UINT D3DPRESENT_INTERVAL_ONE = 1;
constexpr UINT D3DPRESENT_INTERVAL_IMMEDIATE = 0x80000000u;
constexpr DWORD D3DPRESENTFLAG_LOCKABLE_BACKBUFFER = 1;
constexpr DWORD D3DCLEAR_TARGET = 1;
constexpr DWORD D3DPTEXTURECAPS_POW2 = 0x2;
constexpr DWORD D3DPTEXTURECAPS_SQUAREONLY = 0x20;
constexpr DWORD D3DCAPS2_DYNAMICTEXTURES = 0x20000000;
constexpr DWORD D3DCAPS3_ALPHA_FULLSCREEN_FLIP_OR_DISCARD = 0x20;
constexpr DWORD D3DFVF_XYZRHW = 0x004;
constexpr DWORD D3DFVF_DIFFUSE = 0x040;
constexpr DWORD D3DFVF_TEX1 = 0x100;

enum D3DRENDERSTATETYPE : int {
    D3DRS_ZENABLE = 7,
    D3DRS_SRCBLEND = 19,
    D3DRS_DESTBLEND = 20,
    D3DRS_CULLMODE = 22,
    D3DRS_ALPHABLENDENABLE = 27,
    D3DRS_TEXTUREFACTOR = 60,
    D3DRS_COLORVERTEX = 141,
    D3DRS_DIFFUSEMATERIALSOURCE = 145,
};
constexpr DWORD D3DZB_FALSE = 0;
constexpr DWORD D3DCULL_NONE = 1;
constexpr DWORD D3DMCS_COLOR1 = 1;
enum D3DBLEND : DWORD {
    D3DBLEND_ZERO = 1, D3DBLEND_ONE = 2, D3DBLEND_SRCCOLOR = 3, D3DBLEND_INVSRCCOLOR = 4,
    D3DBLEND_SRCALPHA = 5, D3DBLEND_INVSRCALPHA = 6,
};

enum D3DTEXTURESTAGESTATETYPE : int {
    D3DTSS_COLOROP = 1, D3DTSS_COLORARG1 = 2, D3DTSS_COLORARG2 = 3,
    D3DTSS_ALPHAOP = 4, D3DTSS_ALPHAARG1 = 5, D3DTSS_ALPHAARG2 = 6,
};
enum D3DTEXTUREOP : DWORD {
    D3DTOP_DISABLE = 1, D3DTOP_SELECTARG1 = 2, D3DTOP_SELECTARG2 = 3, D3DTOP_MODULATE = 4,
    D3DTOP_MODULATE2X = 5, D3DTOP_MODULATE4X = 6, D3DTOP_ADD = 7, D3DTOP_ADDSIGNED = 8,
    D3DTOP_ADDSIGNED2X = 9, D3DTOP_SUBTRACT = 10, D3DTOP_BLENDFACTORALPHA = 14,
};
constexpr DWORD D3DTA_DIFFUSE = 0;
constexpr DWORD D3DTA_CURRENT = 1;
constexpr DWORD D3DTA_TEXTURE = 2;
constexpr DWORD D3DTA_TFACTOR = 3;

enum D3DSAMPLERSTATETYPE : int { D3DSAMP_ADDRESSU = 1, D3DSAMP_ADDRESSV = 2, D3DSAMP_MAGFILTER = 5, D3DSAMP_MINFILTER = 6 };
constexpr DWORD D3DTADDRESS_WRAP = 1;
constexpr DWORD D3DTEXF_POINT = 1;

struct D3DPRESENT_PARAMETERS {
    UINT BackBufferWidth;
    UINT BackBufferHeight;
    D3DFORMAT BackBufferFormat;
    UINT BackBufferCount;
    D3DMULTISAMPLE_TYPE MultiSampleType;
    DWORD MultiSampleQuality;
    D3DSWAPEFFECT SwapEffect;
    HWND hDeviceWindow;
    BOOL Windowed;
    BOOL EnableAutoDepthStencil;
    D3DFORMAT AutoDepthStencilFormat;
    DWORD Flags;
    UINT FullScreen_RefreshRateInHz;
    UINT PresentationInterval;
};

// The capabilities the graphics layer reads.
struct D3DCAPS9 {
    D3DDEVTYPE DeviceType;
    UINT AdapterOrdinal;
    DWORD Caps2;
    DWORD Caps3;
    DWORD TextureCaps;
    DWORD MaxTextureWidth;
    DWORD MaxTextureHeight;
};

struct D3DSURFACE_DESC {
    D3DFORMAT Format;
    D3DRESOURCETYPE Type;
    DWORD Usage;
    D3DPOOL Pool;
    D3DMULTISAMPLE_TYPE MultiSampleType;
    DWORD MultiSampleQuality;
    UINT Width;
    UINT Height;
};

struct D3DLOCKED_RECT {
    int Pitch;
    void* pBits;
};

struct D3DRECT {
    LONG x1, y1, x2, y2;
};

namespace plat {
struct cD3DDeviceState;
}

class IDirect3DSurface9 : public IUnknown {
public:
    HRESULT LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags);
    HRESULT UnlockRect();
    HRESULT GetDesc(D3DSURFACE_DESC* desc);

    // Internals of our device.
    IDirect3DSurface9(std::shared_ptr<plat::cPixelStore> store, D3DPOOL pool, DWORD usage);
    std::shared_ptr<plat::cPixelStore> m_Store;
    D3DPOOL m_Pool;
    DWORD m_dwUsage;
    bool m_bLocked = false;
};

class IDirect3DTexture9 : public IUnknown {
public:
    HRESULT GetSurfaceLevel(UINT level, IDirect3DSurface9** surface);
    HRESULT GetLevelDesc(UINT level, D3DSURFACE_DESC* desc);
    HRESULT LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags);
    HRESULT UnlockRect(UINT level);

    // Internals of our device.
    IDirect3DTexture9(std::shared_ptr<plat::cD3DDeviceState> device, std::shared_ptr<plat::cPixelStore> store,
                      D3DPOOL pool, DWORD usage);
    ~IDirect3DTexture9() override;
    std::shared_ptr<plat::cD3DDeviceState> m_Device;
    IDirect3DSurface9* m_lpLevel0;
};

class IDirect3DVertexBuffer9 : public IUnknown {
public:
    HRESULT Lock(UINT offset, UINT size, void** data, DWORD flags);
    HRESULT Unlock();
    explicit IDirect3DVertexBuffer9(UINT length) : m_Bytes(length, 0) {}
    std::vector<BYTE> m_Bytes;
};

class IDirect3DIndexBuffer9 : public IUnknown {
public:
    HRESULT Lock(UINT offset, UINT size, void** data, DWORD flags);
    HRESULT Unlock();
    explicit IDirect3DIndexBuffer9(UINT length) : m_Bytes(length, 0) {}
    std::vector<BYTE> m_Bytes;
};

class IDirect3DDevice9 : public IUnknown {
public:
    HRESULT TestCooperativeLevel();
    HRESULT Reset(D3DPRESENT_PARAMETERS* params);
    HRESULT Present(const RECT* source, const RECT* dest, HWND overrideWindow, const void* dirtyRegion);
    HRESULT GetBackBuffer(UINT swapChain, UINT index, D3DBACKBUFFER_TYPE type, IDirect3DSurface9** surface);
    HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                          IDirect3DTexture9** texture, HANDLE* shared);
    HRESULT CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool, IDirect3DVertexBuffer9** buffer,
                               HANDLE* shared);
    HRESULT CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                              IDirect3DIndexBuffer9** buffer, HANDLE* shared);
    HRESULT CreateOffscreenPlainSurface(UINT width, UINT height, D3DFORMAT format, D3DPOOL pool,
                                        IDirect3DSurface9** surface, HANDLE* shared);
    // Both copy whole surfaces of one size and format; a render target and its system copy
    // come to share their pixels on the first copy, after which both calls cost nothing.
    HRESULT UpdateSurface(IDirect3DSurface9* source, const RECT* sourceRect, IDirect3DSurface9* dest,
                          const POINT* destPoint);
    HRESULT GetRenderTargetData(IDirect3DSurface9* renderTarget, IDirect3DSurface9* dest);
    HRESULT SetRenderTarget(DWORD index, IDirect3DSurface9* target);
    HRESULT GetRenderTarget(DWORD index, IDirect3DSurface9** target);  // referenced for the caller
    HRESULT BeginScene();
    HRESULT EndScene();
    HRESULT Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z, DWORD stencil);
    HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value);
    HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value);
    HRESULT SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value);
    HRESULT SetTexture(DWORD stage, IDirect3DTexture9* texture);
    HRESULT SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offset, UINT stride);
    HRESULT SetIndices(IDirect3DIndexBuffer9* indices);
    HRESULT SetFVF(DWORD fvf);
    HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount);
    HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, int baseVertex, UINT minIndex, UINT numVertices,
                                 UINT startIndex, UINT primitiveCount);
    HRESULT SetDialogBoxMode(BOOL enable);

    // Internals of our device.
    explicit IDirect3DDevice9(const D3DPRESENT_PARAMETERS& params);
    ~IDirect3DDevice9() override;
    std::shared_ptr<plat::cD3DDeviceState> m_State;
};

class IDirect3D9 : public IUnknown {
public:
    HRESULT GetDeviceCaps(UINT adapter, D3DDEVTYPE type, D3DCAPS9* caps);
    HRESULT CheckDeviceFormat(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat, DWORD usage,
                              D3DRESOURCETYPE resourceType, D3DFORMAT checkFormat);
    HRESULT CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD behaviorFlags,
                         D3DPRESENT_PARAMETERS* params, IDirect3DDevice9** device);
};

IDirect3D9* Direct3DCreate9(UINT sdkVersion);

namespace plat {

// The capabilities our device reports: no power-of-two or square-only limit, textures up to
// 8192 × 8192, dynamic textures. Tests may report others.
D3DCAPS9 DefaultD3DCaps();
void SetD3DCaps(const D3DCAPS9& caps);
void ResetD3DCaps();

// The live device loses itself (presents fail with D3DERR_DEVICELOST) until it is reset; with
// resettable false, TestCooperativeLevel keeps reporting D3DERR_DEVICELOST until
// AllowD3DDeviceReset.
void SimulateD3DDeviceLoss(bool resettable = true);
void AllowD3DDeviceReset();

// Direct3D's share of the capacity of video memory in bytes (default-pool and managed
// textures); creations past it fail with D3DERR_OUTOFVIDEOMEMORY. 0: no limit.
void SetD3DVideoMemoryLimit(std::size_t bytes);

}  // namespace plat
