#pragma once
// Creating, loading, listing and releasing surface records on both back ends.
#include <vector>
#include "graphics/surface_data.h"
#include "shell/safe_container.h"

// Every Direct3D record made outside restore mode (mirror records and the back buffer
// excepted), in creation order; the device restore walks it.
extern std::vector<DDSURFACEDATA*> g_SurfaceList;

bool DDCreateSurface(DDSURFACEDATA* lpSD, int nWidth, int nHeight, BOOL bTransmit, int nMemType, int nDTMemType,
                     DDSURFACEDATA* lpMirrorSD, BOOL bRestore);
// 0 on success; DirectDraw: 4 surface, 8 image; Direct3D: the failing HRESULT (negative),
// 8 image, 1 mirror.
int DDCreateSurfaceFromFile(DDSURFACEDATA* lpSD, const char* szFile, BOOL bTransmit, int nBpp, int nMemType,
                            int nDTMemType, DDSURFACEDATA* lpMirrorSD, const void* lpPalMap, int nMirrorW, int nMirrorH,
                            BOOL bRestore);
// False for the codes of a failed creation: 4, 8, 9 and every negative code.
bool DDCheckSurfaceResult(int nCode);

bool DDLoadSurfaces(DDSURFACEDATA* lpSurfaces, const int* lpIndices, int nCount);
bool DDAddSurface(std::vector<DDSURFACEDATA>* lpSurfaces, std::vector<SURFACEINFO>* lpInfo, int nWidth, int nHeight,
                  BOOL bTransmit, int nMemType, int nDTMemType, DDSURFACEDATA* lpMirrorSD);
bool DDAddSurfaceList(cSafeList<DDSURFACEDATA>* lpSurfaces, cSafeList<SURFACEINFO>* lpInfo, int nWidth, int nHeight,
                      BOOL bTransmit, int nMemType, int nDTMemType, DDSURFACEDATA* lpMirrorSD);
int DDRemoveSurface(cSafeList<DDSURFACEDATA>* lpSurfaces, cSafeList<SURFACEINFO>* lpInfo, DDSURFACEDATA* lpSD);

void DDReleaseSurfaceData(DDSURFACEDATA* lpSD);
void DDReleaseSurface(DDSURFACEDATA* lpSD);
void DDReleaseSurfaceVector(std::vector<DDSURFACEDATA>* lpSurfaces);
void DDReleaseSurfaceList(cSafeList<DDSURFACEDATA>* lpSurfaces);

bool DDReloadBitmap(DDSURFACEDATA* lpSD, int nBpp);
bool CopyBitmap(DDSURFACEDATA* lpSD, const char* szFile, int nBpp, const void* lpPalMap, int nMirrorW, int nMirrorH);
bool CreateMirror(DDSURFACEDATA* lpDst, DDSURFACEDATA* lpSrc, int nMirrorW, int nMirrorH);

// Texture sizes under the device's caps.
void DDAdjustTextureSize(int* lpW, int* lpH);
BOOL DDCheckTextureSize(int nW, int nH);
int DDCheckBitmapSize(int* lpbTooBig, const char* szFile, int nMaxW, int nMaxH);
