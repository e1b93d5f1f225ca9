#include <algorithm>
#include <cstring>
#include <mutex>
#include "platform/video/d3d9.h"
#include "platform/video/d3d9_faults.h"
#include "platform/video/d3d9_raster.h"
#include "platform/video/presenter.h"

namespace plat {

// What the device and the resources it made share, so that resources may outlive it.
struct cD3DDeviceState {
    D3DPRESENT_PARAMETERS params{};
    int nDefaultPoolTextures = 0;
    std::size_t videoBytes = 0;
    bool bLost = false;
    bool bResettable = true;
    bool bInScene = false;
    IDirect3DSurface9* lpBackBuffer = nullptr;
    IDirect3DSurface9* lpRenderTarget = nullptr;
    IDirect3DTexture9* lpTexture = nullptr;
    IDirect3DVertexBuffer9* lpStream = nullptr;
    UINT nStreamOffset = 0, nStreamStride = 0;
    IDirect3DIndexBuffer9* lpIndices = nullptr;
    DWORD dwFvf = 0;
    DWORD renderStates[256] = {};
    DWORD stageStates[32] = {};
};

namespace {

std::mutex s_DeviceLock;
D3DCAPS9 s_Caps = DefaultD3DCaps();
std::weak_ptr<cD3DDeviceState> s_LiveDevice;
std::size_t s_DeviceVideoMemoryLimit = 0;

template <class T>
void Assign(T*& slot, T* value)
{
    if (value) value->AddRef();
    if (slot) slot->Release();
    slot = value;
}

ULONG RefCount(IUnknown* object)
{
    object->AddRef();
    return object->Release();
}

void SetDefaultStates(cD3DDeviceState& s)
{
    std::fill(std::begin(s.renderStates), std::end(s.renderStates), 0);
    s.renderStates[D3DRS_SRCBLEND] = D3DBLEND_ONE;
    s.renderStates[D3DRS_DESTBLEND] = D3DBLEND_ZERO;
    s.renderStates[D3DRS_CULLMODE] = 3;
    s.renderStates[D3DRS_TEXTUREFACTOR] = 0xFFFFFFFF;
    std::fill(std::begin(s.stageStates), std::end(s.stageStates), 0);
    s.stageStates[D3DTSS_COLOROP] = D3DTOP_MODULATE;
    s.stageStates[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
    s.stageStates[D3DTSS_COLORARG2] = D3DTA_CURRENT;
    s.stageStates[D3DTSS_ALPHAOP] = D3DTOP_SELECTARG1;
    s.stageStates[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
    s.stageStates[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
}

bool SupportedSurfaceFormat(D3DFORMAT format)
{
    return format == D3DFMT_A8R8G8B8 || format == D3DFMT_X8R8G8B8 || format == D3DFMT_R5G6B5 ||
           format == D3DFMT_X1R5G5B5 || format == D3DFMT_A1R5G5B5;
}

void FillDesc(const cPixelStore& store, D3DPOOL pool, DWORD usage, D3DRESOURCETYPE type, D3DSURFACE_DESC* desc)
{
    desc->Format = store.format;
    desc->Type = type;
    desc->Usage = usage;
    desc->Pool = pool;
    desc->MultiSampleType = D3DMULTISAMPLE_NONE;
    desc->MultiSampleQuality = 0;
    desc->Width = static_cast<UINT>(store.nWidth);
    desc->Height = static_cast<UINT>(store.nHeight);
}

HRESULT MakeBackBuffer(cD3DDeviceState& s)
{
    const auto& p = s.params;
    auto store = std::make_shared<cPixelStore>(static_cast<int>(p.BackBufferWidth), static_cast<int>(p.BackBufferHeight),
                                               p.BackBufferFormat);
    s.lpBackBuffer = new IDirect3DSurface9(std::move(store), D3DPOOL_DEFAULT, D3DUSAGE_RENDERTARGET);
    Assign(s.lpRenderTarget, s.lpBackBuffer);
    return D3D_OK;
}

// Windowed devices take the window's client size for a size of 0; ours is the screen size.
void ResolveBackBufferSize(D3DPRESENT_PARAMETERS& p)
{
    if (p.BackBufferWidth == 0) p.BackBufferWidth = 640;
    if (p.BackBufferHeight == 0) p.BackBufferHeight = 480;
}

}  // namespace

D3DCAPS9 DefaultD3DCaps()
{
    D3DCAPS9 caps{};
    caps.DeviceType = D3DDEVTYPE_HAL;
    caps.Caps2 = D3DCAPS2_DYNAMICTEXTURES;
    caps.Caps3 = D3DCAPS3_ALPHA_FULLSCREEN_FLIP_OR_DISCARD;
    caps.TextureCaps = 0;
    caps.MaxTextureWidth = 8192;
    caps.MaxTextureHeight = 8192;
    return caps;
}

void SetD3DCaps(const D3DCAPS9& caps)
{
    std::lock_guard lock(s_DeviceLock);
    s_Caps = caps;
}

void ResetD3DCaps() { SetD3DCaps(DefaultD3DCaps()); }

void SimulateD3DDeviceLoss(bool resettable)
{
    std::lock_guard lock(s_DeviceLock);
    if (auto device = s_LiveDevice.lock()) {
        device->bLost = true;
        device->bResettable = resettable;
    }
}

void AllowD3DDeviceReset()
{
    std::lock_guard lock(s_DeviceLock);
    if (auto device = s_LiveDevice.lock()) device->bResettable = true;
}

void SetD3DVideoMemoryLimit(std::size_t bytes)
{
    std::lock_guard lock(s_DeviceLock);
    s_DeviceVideoMemoryLimit = bytes;
}

}  // namespace plat

using plat::cPixelStore;

// --- surfaces and textures -------------------------------------------------------------

IDirect3DSurface9::IDirect3DSurface9(std::shared_ptr<cPixelStore> store, D3DPOOL pool, DWORD usage)
    : m_Store(std::move(store)), m_Pool(pool), m_dwUsage(usage)
{
}

HRESULT IDirect3DSurface9::LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD)
{
    if (!locked || m_bLocked || plat::DeviceCallFails("IDirect3DSurface9::LockRect")) return D3DERR_INVALIDCALL;
    const int bpp = plat::BytesPerPixel(m_Store->format);
    BYTE* bits = m_Store->bytes.data();
    ++m_Store->nGeneration;
    if (rect) {
        if (rect->left < 0 || rect->top < 0 || rect->right > m_Store->nWidth || rect->bottom > m_Store->nHeight ||
            rect->left >= rect->right || rect->top >= rect->bottom)
            return D3DERR_INVALIDCALL;
        bits = m_Store->Row(rect->top) + rect->left * bpp;
    }
    locked->Pitch = m_Store->nPitch;
    locked->pBits = bits;
    m_bLocked = true;
    return D3D_OK;
}

HRESULT IDirect3DSurface9::UnlockRect()
{
    if (!m_bLocked) return D3DERR_INVALIDCALL;
    m_bLocked = false;
    return D3D_OK;
}

HRESULT IDirect3DSurface9::GetDesc(D3DSURFACE_DESC* desc)
{
    if (!desc) return D3DERR_INVALIDCALL;
    plat::FillDesc(*m_Store, m_Pool, m_dwUsage, D3DRTYPE_SURFACE, desc);
    return D3D_OK;
}

IDirect3DTexture9::IDirect3DTexture9(std::shared_ptr<plat::cD3DDeviceState> device, std::shared_ptr<cPixelStore> store,
                                     D3DPOOL pool, DWORD usage)
    : m_Device(std::move(device)), m_lpLevel0(new IDirect3DSurface9(std::move(store), pool, usage))
{
    if (pool == D3DPOOL_DEFAULT) ++m_Device->nDefaultPoolTextures;
    if (pool != D3DPOOL_SYSTEMMEM) m_Device->videoBytes += m_lpLevel0->m_Store->bytes.size();
}

IDirect3DTexture9::~IDirect3DTexture9()
{
    if (m_lpLevel0->m_Pool == D3DPOOL_DEFAULT) --m_Device->nDefaultPoolTextures;
    if (m_lpLevel0->m_Pool != D3DPOOL_SYSTEMMEM) m_Device->videoBytes -= m_lpLevel0->m_Store->bytes.size();
    m_lpLevel0->Release();
}

HRESULT IDirect3DTexture9::GetSurfaceLevel(UINT level, IDirect3DSurface9** surface)
{
    if (level != 0 || !surface) return D3DERR_INVALIDCALL;
    m_lpLevel0->AddRef();
    *surface = m_lpLevel0;
    return D3D_OK;
}

HRESULT IDirect3DTexture9::GetLevelDesc(UINT level, D3DSURFACE_DESC* desc)
{
    if (level != 0 || !desc) return D3DERR_INVALIDCALL;
    plat::FillDesc(*m_lpLevel0->m_Store, m_lpLevel0->m_Pool, m_lpLevel0->m_dwUsage, D3DRTYPE_TEXTURE, desc);
    return D3D_OK;
}

HRESULT IDirect3DTexture9::LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags)
{
    if (level != 0) return D3DERR_INVALIDCALL;
    return m_lpLevel0->LockRect(locked, rect, flags);
}

HRESULT IDirect3DTexture9::UnlockRect(UINT level)
{
    if (level != 0) return D3DERR_INVALIDCALL;
    return m_lpLevel0->UnlockRect();
}

// --- buffers --------------------------------------------------------------------------

namespace {
HRESULT LockBytes(std::vector<BYTE>& bytes, UINT offset, UINT size, void** data)
{
    if (!data || offset > bytes.size() || (size != 0 && size > bytes.size() - offset)) return D3DERR_INVALIDCALL;
    *data = bytes.data() + offset;
    return D3D_OK;
}
}  // namespace

HRESULT IDirect3DVertexBuffer9::Lock(UINT offset, UINT size, void** data, DWORD)
{
    return LockBytes(m_Bytes, offset, size, data);
}
HRESULT IDirect3DVertexBuffer9::Unlock() { return D3D_OK; }
HRESULT IDirect3DIndexBuffer9::Lock(UINT offset, UINT size, void** data, DWORD)
{
    return LockBytes(m_Bytes, offset, size, data);
}
HRESULT IDirect3DIndexBuffer9::Unlock() { return D3D_OK; }

// --- the device -----------------------------------------------------------------------

IDirect3DDevice9::IDirect3DDevice9(const D3DPRESENT_PARAMETERS& params) : m_State(std::make_shared<plat::cD3DDeviceState>())
{
    m_State->params = params;
    plat::ResolveBackBufferSize(m_State->params);
    plat::SetDefaultStates(*m_State);
    plat::MakeBackBuffer(*m_State);
    plat::SetPresentVSync(params.PresentationInterval != D3DPRESENT_INTERVAL_IMMEDIATE);
    plat::SetPresentFullScreen(!params.Windowed);
}

IDirect3DDevice9::~IDirect3DDevice9()
{
    auto& s = *m_State;
    plat::Assign<IDirect3DSurface9>(s.lpRenderTarget, nullptr);
    plat::Assign<IDirect3DTexture9>(s.lpTexture, nullptr);
    plat::Assign<IDirect3DVertexBuffer9>(s.lpStream, nullptr);
    plat::Assign<IDirect3DIndexBuffer9>(s.lpIndices, nullptr);
    if (s.lpBackBuffer) s.lpBackBuffer->Release();
    s.lpBackBuffer = nullptr;
    if (!s.params.Windowed) plat::SetPresentFullScreen(false);
}

HRESULT IDirect3DDevice9::TestCooperativeLevel()
{
    std::lock_guard lock(plat::s_DeviceLock);
    if (!m_State->bLost) return D3D_OK;
    return m_State->bResettable ? D3DERR_DEVICENOTRESET : D3DERR_DEVICELOST;
}

HRESULT IDirect3DDevice9::Reset(D3DPRESENT_PARAMETERS* params)
{
    auto& s = *m_State;
    if (!params || plat::DeviceCallFails("IDirect3DDevice9::Reset")) return D3DERR_INVALIDCALL;
    {
        std::lock_guard lock(plat::s_DeviceLock);
        if (s.bLost && !s.bResettable) return D3DERR_DEVICELOST;
    }
    // As on Windows, every default-pool resource and every reference to the back buffer must
    // be released first.
    const ULONG ownRefs = 1 + (s.lpRenderTarget == s.lpBackBuffer ? 1 : 0);
    if (s.nDefaultPoolTextures > 0 || plat::RefCount(s.lpBackBuffer) > ownRefs) return D3DERR_INVALIDCALL;
    plat::Assign<IDirect3DSurface9>(s.lpRenderTarget, nullptr);
    s.lpBackBuffer->Release();
    s.params = *params;
    plat::ResolveBackBufferSize(s.params);
    plat::MakeBackBuffer(s);
    plat::SetDefaultStates(s);
    plat::Assign<IDirect3DTexture9>(s.lpTexture, nullptr);
    s.bInScene = false;
    std::lock_guard lock(plat::s_DeviceLock);
    s.bLost = false;
    s.bResettable = true;
    return D3D_OK;
}

HRESULT IDirect3DDevice9::Present(const RECT*, const RECT*, HWND, const void*)
{
    auto& s = *m_State;
    {
        std::lock_guard lock(plat::s_DeviceLock);
        if (s.bLost) return D3DERR_DEVICELOST;
    }
    if (s.bInScene || plat::DeviceCallFails("IDirect3DDevice9::Present")) return D3DERR_INVALIDCALL;
    const cPixelStore& back = *s.lpBackBuffer->m_Store;
    plat::PresentFrame(back.bytes.data(), back.nWidth, back.nHeight, back.nPitch, back.format);
    return D3D_OK;
}

HRESULT IDirect3DDevice9::GetBackBuffer(UINT swapChain, UINT index, D3DBACKBUFFER_TYPE, IDirect3DSurface9** surface)
{
    if (swapChain != 0 || index != 0 || !surface) return D3DERR_INVALIDCALL;
    m_State->lpBackBuffer->AddRef();
    *surface = m_State->lpBackBuffer;
    return D3D_OK;
}

HRESULT IDirect3DDevice9::CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                                        D3DPOOL pool, IDirect3DTexture9** texture, HANDLE*)
{
    if (!texture) return D3DERR_INVALIDCALL;
    *texture = nullptr;
    D3DCAPS9 caps;
    {
        std::lock_guard lock(plat::s_DeviceLock);
        caps = plat::s_Caps;
    }
    if (width == 0 || height == 0 || width > caps.MaxTextureWidth || height > caps.MaxTextureHeight || levels > 1 ||
        !plat::SupportedSurfaceFormat(format) || ((usage & D3DUSAGE_RENDERTARGET) && pool != D3DPOOL_DEFAULT))
        return D3DERR_INVALIDCALL;
    if (plat::DeviceCallFails("IDirect3DDevice9::CreateTexture")) return D3DERR_INVALIDCALL;
    // Default-pool and managed textures live in video memory.
    if (pool != D3DPOOL_SYSTEMMEM && plat::DeviceCallFails("IDirect3DDevice9::CreateTexture.OutOfVideoMemory"))
        return D3DERR_OUTOFVIDEOMEMORY;
    auto store = std::make_shared<cPixelStore>(static_cast<int>(width), static_cast<int>(height), format);
    if (pool != D3DPOOL_SYSTEMMEM) {
        std::lock_guard lock(plat::s_DeviceLock);
        if (plat::s_DeviceVideoMemoryLimit != 0 && m_State->videoBytes + store->bytes.size() > plat::s_DeviceVideoMemoryLimit)
            return D3DERR_OUTOFVIDEOMEMORY;
    }
    *texture = new IDirect3DTexture9(m_State, std::move(store), pool, usage);
    return D3D_OK;
}

