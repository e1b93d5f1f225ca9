#pragma once
// Where a chara, block, item or shot frame is drawn from: the sheet for each facing, its copy
// for per-pixel effects, the pair used when scaled, and the frame's top-left pixel. Sheets are
// named by their place in the stage's standard surface array or in its own-picture list.
#include <cstdint>

#include "data/chara_bitmap_data.h"
#include "graphics/surface_data.h"
#include "shell/safe_container.h"

class cGameObject;

enum SURFACELIST : int {
    SURFACELIST_STANDARD = 0,      // the graphics layer's numbered surfaces
    SURFACELIST_OWNPICTURE = 1,    // the stage's own-picture surfaces, four per picture
};

struct SURFACEREF {
    int nList = SURFACELIST_STANDARD;
    int nIndex = 0;

    bool operator==(const SURFACEREF&) const = default;
};

// What image selection reads of the stage's pictures.
struct IMAGESHEETS {
    const DDSURFACEDATA* lpSurfaces = nullptr;   // the standard surfaces, for the sheet sizes
    int nSurfaces = 0;
    const cSafeVector<cBmpCharaExcData>* lpBitmaps = nullptr;   // own pictures by number
    int bVideoStretch = 0;   // DirectDraw with DD_VideoStretch: scale from the sheets themselves
};

// From a chara or shot sheet to its copy for per-pixel effects, in standard surface numbers.
constexpr int kEffectCopyOffset = 18;

class cImageSource {
public:
    // user 1: `object` is a chara, 2: an item. kind 0 block, 1 chara, 2 item, 3 shot, 4 own
    // picture; index the image number in its kind; base and frame pick the cell.
    void Set(int user, int kind, int index, int base, const cGameObject* object, int frame,
             const IMAGESHEETS& sheets);
    // Draws picture `index` of image kind `kind` (its cell `frame` where the kind has frames) as
    // a 16 x 16 icon at (x, y), the transparent colour skipped: the whole cell scaled down.
    static void SetSimple(DDSURFACEDATA* target, int x, int y, int kind, int index, int frame);

    SURFACEREF m_Surface;
    SURFACEREF m_EffectSurface;
    SURFACEREF m_OppSurface;
    SURFACEREF m_OppEffectSurface;
    SURFACEREF m_ScaleSurface;
    SURFACEREF m_ScaleBackSurface;
    int m_bColorChange = 0;
    int m_ColorState[2] = {0, 0};
    int m_bOwnScale = 0;
    std::int8_t m_nOwnScale = 1;   // in 32-pixel cells
    int m_nSrcX = 0;
    int m_nSrcY = 0;

private:
    void SetCharaSheet(int index, int base, const cGameObject* object, int frame, const IMAGESHEETS& sheets);
    void SetOwnPicture(int index, int base, const cGameObject* object, int frame, const IMAGESHEETS& sheets);
};

// The work surfaces of the draw effects, chosen at stage start: the giant charas' mark sheet,
// the effect work surface and the large work surface.
struct TILESHEETS {
    int nMarkSheet = 0;
    int nEffectWork = 0;
    int nLargeWork = 0;
};
TILESHEETS SelectTileSheetSurfaces(int directDraw, int videoStretch);

// The shot sheet to draw from: under DirectDraw a sheet without a DirectDraw surface (facing 0)
// or whose copy 18 further has one (facing 1) is drawn from that copy.
int ShotImageIndex(int index, int facing, int directDraw, const IMAGESHEETS& sheets);

// The running stage's sheets: the standard surfaces and the own pictures of the database.
IMAGESHEETS StageImageSheets();
// The surface a reference names, or null where it names none.
DDSURFACEDATA* ImageSurface(const SURFACEREF& ref);
// Draws the cell of `source` (sw × sh from its top-left pixel) at (x, y) with the size w × h,
// transparent: copied when the sizes agree, else stretched.
void DrawImageCell(DDSURFACEDATA* target, int x, int y, int w, int h, const cImageSource& source, int sw, int sh);
