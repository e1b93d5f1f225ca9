// The screen colour: its command and its frame by frame drawing on both back ends.
#include "play/screen_colour.h"

#include <algorithm>

#include "graphics/device.h"
#include "graphics/fill.h"
#include "graphics/palette.h"
#include "graphics/screen_color.h"
#include "graphics/standard_surfaces.h"
#include "graphics/translucent.h"
#include "platform/video/ddraw.h"
#include "play/play_scene.h"
#include "shell/game_arithmetic.h"

namespace {

constexpr int kNoColour = 255;

// The level the graphics layer gets: the strength and the time come from the game's data, so
// the level is kept to the range the blend takes. The share of the time gone is a real number,
// so that the colour grows from the first frame rather than appearing on the last.
int LevelOf(double value) { return std::clamp(TruncToInt(value), 0, kNoColour); }

double ShareGone(int counter, int frames) { return static_cast<double>(counter) / frames; }

}  // namespace

void cScreenColor::Set(int red, int green, int blue, int strength, int restore, int tenths, int mode, int repeats)
{
    if (restore) {
        // Nothing to restore: no colour is on the screen (Direct3D), or none was ever started
        // on the palette.
        if (lpDTCon && !m_bActive) return;
        if (lpDDCon && g_nBpp == 8 && !m_bStarted) return;
    }
    m_bySavedRed = m_byRed;
    m_bySavedGreen = m_byGreen;
    m_bySavedBlue = m_byBlue;
    m_nSavedStrength = m_nStrength;
    m_nSavedLevel = m_nLevel;

    m_byRed = static_cast<BYTE>(red);
    m_byGreen = static_cast<BYTE>(green);
    m_byBlue = static_cast<BYTE>(blue);
    m_nStrength = strength;
    m_bRestore = restore;
    m_nFrames = WrapMul(tenths, 6);
    m_nMode = mode;
    m_nRepeats = repeats;
    m_bActive = 1;
    m_nCounter = m_nRepeatCounter = 0;
    if (!restore) {
        m_nLevel = 0;
        m_bStarted = 1;
    } else {
        m_byRed = m_bySavedRed;
        m_byGreen = m_bySavedGreen;
        m_byBlue = m_bySavedBlue;
        m_nStrength = m_nSavedStrength;
        m_nLevel = m_nSavedLevel;
    }
}

cScreenColor::FRAME cScreenColor::Advance(int paused)
{
    const int c = m_nCounter;
    const int frames = m_nFrames;
    // The level of a flash or a tint at this point of its time.
    const int coloured = LevelOf(kNoColour - (frames != 0 ? ShareGone(c, frames) * m_nStrength * 2.55 : m_nStrength * 2.55));
    FRAME frame{kNoColour, m_byRed, m_byGreen, m_byBlue, false};
    if (m_nMode != 0) {
        m_nLevel = coloured;
        if (c >= frames) {
            frame.bPeriodEnd = true;
            if (!paused) {
                m_nCounter = 0;
                m_nRepeatCounter = WrapAdd(m_nRepeatCounter, 1);
                // At least one period, also with no repeats asked for.
                if (m_nRepeatCounter >= m_nRepeats) m_bActive = 0;
            }
            return frame;
        }
        frame.nLevel = m_nLevel;
        if (!paused) ++m_nCounter;
        return frame;
    }
    if (m_bRestore) {
        m_nLevel = frames != 0 ? LevelOf(ShareGone(c, frames) * (kNoColour - m_nSavedLevel) + m_nSavedLevel) : kNoColour;
        frame = {m_nLevel, m_bySavedRed, m_bySavedGreen, m_bySavedBlue, false};
    } else {
        m_nLevel = coloured;
        frame.nLevel = m_nLevel;
    }
    if (!paused) {
        if (c < frames) {
            ++m_nCounter;
        } else if (m_bRestore || m_nStrength == 0) {
            // A tint stays on the screen until a restore or a tint of strength 0 ends it.
            m_bActive = 0;
        }
    }
    return frame;
}

void cStageDraw::DrawScreenColor(int paused)
{
    cPlayScene& scene = SceneOf(this);
    cScreenColor& colour = scene.m_ScreenColor;
    if (!colour.m_bActive) return;
    if (lpDTCon) {
        const cScreenColor::FRAME frame = colour.Advance(paused);
        if (lpDTCon->bVirBackBuffer) {
            DDSURFACEDATA* work = &g_StdSurface[kWorkPicture];
            const DWORD argb = 0xFF000000u | (DWORD{frame.byRed} << 16) | (DWORD{frame.byGreen} << 8) | frame.byBlue;
            DDFillRect(work, 0, 0, 640, 480, argb);
            DDBltTrans(&g_BackBuffer, 0, 0, 640, 480, work, 0, 0, 0, g_BlendTable, frame.nLevel);
        } else {
            DDChangeColor(&g_BackBuffer, 0, 0, 640, 480, static_cast<BYTE>(frame.nLevel), frame.byRed, frame.byGreen,
                          frame.byBlue);
        }
        return;
    }
    if (!lpDDCon || paused) return;
    if (g_nBpp != 8) {
        colour.m_bActive = 0;
        return;
    }
    const cScreenColor::FRAME frame = colour.Advance(0);
    DDBlendPalette(g_DisplayPalette, 0, 255, frame.nLevel, frame.byRed, frame.byGreen, frame.byBlue, g_Palette);
    const PALETTEENTRY* shown = frame.bPeriodEnd ? g_Palette : g_DisplayPalette;
    if (g_lpDDPalette) g_lpDDPalette->SetEntries(0, 0, 256, shown);
}
