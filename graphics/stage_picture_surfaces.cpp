// Built in this order, all empty.
#include "graphics/stage_picture_surfaces.h"

cSafeVector<DDSURFACEDATA> g_CharaSurface;
cSafeVector<SURFACEINFO> g_CharaSurfaceInfo;
cSafeVector<DDSURFACEDATA> g_SwordSurface;
cSafeVector<SURFACEINFO> g_SwordSurfaceInfo;
cSafeVector<DDSURFACEDATA> g_EffectSurface;
cSafeVector<SURFACEINFO> g_EffectSurfaceInfo;
cSafeList<DDSURFACEDATA> g_PictureSurface;
cSafeList<SURFACEINFO> g_PictureSurfaceInfo;
cSafeList<DDSURFACEDATA> Off_Msg;
cSafeList<SURFACEINFO> Off_MsgInfo;
cSafeVector<DDSURFACEDATA> g_SceneSurface;
cSafeVector<SURFACEINFO> g_SceneSurfaceInfo;
