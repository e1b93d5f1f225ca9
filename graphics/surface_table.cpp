// Tables of surfaces: the standard surfaces loaded by index, and the vectors and lists of
// surfaces that scenes add and remove.
#include <algorithm>
#include <cstring>
#include "graphics/device.h"
#include "graphics/surface.h"
#include "shell/error_box.h"

namespace {

// Moving the records of a vector to new storage would leave the Direct3D surface list
// pointing at the old places: point it at the new ones.
void FollowMovedRecords(const DDSURFACEDATA* oldBase, std::size_t count, DDSURFACEDATA* newBase)
{
    if (oldBase == newBase || !oldBase) return;
    for (DDSURFACEDATA*& listed : g_SurfaceList)
        if (listed >= oldBase && listed < oldBase + count) listed = newBase + (listed - oldBase);
}

SURFACEINFO MakeInfo(BOOL bTransmit, int nMemType, int nDTMemType, DDSURFACEDATA* lpMirrorSD)
{
    SURFACEINFO info;
    std::memset(&info, 0, sizeof info);
    info.bTransmit = bTransmit;
    info.nMemType = nMemType;
    info.nDTMemType = nDTMemType;
    info.bMirror = lpMirrorSD != nullptr;
    return info;
}

DDSURFACEDATA ClearedRecord()
{
    DDSURFACEDATA record;
    ClearSurfaceData(&record);
    return record;
}

}  // namespace

bool DDLoadSurfaces(DDSURFACEDATA* lpSurfaces, const int* lpIndices, int nCount)
{
    if (!lpSurfaces || !lpIndices || !g_lpSurfaceInfo) return false;
    for (int i = 0; i < nCount; ++i) {
        const int a = lpIndices[i];
        if (a < 0 || a >= g_nSurfaces) continue;
        const SURFACEINFO& info = g_lpSurfaceInfo[a];
        DDSURFACEDATA* record = &lpSurfaces[a];
        DDReleaseSurface(record);
        // The mirror and palette-map flags are passed as non-null markers.
        DDSURFACEDATA* mirror = info.bMirror ? record : nullptr;
        if (std::strcmp(info.szFileName, "E") == 0) {
            if (!DDCreateSurface(record, info.nWidth, info.nHeight, info.bTransmit, info.nMemType, info.nDTMemType, mirror,
                                 FALSE) &&
                !info.bOptional) {
                OutOfMemoryBox();
                return false;
            }
            continue;
        }
        const int code = DDCreateSurfaceFromFile(record, info.szFileName, info.bTransmit, g_nBpp, info.nMemType,
                                                 info.nDTMemType, mirror, info.bPalMap ? &info : nullptr, info.nMirrorW,
                                                 info.nMirrorH, FALSE);
        if (!DDCheckSurfaceResult(code) && !info.bOptional) {
            ErrorBoxF("%s の読み込みに失敗！", info.szFileName);
            return false;
        }
    }
    return true;
}

bool DDAddSurface(std::vector<DDSURFACEDATA>* lpSurfaces, std::vector<SURFACEINFO>* lpInfo, int nWidth, int nHeight,
                  BOOL bTransmit, int nMemType, int nDTMemType, DDSURFACEDATA* lpMirrorSD)
{
    if (!lpSurfaces || !lpInfo) return false;
    const DDSURFACEDATA* oldBase = lpSurfaces->data();
    const std::size_t oldCount = lpSurfaces->size();
    lpSurfaces->push_back(ClearedRecord());
    FollowMovedRecords(oldBase, oldCount, lpSurfaces->data());
    lpInfo->push_back(MakeInfo(bTransmit, nMemType, nDTMemType, lpMirrorSD));
    return DDCreateSurface(&lpSurfaces->back(), nWidth, nHeight, bTransmit, nMemType, nDTMemType, lpMirrorSD, FALSE);
}

bool DDAddSurfaceList(cSafeList<DDSURFACEDATA>* lpSurfaces, cSafeList<SURFACEINFO>* lpInfo, int nWidth, int nHeight,
                      BOOL bTransmit, int nMemType, int nDTMemType, DDSURFACEDATA* lpMirrorSD)
{
    if (!lpSurfaces || !lpInfo) return false;
    lpSurfaces->push_back(ClearedRecord());
    lpInfo->push_back(MakeInfo(bTransmit, nMemType, nDTMemType, lpMirrorSD));
    return DDCreateSurface(&lpSurfaces->back(), nWidth, nHeight, bTransmit, nMemType, nDTMemType, lpMirrorSD, FALSE);
}

int DDRemoveSurface(cSafeList<DDSURFACEDATA>* lpSurfaces, cSafeList<SURFACEINFO>* lpInfo, DDSURFACEDATA* lpSD)
{
    if (!lpSurfaces || !lpInfo) return 1;
    // A record that is not in the list removes nothing (not the list's first surface).
    auto record = std::find_if(lpSurfaces->begin(), lpSurfaces->end(), [lpSD](DDSURFACEDATA& r) { return &r == lpSD; });
    if (record == lpSurfaces->end()) return 1;
    const auto position = std::distance(lpSurfaces->begin(), record);
    DDReleaseSurface(&*record);
    lpSurfaces->erase(record);
    if (position < static_cast<std::ptrdiff_t>(lpInfo->size())) lpInfo->erase(std::next(lpInfo->begin(), position));
    return 1;
}

void DDReleaseSurfaceVector(std::vector<DDSURFACEDATA>* lpSurfaces)
{
    if (!lpSurfaces) return;
    for (DDSURFACEDATA& record : *lpSurfaces) DDReleaseSurface(&record);
}

void DDReleaseSurfaceList(cSafeList<DDSURFACEDATA>* lpSurfaces)
{
    if (!lpSurfaces) return;
    for (int i = 0; i < static_cast<int>(lpSurfaces->size()); ++i) DDReleaseSurface(&lpSurfaces->At(i));
}
