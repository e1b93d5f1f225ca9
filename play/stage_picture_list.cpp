// The pictures that flows show over the stage, kept in step with their surfaces and the
// surfaces' descriptions.
#include <cstdio>
#include <cstring>
#include <iterator>

#include "graphics/device.h"
#include "graphics/stage_picture_surfaces.h"
#include "graphics/surface.h"
#include "play/stage_pictures.h"
#include "shell/game_arithmetic.h"

void cStagePictures::ClearPictures()
{
    DDReleaseSurfaceList(&g_PictureSurface);
    g_PictureSurface.clear();
    g_PictureSurfaceInfo.clear();
    m_Pictures.clear();
}

void cStagePictures::Draw(DDSURFACEDATA* target, int layer, int paused)
{
    auto surface = g_PictureSurface.begin();
    auto info = g_PictureSurfaceInfo.begin();
    for (auto picture = m_Pictures.begin(); picture != m_Pictures.end();) {
        // Lists out of step leave a picture without a surface: it draws nothing.
        DDSURFACEDATA* record = (surface != g_PictureSurface.end()) ? &*surface : nullptr;
        if (picture->m_nLayer == layer && picture->Draw(target, record, paused)) {
            if (record) {
                DDReleaseSurface(record);
                surface = g_PictureSurface.erase(surface);
            }
            if (info != g_PictureSurfaceInfo.end()) info = g_PictureSurfaceInfo.erase(info);
            picture = m_Pictures.erase(picture);
            continue;
        }
        if (surface != g_PictureSurface.end()) ++surface;
        if (info != g_PictureSurfaceInfo.end()) ++info;
        ++picture;
    }
}

int cStagePictures::FindPicture(int idNumber) const
{
    int index = 0;
    for (const cPicture& picture : m_Pictures) {
        if (picture.m_bHasId && picture.m_nIdNumber == idNumber) return index;
        ++index;
    }
    return -1;
}

void cStagePictures::RemovePicture(int index)
{
    if (index < 0 || index >= static_cast<int>(m_Pictures.size())) return;
    DDRemoveSurface(&g_PictureSurface, &g_PictureSurfaceInfo, &g_PictureSurface.At(index));
    m_Pictures.erase(std::next(m_Pictures.begin(), index));
}

DDSURFACEDATA* cStagePictures::LoadPictureSurface(int position, const char* file, int memType)
{
    DDSURFACEDATA record;
    ClearSurfaceData(&record);
    SURFACEINFO info;
    std::memset(&info, 0, sizeof info);
    std::snprintf(info.szFileName, sizeof info.szFileName, "%s", file);
    info.bTransmit = 1;
    info.nMemType = memType;
    ListInsertAt(g_PictureSurface, position, record);
    ListInsertAt(g_PictureSurfaceInfo, position, info);
    const int at = (position >= 0 && position < static_cast<int>(g_PictureSurface.size()))
                       ? position
                       : static_cast<int>(g_PictureSurface.size()) - 1;
    DDSURFACEDATA* created = &g_PictureSurface.At(at);
    const int code = DDCreateSurfaceFromFile(created, info.szFileName, TRUE, g_nBpp, memType, DTMEMORYTYPE_VIDEO_RT,
                                             nullptr, nullptr, 0, 0, FALSE);
    if (DDCheckSurfaceResult(code)) return created;
    DDRemoveSurface(&g_PictureSurface, &g_PictureSurfaceInfo, created);
    return nullptr;
}

int cStagePictures::InsertPicture(int position, cPicture picture)
{
    m_nNextSerial = WrapAdd(m_nNextSerial, 1);
    picture.m_nSerial = m_nNextSerial;
    ListInsertAt(m_Pictures, position, picture);
    return picture.m_nSerial;
}

void cStagePictures::RemovePictureBySerial(int serial)
{
    int index = 0;
    for (const cPicture& picture : m_Pictures) {
        if (picture.m_nSerial == serial) {
            RemovePicture(index);
            return;
        }
        ++index;
    }
}