HRESULT IDirect3DDevice9::CreateVertexBuffer(UINT length, DWORD, DWORD, D3DPOOL, IDirect3DVertexBuffer9** buffer, HANDLE*)
{
    if (!buffer || length == 0) return D3DERR_INVALIDCALL;
    *buffer = nullptr;
    if (plat::DeviceCallFails("IDirect3DDevice9::CreateVertexBuffer")) return D3DERR_OUTOFVIDEOMEMORY;
    *buffer = new IDirect3DVertexBuffer9(length);
    return D3D_OK;
}

HRESULT IDirect3DDevice9::CreateIndexBuffer(UINT length, DWORD, D3DFORMAT format, D3DPOOL, IDirect3DIndexBuffer9** buffer,
                                            HANDLE*)
{
    if (!buffer || length == 0 || format != D3DFMT_INDEX16) return D3DERR_INVALIDCALL;
    *buffer = nullptr;
    if (plat::DeviceCallFails("IDirect3DDevice9::CreateIndexBuffer")) return D3DERR_OUTOFVIDEOMEMORY;
    *buffer = new IDirect3DIndexBuffer9(length);
    return D3D_OK;
}

HRESULT IDirect3DDevice9::CreateOffscreenPlainSurface(UINT width, UINT height, D3DFORMAT format, D3DPOOL pool,
                                                      IDirect3DSurface9** surface, HANDLE*)
{
    if (!surface || width == 0 || height == 0 || !plat::SupportedSurfaceFormat(format)) return D3DERR_INVALIDCALL;
    *surface = nullptr;
    if (plat::DeviceCallFails("IDirect3DDevice9::CreateOffscreenPlainSurface")) return D3DERR_INVALIDCALL;
    *surface = new IDirect3DSurface9(std::make_shared<cPixelStore>(static_cast<int>(width), static_cast<int>(height), format),
                                     pool, 0);
    return D3D_OK;
}

