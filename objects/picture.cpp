#include "objects/picture.h"

#include "graphics/blit.h"
#include "play/play_scene.h"
#include "shell/game_arithmetic.h"

namespace {

constexpr DWORD kPictureTransparent = 1;
constexpr int kTimedDisplay = 2;

}  // namespace

void cPicture::Init(int id, double x, double y, int width, int height, int screenFixed, int layer, int zoom,
                    int displayMode, int frames, int timerRunsWhilePaused, int hasId, int idNumber)
{
    m_nId = static_cast<std::int16_t>(id);
    m_dX = x;
    m_dY = y;
    m_nWidth = width;
    m_nHeight = height;
    m_bScreenFixed = screenFixed;
    m_nLayer = layer;
    m_bScaled = (zoom == 100) ? 0 : 1;
    m_nDisplayMode = displayMode;
    m_nFramesLeft = frames;
    m_bTimerRunsWhilePaused = timerRunsWhilePaused;
    m_bHasId = hasId;
    m_nIdNumber = idNumber;
    m_bLatched = 0;
}

int cPicture::Draw(DDSURFACEDATA* target, DDSURFACEDATA* surface, int paused)
{
    if (m_nDisplayMode == kTimedDisplay && (m_bTimerRunsWhilePaused || !paused)) {
        m_nFramesLeft = WrapSub(m_nFramesLeft, 1);
        if (m_nFramesLeft < 0) return 1;
    }
    // Each value is truncated before the subtraction.
    const cPlayScene* scene = Scene();
    const int scrollX = scene ? TruncToInt(scene->m_ScrollX.m_dPos) : 0;
    const int scrollY = scene ? TruncToInt(scene->m_ScrollY.m_dPos) : 0;
    int px = WrapSub(TruncToInt(m_dX), scrollX);
    int py = WrapSub(TruncToInt(m_dY), scrollY);
    if (m_bScreenFixed) {
        if (!m_bLatched) {
            m_bLatched = 1;
            m_nLatchedX = px;
            m_nLatchedY = py;
        }
        px = m_nLatchedX;
        py = m_nLatchedY;
    }
    if (!surface) return 0;
    if (m_bScaled) DDBlt(target, px, py, m_nWidth, m_nHeight, surface, 0, 0, surface->nWidth, surface->nHeight, kPictureTransparent);
    else DDBltFast(target, px, py, m_nWidth, m_nHeight, surface, 0, 0, kPictureTransparent);
    return 0;
}
