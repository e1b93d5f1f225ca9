// The database's pictures of a stage: the dedicated chara pictures, the sword pictures and the
// effect pictures, each set a vector of surface records beside their descriptions. Under
// Direct3D the flipped and effect copies are mirror records of an entry's first picture, so
// one texture serves them all; under DirectDraw each record holds its own copy of the file.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "data/database.h"
#include "graphics/device.h"
#include "graphics/stage_picture_surfaces.h"
#include "graphics/surface.h"
#include "play/stage_pictures.h"
#include "shell/log.h"

namespace {

// One surface of an entry: its picture file, where it lives and, for a mirror record, the
// surface of the entry it shows (-1 none).
struct PICTURESURFACE {
    const char* szFile;
    int nMemType;       // 0 video, 1 system (under DirectDraw)
    int bOptional;
    int nMirrorOf;      // index in the entry
    int nFlipWidth;     // cells flipped left-right, 0 none
};

constexpr int kVideo = 0;
constexpr int kSystem = 1;

class cPictureSet {
public:
    cPictureSet(cSafeVector<DDSURFACEDATA>& surfaces, cSafeVector<SURFACEINFO>& info, const char* failure)
        : m_Surfaces(surfaces), m_Info(info), m_szFailure(failure)
    {
    }
    // Every surface released and both lists emptied, with room for `entries` entries of
    // `perEntry` surfaces (none for a table without entries to load).
    void Begin(int entries, int perEntry)
    {
        DDReleaseSurfaceVector(&m_Surfaces);
        m_Surfaces.clear();
        m_Info.clear();
        const std::size_t count = static_cast<std::size_t>(std::max(entries, 0)) * static_cast<std::size_t>(perEntry);
        m_Surfaces.reserve(count);
        m_Info.reserve(count);
    }
    // Appends one entry's surfaces, then creates them from the last to the first and points
    // its mirror records at the surfaces they show.
    template <std::size_t N>
    void Add(const PICTURESURFACE (&surfaces)[N])
    {
        const std::size_t first = m_Surfaces.size();
        for (const PICTURESURFACE& s : surfaces) {
            DDSURFACEDATA record;
            ClearSurfaceData(&record);
            m_Surfaces.push_back(record);
            SURFACEINFO info;
            std::memset(&info, 0, sizeof info);
            std::snprintf(info.szFileName, sizeof info.szFileName, "%s", s.szFile);
            info.bTransmit = 1;
            info.nMemType = s.nMemType;
            info.nDTMemType = DTMEMORYTYPE_VIDEO_RT;
            info.bMirror = s.nMirrorOf >= 0 ? 1 : 0;
            info.bOptional = s.bOptional;
            info.nMirrorW = s.nFlipWidth;
            m_Info.push_back(info);
        }
        for (std::size_t k = N; k-- > 0;) Create(first + k);
        if (!lpDTCon) return;
        for (std::size_t k = 0; k < N; ++k)
            if (surfaces[k].nMirrorOf >= 0) m_Surfaces[first + k].lpMirrorSD = &m_Surfaces[first + surfaces[k].nMirrorOf];
    }

private:
    void Create(std::size_t i)
    {
        DDSURFACEDATA* record = &m_Surfaces[i];
        const SURFACEINFO& info = m_Info[i];
        // A mirror record is marked by a pointer of its own until it is linked.
        const int code = DDCreateSurfaceFromFile(record, info.szFileName, info.bTransmit, g_nBpp, info.nMemType,
                                                 info.nDTMemType, info.bMirror ? record : nullptr, nullptr, info.nMirrorW,
                                                 info.nMirrorH, FALSE);
        if (DDCheckSurfaceResult(code)) return;
        EcLogF(m_szFailure, info.szFileName);
        DDReleaseSurface(record);
        ClearSurfaceData(record);
    }

    cSafeVector<DDSURFACEDATA>& m_Surfaces;
    cSafeVector<SURFACEINFO>& m_Info;
    const char* m_szFailure;
};

}  // namespace

void cStagePictures::LoadCharaPictures()
{
    cPictureSet set(g_CharaSurface, g_CharaSurfaceInfo, "専用bmp %s 読み込み失敗！");
    const int n = static_cast<int>(g_Database.m_BmpCharaExcs.size());
    set.Begin(n - 1, 4);
    for (int i = 1; i < n; ++i) {
        const cBmpCharaExcData& entry = g_Database.m_BmpCharaExcs.At(i);
        const char* file = entry.m_strFile.c_str();
        // A picture of large cells flips each whole cell, of the size its pictures are cut in.
        const int flip = entry.CellDots();
        const PICTURESURFACE surfaces[] = {
            {file, kVideo, 0, -1, 0},
            {file, kVideo, 0, 0, flip},
            {file, kSystem, 0, 0, 0},
            {file, kSystem, 0, 0, flip},
        };
        set.Add(surfaces);
    }
}

void cStagePictures::LoadSwordPictures()
{
    cPictureSet set(g_SwordSurface, g_SwordSurfaceInfo, "ソード %s 読み込み失敗！");
    const int n = static_cast<int>(g_Database.m_SwordTypes.size());
    set.Begin(n, 4);
    for (int i = 0; i < n; ++i) {
        const cSwordTypeData& entry = g_Database.m_SwordTypes.At(i);
        const PICTURESURFACE surfaces[] = {
            {entry.m_strFile.c_str(), kVideo, 0, -1, 0},
            {entry.m_strFile2.c_str(), kVideo, 0, -1, 0},
            {entry.m_strFile.c_str(), kSystem, 0, 0, 0},
            {entry.m_strFile2.c_str(), kSystem, 0, 1, 0},
        };
        set.Add(surfaces);
    }
}

void cStagePictures::LoadEffectPictures()
{
    cPictureSet set(g_EffectSurface, g_EffectSurfaceInfo, "エフェクト %s 読み込み失敗！");
    const int n = static_cast<int>(g_Database.m_Effects.size());
    set.Begin(n - 1, 2);
    for (int i = 1; i < n; ++i) {
        const char* file = g_Database.m_Effects.At(i).m_strFile.c_str();
        const PICTURESURFACE surfaces[] = {
            {file, kVideo, 1, -1, 0},
            {file, kSystem, 1, 0, 0},
        };
        set.Add(surfaces);
    }
}