namespace {
bool SameShape(const cPixelStore& a, const cPixelStore& b)
{
    return a.nWidth == b.nWidth && a.nHeight == b.nHeight && a.format == b.format;
}
}  // namespace

HRESULT IDirect3DDevice9::UpdateSurface(IDirect3DSurface9* source, const RECT* sourceRect, IDirect3DSurface9* dest,
                                        const POINT* destPoint)
{
    if (!source || !dest || sourceRect || destPoint || source->m_bLocked || dest->m_bLocked ||
        !SameShape(*source->m_Store, *dest->m_Store) || plat::DeviceCallFails("IDirect3DDevice9::UpdateSurface"))
        return D3DERR_INVALIDCALL;
    if (source->m_Store != dest->m_Store) {
        dest->m_Store->bytes = source->m_Store->bytes;
        ++dest->m_Store->nGeneration;
    }
    return D3D_OK;
}

HRESULT IDirect3DDevice9::GetRenderTargetData(IDirect3DSurface9* renderTarget, IDirect3DSurface9* dest)
{
    if (!renderTarget || !dest || dest->m_bLocked || !SameShape(*renderTarget->m_Store, *dest->m_Store) ||
        plat::DeviceCallFails("IDirect3DDevice9::GetRenderTargetData"))
        return D3DERR_INVALIDCALL;
    // The system copy takes the render target's pixels as its own from now on.
    dest->m_Store = renderTarget->m_Store;
    return D3D_OK;
}

