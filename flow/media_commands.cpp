// The status, graphics and media commands. All but the code, get-item and screen-colour commands
// are not built yet: each says so once.
#include "flow/media_commands.h"

#include "data/command_data.h"
#include "flow/command_stubs.h"
#include "data/item_data.h"
#include "data/template_sources.h"
#include "flow/expression.h"
#include "objects/item_actions.h"
#include "play/play_scene.h"

void ExecCmdStatusOperation2(cChara&, cCommandData&)
{
    NotBuiltCommandActs(COMMAND_STATUS2, "status operation 2 command");
}

void ExecCmdGetItem(cChara&, cCommandData& command)
{
    cPlayScene* scene = Scene();
    if (!scene) return;
    // Source 0 is the common palette's item list, 1 the stage palette's.
    const TEMPLATESOURCES sources = PlayTemplateSources();
    const int source = command.m_Params.At(0);
    const cSafeVector<cItemData>* items = (source == 0) ? sources.common.items : (source == 1) ? sources.stage.items : nullptr;
    int result = 0;
    if (items) result = AcquireItem(items->At(command.m_Params.At(1)));
    scene->m_nResult = result;
}

void ExecCmdChangeGraphic(cChara&, cCommandData&)
{
    NotBuiltCommandActs(COMMAND_CHANGE_GRAPHIC, "graphic change command");
}

void ExecCmdChangeAnimeSet(cChara&, cCommandData&)
{
    NotBuiltCommandActs(COMMAND_CHANGE_ANIMESET, "anime set command");
}

void ExecCmdRunAnime(cChara&, cCommandData&)
{
    NotBuiltCommandActs(COMMAND_ANIME, "anime command");
}

void ExecCmdRunEffect(cChara&, cCommandData&)
{
    NotBuiltCommandActs(COMMAND_EFFECT, "effect command");
}

void ExecCmdRunCharaEffect(cChara&, cCommandData&)
{
    NotBuiltCommandActs(COMMAND_CHARA_EFFECT, "chara effect command");
}

void ExecCmdRunScreenEffect(cChara&, cCommandData&)
{
    NotBuiltCommandActs(COMMAND_SCREEN_EFFECT, "screen effect command");
}

void ExecCmdShowPicture(cChara&, cCommandData&)
{
    NotBuiltCommandActs(COMMAND_PICTURE, "picture command");
}

void ExecCmdChangeScreenColor(cChara&, cCommandData& command)
{
    cPlayScene* scene = g_lpPlayScene.load();
    if (!scene) return;
    cSafeVector<std::int32_t>& p = command.m_Params;
    scene->m_ScreenColor.Set(p.At(0), p.At(1), p.At(2), p.At(3), p.At(4), p.At(5), p.At(6), p.At(7));
}

void ExecCmdChangeBackground(cChara&, cCommandData&)
{
    NotBuiltCommandActs(COMMAND_BACKGROUND, "background command");
}

void ExecCmdPlaySound(cCommandData&, cChara&)
{
    NotBuiltCommandActs(COMMAND_SOUND, "sound command");
}

void ExecCmdPlayBgm(cCommandData&)
{
    NotBuiltCommandActs(COMMAND_BGM, "BGM command");
}

void ExecCmdRunCode(cChara& chara, cCommandData& command)
{
    RunCode(command.m_strCode, chara);
}
