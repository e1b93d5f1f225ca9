#pragma once
// The program-wide surfaces that the stage, its picture commands, the scenes and the message
// windows make while they run: each a container of records beside the descriptions the
// records are made from. Their owners fill and empty them; after a DirectDraw loss the game
// manager restores them.
#include "graphics/surface_data.h"
#include "shell/safe_container.h"

// The stage's dedicated chara pictures, sword pictures and effect pictures.
extern cSafeVector<DDSURFACEDATA> g_CharaSurface;
extern cSafeVector<SURFACEINFO> g_CharaSurfaceInfo;
extern cSafeVector<DDSURFACEDATA> g_SwordSurface;
extern cSafeVector<SURFACEINFO> g_SwordSurfaceInfo;
extern cSafeVector<DDSURFACEDATA> g_EffectSurface;
extern cSafeVector<SURFACEINFO> g_EffectSurfaceInfo;
// The pictures shown by the picture command.
extern cSafeList<DDSURFACEDATA> g_PictureSurface;
extern cSafeList<SURFACEINFO> g_PictureSurfaceInfo;
// The text surfaces of the message windows.
extern cSafeList<DDSURFACEDATA> Off_Msg;
extern cSafeList<SURFACEINFO> Off_MsgInfo;
// The scenes' own surfaces.
extern cSafeVector<DDSURFACEDATA> g_SceneSurface;
extern cSafeVector<SURFACEINFO> g_SceneSurfaceInfo;