HRESULT IDirect3DDevice9::SetRenderTarget(DWORD index, IDirect3DSurface9* target)
{
    if (index != 0 || !target || !(target->m_dwUsage & D3DUSAGE_RENDERTARGET) ||
        plat::DeviceCallFails("IDirect3DDevice9::SetRenderTarget"))
        return D3DERR_INVALIDCALL;
    plat::Assign(m_State->lpRenderTarget, target);
    return D3D_OK;
}

HRESULT IDirect3DDevice9::GetRenderTarget(DWORD index, IDirect3DSurface9** target)
{
    if (!target) return D3DERR_INVALIDCALL;
    *target = index == 0 ? m_State->lpRenderTarget : nullptr;
    if (!*target) return D3DERR_NOTAVAILABLE;
    (*target)->AddRef();
    return D3D_OK;
}

HRESULT IDirect3DDevice9::BeginScene()
{
    if (m_State->bInScene || plat::DeviceCallFails("IDirect3DDevice9::BeginScene")) return D3DERR_INVALIDCALL;
    m_State->bInScene = true;
    return D3D_OK;
}

HRESULT IDirect3DDevice9::EndScene()
{
    if (!m_State->bInScene) return D3DERR_INVALIDCALL;
    m_State->bInScene = false;
    return D3D_OK;
}

