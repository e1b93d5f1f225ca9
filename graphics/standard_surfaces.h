#pragma once
// The standard surfaces: 71 records and their descriptions, loaded by index.
#include "graphics/surface_data.h"

constexpr int kStdSurfaceCount = 71;

extern DDSURFACEDATA g_StdSurface[kStdSurfaceCount];
extern SURFACEINFO g_SurfaceInfo[kStdSurfaceCount];

// The standard surfaces the code names; the description table gives each one's file.
constexpr int kDebugSheet = 1;          // "bmp\Debug.bmp"
constexpr int kBlockSheet = 2;          // "bmp\Block.bmp", 3 its mirror
constexpr int kFirstCharaSheet = 4;     // "bmp\Character1.bmp" to 8, each followed by its mirror
constexpr int kItemSheet = 40;          // "bmp\Item.bmp", 41 its mirror
constexpr int kMarkSheet = 43;          // "bmp\Mark.bmp", 44 its mirror
constexpr int kStatusPicture = 46;      // "bmp\StatusWindow.bmp"
constexpr int kAccessoryPicture = 49;   // "bmp\Accessory.bmp"
constexpr int kWordPicture = 51;        // "bmp\Word.bmp"
constexpr int kBackgroundSlot = 55;     // the first of the stage's background pictures
constexpr int kBackgroundSlots = 8;
constexpr int kShotSheet = 63;          // the shot cells facing one way, 64 the other
constexpr int kWorkPicture = 67;        // a 640 x 480 work surface
