// A sword's swing beside its owner, and the drawing of shots and swords.
#include "data/database.h"
#include "graphics/blit.h"
#include "graphics/device.h"
#include "graphics/stage_picture_surfaces.h"
#include "graphics/standard_surfaces.h"
#include "objects/chara.h"
#include "objects/chara_lookup.h"
#include "objects/chara_movement.h"
#include "objects/image_source.h"
#include "objects/shot.h"
#include "play/play_scene.h"
#include "shell/game_arithmetic.h"

namespace {

constexpr int kShotCellDots = 16;
constexpr int kShotCellsLeft = 20;    // the 16-dot shot cells facing left, 21 facing right
constexpr int kPicturesPerColumn = 30;
constexpr int kSwordSurfacesPerType = 4;
constexpr int kSwordStretchCopy = 2;

enum SWORDANCHOR { ANCHOR_FRONT = 0, ANCHOR_BEHIND = 1, ANCHOR_ABOVE = 2, ANCHOR_BELOW = 3 };

}  // namespace

int cShot::FollowOwner()
{
    cChara* owner = FindCharaBySerial(m_nOwnerSerial);
    if (!owner) return 1;
    owner->UpdateScreenRect();
    m_nDirection = owner->m_nDirection;
    const cSwordTypeData& type = g_Database.m_SwordTypes.At(m_Def.m_nTrajectory);
    const cSwordFrameData& frame = type.m_Frames.At(m_nSwordFrame);
    const int scale = Scale();
    if (m_nSteps == 0) {
        m_nBaseDrawWidth = m_nBaseWidth = m_nBaseHitWidth = frame.m_nWidth;
        m_nBaseDrawHeight = m_nBaseHeight = m_nBaseHitHeight = frame.m_nHeight;
        m_nDrawWidth = m_nWidth = m_nHitWidth = WrapMul(frame.m_nWidth, scale);
        m_nDrawHeight = m_nHeight = m_nHitHeight = WrapMul(frame.m_nHeight, scale);
    }

    const double sx = Scene() ? Scene()->m_ScrollX.m_dPos : 0.0;
    const double sy = Scene() ? Scene()->m_ScrollY.m_dPos : 0.0;
    const INTRECT& r = owner->m_ScreenRect;
    const int ownerW = WrapAdd(WrapSub(r.right, r.left), 1);
    const int ownerH = WrapAdd(WrapSub(r.bottom, r.top), 1);
    const int w = m_nWidth;
    const int h = m_nHeight;
    const bool right = owner->m_nDirection == 1;
    const double besideY = sy + r.top + ownerH / 2 - h / 2;
    const double acrossX = sx + r.left + ownerW / 2 - w / 2;
    switch (frame.m_nPlacement) {
    case ANCHOR_FRONT:
        m_dX = right ? sx + r.right + 1 : sx + r.left - w;
        m_dY = besideY;
        break;
    case ANCHOR_BEHIND:
        m_nDirection = right ? 0 : 1;
        m_dX = right ? sx + r.left - w : sx + r.right + 1;
        m_dY = besideY;
        break;
    case ANCHOR_ABOVE:
        m_dX = acrossX;
        m_dY = sy + r.top - h;
        break;
    case ANCHOR_BELOW:
        m_dX = acrossX;
        m_dY = sy + r.bottom + 1;
        break;
    default:
        break;
    }
    const int offsetX = WrapMul(frame.m_nOffsetX, scale);
    const int offsetY = WrapMul(frame.m_nOffsetY, scale);
    m_dX += (right && frame.m_bFlipX) ? -offsetX : offsetX;
    m_dY += (right && frame.m_bFlipY) ? -offsetY : offsetY;
    ClampX();
    ClampY(2);

    m_nSteps = WrapAdd(m_nSteps, 1);
    const int duration = WrapMul(WrapMul(frame.m_nDuration, CurrentStageSpeed().nSteps), 6);
    if (m_nSteps > duration) {
        m_nSteps = 0;
        m_nSwordFrame = WrapAdd(m_nSwordFrame, 1);
        if (m_nSwordFrame >= static_cast<int>(type.m_Frames.size())) return 1;
    }
    return 0;
}

void cShot::Draw(DDSURFACEDATA* target, int paused)
{
    if (m_Def.m_bInvisible) return;
    const bool directDraw = lpDTCon == nullptr;
    const IMAGESHEETS sheets = StageImageSheets();
    const int left = m_ScreenRect.left;
    const int top = m_ScreenRect.top;
    const bool stretch = Scale() > 1;
    if (IsShot()) {
        const int frame = paused ? m_Animator.CurrentFrame() : m_Animator.Tick();
        const int sheet = (m_nDirection == 0) ? kShotCellsLeft : kShotCellsLeft + 1;
        const int srcX = WrapMul(WrapAdd(frame, WrapMul(2, m_nImage / kPicturesPerColumn)), kShotCellDots);
        const int srcY = WrapMul(m_nImage % kPicturesPerColumn, kShotCellDots);
        if (!stretch) {
            DDSURFACEDATA* source = &g_StdSurface[ShotImageIndex(sheet, 0, directDraw, sheets)];
            DDBltFast(target, left, top, m_nDrawWidth, m_nDrawHeight, source, srcX, srcY, DDBLTFAST_SRCCOLORKEY);
        } else {
            DDSURFACEDATA* source = &g_StdSurface[ShotImageIndex(sheet, sheets.bVideoStretch ? 0 : 1, directDraw, sheets)];
            DDBlt(target, left, top, m_nDrawWidth, m_nDrawHeight, source, srcX, srcY, kShotCellDots, kShotCellDots,
                  DDBLTFAST_SRCCOLORKEY);
        }
        return;
    }
    // A sword draws from its type's pictures; a type whose pictures are missing draws nothing.
    const cSwordTypeData& type = g_Database.m_SwordTypes.At(m_Def.m_nTrajectory);
    const cSwordFrameData& frame = type.m_Frames.At(m_nSwordFrame);
    int index = WrapAdd(WrapMul(m_Def.m_nTrajectory, kSwordSurfacesPerType), m_nDirection);
    if (stretch && !(directDraw && sheets.bVideoStretch)) index = WrapAdd(index, kSwordStretchCopy);
    if (index < 0 || index >= static_cast<int>(g_SwordSurface.size())) return;
    DDSURFACEDATA* source = &g_SwordSurface[static_cast<std::size_t>(index)];
    if (!stretch) {
        DDBltFast(target, left, top, m_nDrawWidth, m_nDrawHeight, source, frame.m_nSrcX, frame.m_nSrcY,
                  DDBLTFAST_SRCCOLORKEY);
    } else {
        DDBlt(target, left, top, m_nDrawWidth, m_nDrawHeight, source, frame.m_nSrcX, frame.m_nSrcY, frame.m_nWidth,
              frame.m_nHeight, DDBLTFAST_SRCCOLORKEY);
    }
}