HRESULT IDirect3DDevice9::Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float, DWORD)
{
    auto& s = *m_State;
    if (!s.lpRenderTarget || (count > 0 && !rects)) return D3DERR_INVALIDCALL;
    if (s.bLost || !(flags & D3DCLEAR_TARGET)) return D3D_OK;
    cPixelStore& target = *s.lpRenderTarget->m_Store;
    const std::uint32_t pixel = plat::PackFromArgb(target.format, color);
    const D3DRECT whole{0, 0, target.nWidth, target.nHeight};
    const DWORD n = count == 0 ? 1 : count;
    for (DWORD i = 0; i < n; ++i) {
        const D3DRECT& r = count == 0 ? whole : rects[i];
        const int x0 = std::max<LONG>(r.x1, 0), y0 = std::max<LONG>(r.y1, 0);
        const int x1 = std::min<LONG>(r.x2, target.nWidth), y1 = std::min<LONG>(r.y2, target.nHeight);
        if (x0 < x1 && y0 < y1) target.Fill(x0, y0, x1, y1, pixel);
    }
    return D3D_OK;
}

HRESULT IDirect3DDevice9::SetRenderState(D3DRENDERSTATETYPE state, DWORD value)
{
    if (state < 0 || state >= 256) return D3DERR_INVALIDCALL;
    m_State->renderStates[state] = value;
    return D3D_OK;
}

