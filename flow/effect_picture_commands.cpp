// The commands that show effects and pictures over the stage and play chara effects. The
// effect and picture commands may hold the flow until the stage's modal loop has ended.
#include "flow/effect_picture_commands.h"

#include <cstdint>
#include <string>

#include "data/command_data.h"
#include "data/database.h"
#include "flow/media_commands.h"
#include "flow/status_ops.h"
#include "graphics/device.h"
#include "objects/chara.h"
#include "objects/effect_instance.h"
#include "objects/hero.h"
#include "objects/picture.h"
#include "platform/os/messages.h"
#include "play/play_scene.h"
#include "shell/error_box.h"
#include "shell/game_arithmetic.h"
#include "shell/log.h"
#include "shell/shared_flags.h"
#include "shell/system_ini.h"
#include "shell/system_report.h"

namespace {

constexpr int kScreenCentreX = 320;
constexpr int kScreenCentreY = 240;
constexpr int kMarginBlocks = 10;
constexpr int kBlockDots = 32;
constexpr int kFramesPerTenth = 6;
constexpr int kWaitEffect = 2;
constexpr int kWaitPicture = 3;

// The stage, unless there is none or the program is closing: then the commands do nothing, so
// that no modal loop starts during shutdown.
cPlayScene* SceneForCommand()
{
    cPlayScene* scene = Scene();
    if (!scene || scene->m_nQuitRequest.load()) return nullptr;
    return scene;
}

PLACEDAT CentredOn(const cChara& on, int w, int h, int dx, int dy, double sx, double sy)
{
    const int x = WrapAdd(WrapAdd(dx, on.m_ScreenRect.left), on.m_nDrawWidth >> 1);
    const int y = WrapAdd(WrapAdd(dy, on.m_ScreenRect.top), on.m_nDrawHeight >> 1);
    return {x + sx - (w >> 1), y + sy - (h >> 1)};
}

// DirectDraw keeps a picture in system memory when it is scaled without video stretching, or
// when less than a fifth of the video memory is free.
int PictureMemoryType(int zoom)
{
    if (lpDTCon) return 0;
    if (zoom != 100 && !g_SystemIni.DD_VideoStretch) return 1;
    DWORD total = 0;
    DWORD free = 0;
    GetVideoMemoryMB(&total, &free);
    return (total > 0 && free * 100 / total < 20) ? 1 : 0;
}

// The wait of a picture command by its display mode: until a key (taken at once), for its
// frames, or as the wait was (until the stage ends).
void SetPictureWait(WAITSTATE& wait, int displayMode, int frames)
{
    if (displayMode == 0) wait.Set(kWaitPicture, 1, 0, 0);
    else if (displayMode == 2) wait.Set(kWaitPicture, 0, frames, 0);
}

}  // namespace

PLACEDAT ResolvePlacement(int w, int h, const cChara& chara, int placement, int cx, int cy, int dx, int dy)
{
    const cPlayScene* scene = Scene();
    const double sx = scene ? scene->m_ScrollX.m_dPos : 0.0;
    const double sy = scene ? scene->m_ScrollY.m_dPos : 0.0;
    switch (placement) {
    case 0: return {dx + sx + kScreenCentreX - (w >> 1), dy + sy + kScreenCentreY - (h >> 1)};
    case 1: return CentredOn(chara, w, h, dx, dy, sx, sy);
    case 2: return CentredOn(Player.At(0), w, h, dx, dy, sx, sy);
    case 3: return {sx + WrapMul(cx, kBlockDots) + dx, sy + WrapMul(cy, kBlockDots) + dy};
    case 4:
        return {static_cast<double>(WrapAdd(WrapMul(WrapAdd(cx, kMarginBlocks), kBlockDots), dx)),
                static_cast<double>(WrapAdd(WrapMul(WrapAdd(cy, kMarginBlocks), kBlockDots), dy))};
    default: return {};
    }
}

void ExecCmdRunEffect(cChara& chara, cCommandData& command)
{
    cPlayScene* scene = SceneForCommand();
    if (!scene) return;
    cSafeVector<std::int32_t>& p = command.m_Params;
    const int id = static_cast<std::int16_t>(p.At(0));
    if (id == 0) {
        scene->m_EffectList.Clear();
        return;
    }
    const cEffectData& entry = EffectEntry(id);
    const int w = PercentRound(entry.m_nWidth, p.At(6));
    const int h = PercentRound(entry.m_nHeight, p.At(6));
    const PLACEDAT at = ResolvePlacement(w, h, chara, p.At(1), p.At(2), p.At(3), p.At(4), p.At(5));
    const int wait = p.At(7);
    scene->m_EffectList.m_Effects.emplace_back(EFFECTPLACEMENT{id, at.dX, at.dY, w, h, wait});
    if (!wait) return;
    // The effect animates while the loop waits and ends by itself when its frames are over.
    int tenths = 0;
    for (const cEffectFrameData& frame : entry.m_Frames) tenths = WrapAdd(tenths, frame.m_nDuration);
    scene->m_Wait.Set(kWaitEffect, 0, WrapMul(kFramesPerTenth, tenths), 0);
    RunModalLoop(*scene);
}

void ExecCmdRunCharaEffect(cChara& chara, cCommandData& command)
{
    cSafeVector<std::int32_t>& p = command.m_Params;
    chara.m_DrawEffect.Start(static_cast<std::int16_t>(p.At(0)), p.At(1), p.At(2));
}

void ExecCmdShowPicture(cChara& chara, cCommandData& command)
{
    cPlayScene* scene = SceneForCommand();
    if (!scene) return;
    cStagePictures& pictures = scene->m_StagePictures;
    cSafeVector<std::int32_t>& p = command.m_Params;
    const int number = p.At(0);
    const int hasId = p.At(12);
    const int idNumber = p.At(13);
    if (number == 0 && hasId == 0) {
        pictures.ClearPictures();
        return;
    }
    // A picture with an ID takes the place of the one shown with that ID, keeping its order
    // among the pictures; number 0 only removes that one.
    int position = -1;
    if (hasId) {
        position = pictures.FindPicture(idNumber);
        if (position >= 0) pictures.RemovePicture(position);
        if (number == 0) return;
    }

    const std::string file = g_Database.m_Pictures.At(static_cast<std::int16_t>(number)).m_strFile;
    const int zoom = p.At(7);
    DDSURFACEDATA* surface = pictures.LoadPictureSurface(position, file.c_str(), PictureMemoryType(zoom));
    if (!surface) {
        ErrorBoxF("%s 読み込み失敗！", file.c_str());
        EcLogF("%s 読み込み失敗！", file.c_str());
        PostMessageA(g_hWnd.load(), WM_CLOSE, 0, 0);
        return;
    }
    const int w = PercentRound(surface->nWidth, zoom);
    const int h = PercentRound(surface->nHeight, zoom);
    const PLACEDAT at = ResolvePlacement(w, h, chara, p.At(1), p.At(2), p.At(3), p.At(4), p.At(5));
    const int displayMode = p.At(8);
    const int frames = WrapMul(p.At(9), kFramesPerTenth);
    const int wait = p.At(10);
    cPicture picture;
    picture.Init(number, at.dX, at.dY, w, h, p.At(11), p.At(6), zoom, displayMode, frames, wait, hasId, idNumber);
    const int serial = pictures.InsertPicture(position, picture);
    if (!wait) return;
    SetPictureWait(scene->m_Wait, displayMode, frames);
    RunModalLoop(*scene);
    // Only this picture goes: a timed one may have ended during the wait already.
    pictures.RemovePictureBySerial(serial);
}
