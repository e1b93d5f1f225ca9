#pragma once
// The scope object through which every per-pixel operation reads and writes a surface. It
// locks by the pixel-access protocol of the live back end and unlocks when it goes out of
// scope (a render target's system copy is uploaded again on unlock).
#include "graphics/surface_data.h"

class cSurfaceLock {
public:
    cSurfaceLock() = default;
    cSurfaceLock(const cSurfaceLock&) = delete;
    cSurfaceLock& operator=(const cSurfaceLock&) = delete;
    ~cSurfaceLock() { Unlock(); }

    // Under Direct3D the record first goes through DDResolveMirror and DDRedirectBackBuffer.
    // False when nothing could be locked (m_lpBits stays null).
    BOOL Lock(DDSURFACEDATA* lpSD);
    void Unlock();

    // Row pitch in pixels, and the address of pixel (x, y).
    int PitchPixels() const { return m_nBytesPerPixel ? m_nPitch / m_nBytesPerPixel : 0; }
    int Pitch() const { return m_nPitch; }
    BYTE* PixelAddress(int x, int y) const { return m_lpBits + static_cast<std::ptrdiff_t>(y) * m_nPitch + x * m_nBytesPerPixel; }
    // The record actually locked (after mirror resolution and redirection).
    DDSURFACEDATA* Locked() const { return m_lpSD; }

    DDSURFACEDATA* m_lpSD = nullptr;
    BYTE* m_lpBits = nullptr;
    int m_nBpp = 32;
    int m_nBytesPerPixel = 4;

private:
    int m_nPitch = 0;
};

// TRUE when the record is g_BackBuffer itself and the display is full screen.
BOOL DDIsFullScreenBackBuffer(const DDSURFACEDATA* lpSD);