HRESULT IDirect3DDevice9::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value)
{
    if (type < 0 || type >= 32) return D3DERR_INVALIDCALL;
    if (stage == 0) m_State->stageStates[type] = value;  // later stages are not drawn with
    return D3D_OK;
}

HRESULT IDirect3DDevice9::SetSamplerState(DWORD, D3DSAMPLERSTATETYPE, DWORD)
{
    return D3D_OK;  // sampling is always point sampling with wrap addressing
}

HRESULT IDirect3DDevice9::SetTexture(DWORD stage, IDirect3DTexture9* texture)
{
    if (stage == 0) plat::Assign(m_State->lpTexture, texture);
    return D3D_OK;
}

HRESULT IDirect3DDevice9::SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offset, UINT stride)
{
    if (stream != 0) return D3DERR_INVALIDCALL;
    plat::Assign(m_State->lpStream, buffer);
    m_State->nStreamOffset = offset;
    m_State->nStreamStride = stride;
    return D3D_OK;
}

HRESULT IDirect3DDevice9::SetIndices(IDirect3DIndexBuffer9* indices)
{
    plat::Assign(m_State->lpIndices, indices);
    return D3D_OK;
}

HRESULT IDirect3DDevice9::SetFVF(DWORD fvf)
{
    m_State->dwFvf = fvf;
    return D3D_OK;
}

