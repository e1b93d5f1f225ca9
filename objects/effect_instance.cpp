#include "objects/effect_instance.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "data/database.h"
#include "graphics/blit.h"
#include "graphics/device.h"
#include "graphics/stage_picture_surfaces.h"
#include "objects/database_working_tables.h"
#include "objects/object_types.h"
#include "play/play_scene.h"
#include "shell/game_arithmetic.h"
#include "shell/system_ini.h"

namespace {

constexpr DWORD kEffectTransparent = 1;

// Surface `index` of the effect pictures, or null when there is none: a bad id keeps its own
// number after its entry fell back to entry 0, so its surfaces may lie outside the list.
DDSURFACEDATA* EffectPictureSurface(int index)
{
    if (index < 0 || index >= static_cast<int>(g_EffectSurface.size())) return nullptr;
    return &g_EffectSurface[static_cast<std::size_t>(index)];
}

}  // namespace

const cEffectData& EffectEntry(int id)
{
    return g_Database.m_Effects.At(id);
}

cEffectInstance::cEffectInstance(const EFFECTPLACEMENT& placement)
    : m_nId(static_cast<std::int16_t>(placement.nId)),
      m_dX(placement.dX),
      m_dY(placement.dY),
      m_nWidth(placement.nWidth),
      m_nHeight(placement.nHeight),
      m_bAnimatePaused(placement.bAnimatePaused)
{
    m_bScaled = (m_nWidth != EffectEntry(m_nId).m_nWidth) ? 1 : 0;
    SetupAnimation(m_nId);
}

void cEffectInstance::InitHit(int id, const HITBOX& a, const HITBOX& b, int scale)
{
    m_Animator.FreePatterns();
    m_bAnimatePaused = 0;
    m_nId = static_cast<std::int16_t>(id);
    const cEffectData& entry = EffectEntry(m_nId);
    int spread = 1;
    if (entry.m_bScaleWithChara != 0 && scale > 1) {
        m_bScaled = 1;
        m_nWidth = WrapMul(scale, entry.m_nWidth);
        m_nHeight = WrapMul(scale, entry.m_nHeight);
        spread = scale;
    } else {
        m_bScaled = 0;
        m_nWidth = entry.m_nWidth;
        m_nHeight = entry.m_nHeight;
    }

    DBLRECT overlap;
    if (a.rect.Intersects(b.rect)) {
        overlap.left = std::max(a.rect.left, b.rect.left);
        overlap.top = std::max(a.rect.top, b.rect.top);
        overlap.right = std::min(a.rect.right, b.rect.right);
        overlap.bottom = std::min(a.rect.bottom, b.rect.bottom);
    }
    m_dX = overlap.left + (TruncToInt(overlap.right - overlap.left + 1) >> 1) - (m_nWidth >> 1);
    m_dY = overlap.top + (TruncToInt(overlap.bottom - overlap.top + 1) >> 1) - (m_nHeight >> 1);

    // Both draws are made whatever the boxes, x first, so that a replay draws the same numbers.
    const int n = WrapAdd(WrapMul(8, spread), 1);
    const int shift = WrapMul(4, spread);
    const int dx = WrapSub(WrapMod(std::rand(), n), shift);
    m_dX += dx;
    const int dy = WrapSub(WrapMod(std::rand(), n), shift);
    m_dY += dy;
    SetupAnimation(m_nId);
}

void cEffectInstance::SetupAnimation(int id)
{
    m_Animator.m_Patterns.resize(1);
    m_Animator.m_Patterns[0] = g_EffectPatterns.At(id);
    m_Animator.SetPattern(0, 1);
}

int cEffectInstance::Draw(DDSURFACEDATA* target, int paused)
{
    const cEffectData& entry = EffectEntry(m_nId);
    if (entry.m_Frames.empty()) return 1;
    int frame = 0;
    if (!paused || m_bAnimatePaused) {
        frame = m_Animator.Tick();
        if (frame == kAnimeEnd) return 1;
    } else {
        frame = m_Animator.CurrentFrame();
    }

    const cPlayScene* scene = Scene();
    const double scrollX = scene ? scene->m_ScrollX.m_dPos : 0.0;
    const double scrollY = scene ? scene->m_ScrollY.m_dPos : 0.0;
    const int sx = TruncToInt(m_dX - scrollX);
    const int sy = TruncToInt(m_dY - scrollY);
    const int cellX = WrapMul(frame, entry.m_nWidth);
    const int drawing = WrapSub(WrapMul(2, m_nId), 2);
    if (m_bScaled) {
        const bool stretchFromDrawing = lpDTCon == nullptr && g_SystemIni.DD_VideoStretch;
        DDSURFACEDATA* source = EffectPictureSurface(stretchFromDrawing ? drawing : WrapAdd(drawing, 1));
        if (source)
            DDBlt(target, sx, sy, m_nWidth, m_nHeight, source, cellX, 0, entry.m_nWidth, entry.m_nHeight, kEffectTransparent);
    } else if (DDSURFACEDATA* source = EffectPictureSurface(drawing)) {
        DDBltFast(target, sx, sy, m_nWidth, m_nHeight, source, WrapMul(frame, m_nWidth), 0, kEffectTransparent);
    }
    return 0;
}
