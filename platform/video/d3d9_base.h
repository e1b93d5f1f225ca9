#pragma once
// What our software Direct3D and DirectDraw objects share: reference counting in the shape of
// IUnknown, the common result codes, and the block of pixels a surface holds.
#include <atomic>
#include <memory>
#include <vector>
#include "platform/video/pixel_format.h"
#include "platform/os/windows_types.h"

constexpr HRESULT S_OK = 0;
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);

// Objects are made by their factories and deleted by the last Release.
class IUnknown {
public:
    IUnknown() = default;
    IUnknown(const IUnknown&) = delete;
    IUnknown& operator=(const IUnknown&) = delete;
    ULONG AddRef() { return ++m_nRefs; }
    ULONG Release()
    {
        ULONG left = --m_nRefs;
        if (left == 0) delete this;
        return left;
    }

protected:
    virtual ~IUnknown() = default;

private:
    std::atomic<ULONG> m_nRefs{1};
};

namespace plat {

// Pixels of one surface: rows of pitch bytes, top-down. Shared between a render target and
// its system-memory copy, which then never need copying.
struct cPixelStore {
    int nWidth = 0;
    int nHeight = 0;
    int nPitch = 0;
    D3DFORMAT format = D3DFMT_UNKNOWN;
    std::vector<BYTE> bytes;
    // Bumped by every access that may change the pixels (a writable row, a lock, a copy), so
    // that what is known of the pixels can be kept until they change.
    std::uint64_t nGeneration = 0;
    // The pixel pipeline's note of each row's alpha, taken at generation rowAlphaGeneration;
    // and the pixels whose alpha draws have looked at since the pixels last changed, before
    // the note was taken again.
    mutable std::vector<BYTE> rowAlpha;
    mutable std::uint64_t rowAlphaGeneration = ~std::uint64_t{0};
    mutable std::uint64_t spanAlphaGeneration = ~std::uint64_t{0};
    mutable std::uint64_t spanAlphaPixels = 0;

    cPixelStore(int width, int height, D3DFORMAT fmt)
        : nWidth(width), nHeight(height), nPitch(((width * BytesPerPixel(fmt)) + 3) & ~3), format(fmt),
          bytes(static_cast<std::size_t>(nPitch) * height, 0)
    {
    }
    BYTE* Row(int y)
    {
        ++nGeneration;
        return bytes.data() + static_cast<std::size_t>(y) * nPitch;
    }
    const BYTE* Row(int y) const { return bytes.data() + static_cast<std::size_t>(y) * nPitch; }
    // Fills a rectangle (already inside the store) with one pixel value.
    void Fill(int x0, int y0, int x1, int y1, std::uint32_t pixel)
    {
        const int bpp = BytesPerPixel(format);
        for (int y = y0; y < y1; ++y) {
            BYTE* row = Row(y);
            for (int x = x0; x < x1; ++x) WritePixel(row + x * bpp, bpp, pixel);
        }
    }
};

// Releases an object held by a plain pointer and clears the pointer.
template <class T>
void SafeRelease(T*& object)
{
    if (object) object->Release();
    object = nullptr;
}

// Releases a COM-style object when the scope ends.
template <class T>
struct cReleaser {
    void operator()(T* object) const
    {
        if (object) object->Release();
    }
};
template <class T>
using cComPtr = std::unique_ptr<T, cReleaser<T>>;

}  // namespace plat
