#pragma once
// Surface records: every picture of the program, its device part per back end, and the
// descriptions the standard surfaces are loaded from.
#include "platform/video/d3d9.h"
#include "platform/video/ddraw.h"

// Direct3D texture memory types.
enum DTMEMORYTYPE : int {
    DTMEMORYTYPE_VIDEO_RT = 0,    // empty: render-target texture with a system copy; files: managed pool
    DTMEMORYTYPE_SYSTEM = 1,      // dynamic texture in system memory
    DTMEMORYTYPE_VIDEO_NORT = 2,  // accepted and handled as 0
};

struct DTSURFACEDATA {
    int nIndex;                         // serial from the device record; 0 for the back buffer
    IDirect3DSurface9* lpSurface;       // level 0 of the texture, or the device back buffer
    IDirect3DSurface9* lpSystemSurface; // system copy of a render-target texture
    IDirect3DVertexBuffer9* lpVB;       // four vertices of 28 bytes
    IUnknown* lpReserved;
    IDirect3DTexture9* lpTexture;
    D3DSURFACE_DESC descTex;
    int nMemType;                       // DTMEMORYTYPE
    BOOL bTransmit;
    BOOL bRenderTarget;
    BYTE* lpPalIndexMap;
};

struct DDRAWSURFACEDATA {
    IDirectDrawSurface7* lpDDS;
    BYTE* lpPalIndexMap;
};

// A plain record: all bytes 0 before its first use (ClearSurfaceData).
struct DDSURFACEDATA {
    DTSURFACEDATA* lpDT;
    DDRAWSURFACEDATA* lpDDraw;
    char szSurfaceType[260];
    int nWidth, nHeight;        // logical size
    int nTexWidth, nTexHeight;  // allocated size (texture coordinates divide by it)
    char szFileName[260];       // "E" for an empty surface, "" for none
    int nMemType;               // DirectDraw memory type: 0 video, 1 system
    int nMirrorW, nMirrorH;     // mirror cell sizes, 0 none
    DDSURFACEDATA* lpMirrorSD;  // Direct3D: the record whose picture this one shows
    BOOL bLost;                 // re-created empty after a loss: the owner redraws it

    // Allocates the device part of the back end chosen at DDInit when it is missing.
    void AllocDevicePart();
};

void ClearSurfaceData(DDSURFACEDATA* lpSD);

// Description of one standard surface.
struct SURFACEINFO {
    char szFileName[260];  // "E": an empty surface of the given size
    int bTransmit;
    int nMemType;
    int nDTMemType;
    int bMirror;           // Direct3D: a mirror record, linked by the start-up
    int bPalMap;
    int bOptional;         // may fail to load without stopping the load
    int nMirrorW;
    int nMirrorH;
    int nWidth;
    int nHeight;
};