namespace {

plat::cRasterState RasterState(const plat::cD3DDeviceState& s)
{
    plat::cRasterState r;
    r.target = s.lpRenderTarget->m_Store.get();
    r.texture = s.lpTexture ? s.lpTexture->m_lpLevel0->m_Store.get() : nullptr;
    r.colorOp = s.stageStates[D3DTSS_COLOROP];
    r.colorArg1 = s.stageStates[D3DTSS_COLORARG1];
    r.colorArg2 = s.stageStates[D3DTSS_COLORARG2];
    r.alphaOp = s.stageStates[D3DTSS_ALPHAOP];
    r.alphaArg1 = s.stageStates[D3DTSS_ALPHAARG1];
    r.alphaArg2 = s.stageStates[D3DTSS_ALPHAARG2];
    r.textureFactor = s.renderStates[D3DRS_TEXTUREFACTOR];
    r.blend = s.renderStates[D3DRS_ALPHABLENDENABLE] != 0;
    r.srcBlend = s.renderStates[D3DRS_SRCBLEND];
    r.destBlend = s.renderStates[D3DRS_DESTBLEND];
    return r;
}

constexpr DWORD kVertexFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;

bool Drawable(const plat::cD3DDeviceState& s, D3DPRIMITIVETYPE type)
{
    return s.bInScene && s.lpRenderTarget && s.lpStream && s.dwFvf == kVertexFvf && s.nStreamStride == 28 &&
           (type == D3DPT_TRIANGLESTRIP || type == D3DPT_TRIANGLELIST);
}

bool FetchVertex(const plat::cD3DDeviceState& s, std::int64_t index, plat::cD3DVertex& out)
{
    const std::int64_t at = s.nStreamOffset + index * 28;
    if (index < 0 || at + 28 > static_cast<std::int64_t>(s.lpStream->m_Bytes.size())) return false;
    std::memcpy(&out, s.lpStream->m_Bytes.data() + at, 28);
    return true;
}

// The vertices of one draw; the four of a quad stay off the heap.
class cVertexList {
public:
    explicit cVertexList(std::size_t count) : m_nCount(count)
    {
        if (count > 4) m_Heap.resize(count);
    }
    std::size_t size() const { return m_nCount; }
    plat::cD3DVertex* data() { return m_nCount > 4 ? m_Heap.data() : m_Local; }
    const plat::cD3DVertex* data() const { return m_nCount > 4 ? m_Heap.data() : m_Local; }
    plat::cD3DVertex& operator[](std::size_t i) { return data()[i]; }
    const plat::cD3DVertex& operator[](std::size_t i) const { return data()[i]; }

private:
    std::size_t m_nCount;
    plat::cD3DVertex m_Local[4];
    std::vector<plat::cD3DVertex> m_Heap;
};

void Draw(const plat::cD3DDeviceState& s, D3DPRIMITIVETYPE type, const cVertexList& v)
{
    plat::cRasterState raster = RasterState(s);
    // A render target drawn with its own texture samples the picture as it was before the
    // draw, never pixels the draw has written already.
    if (raster.texture && raster.texture == raster.target) {
        // The drawing thread's copy, kept between draws so that its memory is not taken anew.
        static thread_local std::unique_ptr<plat::cPixelStore> before;
        const plat::cPixelStore& target = *raster.target;
        if (!before || before->nPitch != target.nPitch || before->nHeight != target.nHeight)
            before = std::make_unique<plat::cPixelStore>(target.nWidth, target.nHeight, target.format);
        before->nWidth = target.nWidth;
        before->format = target.format;
        before->bytes.assign(target.bytes.begin(), target.bytes.end());
        ++before->nGeneration;
        raster.texture = before.get();
    }
    if (type == D3DPT_TRIANGLESTRIP) {
        plat::DrawTriangleStrip(raster, v.data(), static_cast<int>(v.size()));
    } else {
        for (std::size_t i = 0; i + 2 < v.size(); i += 3) plat::DrawTriangle(raster, v[i], v[i + 1], v[i + 2]);
    }
}

std::size_t VertexCount(D3DPRIMITIVETYPE type, UINT primitives)
{
    return type == D3DPT_TRIANGLESTRIP ? primitives + 2 : primitives * 3;
}

}  // namespace

HRESULT IDirect3DDevice9::DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount)
{
    auto& s = *m_State;
    if (!Drawable(s, type)) return D3DERR_INVALIDCALL;
    if (s.bLost || primitiveCount == 0) return D3D_OK;
    cVertexList vertices(VertexCount(type, primitiveCount));
    for (std::size_t i = 0; i < vertices.size(); ++i)
        if (!FetchVertex(s, startVertex + static_cast<std::int64_t>(i), vertices[i])) return D3DERR_INVALIDCALL;
    Draw(s, type, vertices);
    return D3D_OK;
}

