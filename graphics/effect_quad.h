#pragma once
// The one-quad draw of the screen and blit effects under Direct3D: four vertices written into
// a record's own vertex buffer and drawn at once as a strip of two triangles onto a render
// target inside the scene, outside the sprite batch, the default target set again after.
#include <functional>
#include "graphics/surface_data.h"
#include "platform/video/d3d9_raster.h"

enum EFFECTQUADRESULT : int {
    EFFECTQUAD_NOVERTICES = 0,  // the vertex buffer could not be filled: nothing drawn
    EFFECTQUAD_NOSCENE = 1,     // the scene or the render target could not be set: nothing drawn
    EFFECTQUAD_DRAWN = 2,
};

// stages sets texture stage 0 (and the texture) once the target is set.
EFFECTQUADRESULT DDDrawEffectQuad(DDSURFACEDATA* lpVertexOwner, DDSURFACEDATA* lpTarget, const plat::cD3DVertex* lpQuad,
                                  const std::function<void()>& stages);