HRESULT IDirect3DDevice9::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, int baseVertex, UINT, UINT, UINT startIndex,
                                               UINT primitiveCount)
{
    auto& s = *m_State;
    if (!Drawable(s, type) || !s.lpIndices) return D3DERR_INVALIDCALL;
    if (s.bLost || primitiveCount == 0) return D3D_OK;
    cVertexList vertices(VertexCount(type, primitiveCount));
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        const std::size_t at = (startIndex + i) * 2;
        if (at + 2 > s.lpIndices->m_Bytes.size()) return D3DERR_INVALIDCALL;
        const std::int64_t index = s.lpIndices->m_Bytes[at] | s.lpIndices->m_Bytes[at + 1] << 8;
        if (!FetchVertex(s, baseVertex + index, vertices[i])) return D3DERR_INVALIDCALL;
    }
    Draw(s, type, vertices);
    return D3D_OK;
}

HRESULT IDirect3DDevice9::SetDialogBoxMode(BOOL)
{
    return plat::DeviceCallFails("IDirect3DDevice9::SetDialogBoxMode") ? D3DERR_INVALIDCALL : D3D_OK;
}

// --- the Direct3D object --------------------------------------------------------------

HRESULT IDirect3D9::GetDeviceCaps(UINT adapter, D3DDEVTYPE type, D3DCAPS9* caps)
{
    if (adapter != 0 || type != D3DDEVTYPE_HAL || !caps || plat::DeviceCallFails("IDirect3D9::GetDeviceCaps"))
        return D3DERR_INVALIDCALL;
    std::lock_guard lock(plat::s_DeviceLock);
    *caps = plat::s_Caps;
    return D3D_OK;
}

HRESULT IDirect3D9::CheckDeviceFormat(UINT adapter, D3DDEVTYPE type, D3DFORMAT, DWORD, D3DRESOURCETYPE, D3DFORMAT checkFormat)
{
    if (adapter != 0 || type != D3DDEVTYPE_HAL) return D3DERR_INVALIDCALL;
    return plat::SupportedSurfaceFormat(checkFormat) ? D3D_OK : D3DERR_NOTAVAILABLE;
}

HRESULT IDirect3D9::CreateDevice(UINT adapter, D3DDEVTYPE type, HWND, DWORD behaviorFlags, D3DPRESENT_PARAMETERS* params,
                                 IDirect3DDevice9** device)
{
    if (!device) return D3DERR_INVALIDCALL;
    *device = nullptr;
    if (adapter != 0 || type != D3DDEVTYPE_HAL || !params) return D3DERR_INVALIDCALL;
    const bool hardware = behaviorFlags & D3DCREATE_HARDWARE_VERTEXPROCESSING;
    if (plat::DeviceCallFails(hardware ? "IDirect3D9::CreateDevice.Hardware" : "IDirect3D9::CreateDevice.Software"))
        return D3DERR_NOTAVAILABLE;
    const D3DFORMAT f = params->BackBufferFormat;
    if (f != D3DFMT_X8R8G8B8 && f != D3DFMT_A8R8G8B8 && f != D3DFMT_R5G6B5 && f != D3DFMT_A1R5G5B5 && f != D3DFMT_X1R5G5B5)
        return D3DERR_NOTAVAILABLE;
    auto* created = new IDirect3DDevice9(*params);
    {
        std::lock_guard lock(plat::s_DeviceLock);
        plat::s_LiveDevice = created->m_State;
    }
    *device = created;
    return D3D_OK;
}

IDirect3D9* Direct3DCreate9(UINT sdkVersion)
{
    if (sdkVersion != D3D_SDK_VERSION || plat::DeviceCallFails("Direct3DCreate9")) return nullptr;
    return new IDirect3D9();
}
