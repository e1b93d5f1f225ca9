// The status, graphics and media commands: switches of a chara or of the stage, a chara's
// pictures and animations, backgrounds, sounds and music. The effect, chara-effect and picture
// commands are in effect_picture_commands.cpp, the screen-effect command in
// screen_effect_command.cpp.
#include "flow/media_commands.h"

#include <cstdint>

#include "data/command_data.h"
#include "data/item_data.h"
#include "data/role_accessors.h"
#include "data/stage_data.h"
#include "data/template_sources.h"
#include "flow/expression.h"
#include "flow/status_values.h"
#include "objects/chara.h"
#include "objects/hero.h"
#include "objects/item_actions.h"
#include "play/play_scene.h"
#include "shell/game_requests.h"

namespace {

enum STATUS2SUBJECT { STATUS2_SELF = 0, STATUS2_TARGET = 1, STATUS2_SYSTEM = 2 };
enum STATUS2SELECTOR {
    STATUS2_VANISH = 0,
    STATUS2_INVISIBLE = 1,
    STATUS2_FIXED_FACING = 2,
    STATUS2_FLYING = 3,
    STATUS2_INVINCIBLE = 4,
    STATUS2_SCALE = 5,
    STATUS2_SCROLL_SYNC = 6,
};
enum BACKGROUNDACTION { BACKGROUND_SHOW = 0, BACKGROUND_HIDE = 1, BACKGROUND_TOGGLE = 2 };

// The owner of an animation started while no flow is being stepped (an item taken outside
// the flows): a serial no running flow carries, so no flow's operations ever reach it.
constexpr int kNoFlowSerial = -1;

// Selector 0 or 1 of the system subject: the stage's horizontal or vertical auto-scroll.
void SetStageAutoScroll(int axis, int on)
{
    if (axis == 0) g_StageData.m_bAutoScrollX = on;
    else g_StageData.m_bAutoScrollY = on;
    AfterScrollSpeedChange(axis);
}

}  // namespace

void ExecCmdStatusOperation2(cChara& chara, cCommandData& command)
{
    cSafeVector<std::int32_t>& p = command.m_Params;
    const int subject = p.At(0);
    const int selector = p.At(1);
    const int v = p.At(2);
    if (subject == STATUS2_SYSTEM) {
        if (selector == 0 || selector == 1) SetStageAutoScroll(selector, v);
        return;
    }
    cChara* target = (subject == STATUS2_TARGET) ? chara.m_lpTarget : &chara;
    if (!target) return;
    cCharaData& def = target->m_Def;
    // Kind 0 is the hero, of which a stage has one: player 1.
    const bool hero = target->m_nKind != 1;
    switch (selector) {
    case STATUS2_VANISH:
        if (hero) target->m_nHp = 0;
        else target->m_bRemoveRequest = 1;
        if (target != &chara) {
            if (cPlayScene* scene = Scene()) scene->m_bStatusChanged = 1;
        }
        break;
    case STATUS2_INVISIBLE: SetCharaInvisible(def, v); break;
    case STATUS2_FIXED_FACING: SetCharaFixedFacing(def, v); break;
    case STATUS2_FLYING:
        if (hero && !Player.empty()) Player.At(0).SetMoveType(v, 1);
        break;
    case STATUS2_INVINCIBLE: SetCharaInvincibility(def, v); break;
    case STATUS2_SCALE:
        target->SetScale(v, CharaStoredScale(def));
        SetCharaStoredScale(def, v);
        if (hero && !Player.empty()) Player.At(0).RebuildBoxList();
        break;
    case STATUS2_SCROLL_SYNC:
        SetCharaScrollRelative(def, v);
        target->m_bScrollRelative = static_cast<std::uint8_t>(v);
        break;
    default: break;
    }
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

void ExecCmdChangeGraphic(cChara& chara, cCommandData& command)
{
    // Nothing is loaded here: the next draw picks the new cell.
    cSafeVector<std::int32_t>& p = command.m_Params;
    const auto kind = static_cast<std::int8_t>(p.At(0));
    const auto number = static_cast<std::int16_t>(p.At(1));
    const auto baseRow = static_cast<std::int16_t>(p.At(2));
    chara.m_nImageExtra = kind;
    chara.m_nImage = number;
    SetCharaImage(chara.m_Def, kind, number, baseRow);
}

void ExecCmdChangeAnimeSet(cChara& chara, cCommandData& command)
{
    chara.SetAnimeSet(static_cast<std::uint16_t>(command.m_Params.At(0)), 0);
}

void ExecCmdRunAnime(cChara& chara, cCommandData& command)
{
    const cPlayScene* scene = Scene();
    const cRunningFlow* flow = scene ? scene->m_lpCurFlow : nullptr;
    cCharaAnimation animation;
    animation.nAnime = command.m_Params.At(0);
    animation.nOwner = flow ? flow->m_nSerial : kNoFlowSerial;
    // Begin takes the prepared pattern (an index outside the table is reported and plays
    // entry 0) and starts it with force.
    animation.Begin();
    chara.m_Animations.push_front(animation);
}

void ExecCmdChangeScreenColor(cChara&, cCommandData& command)
{
    cPlayScene* scene = g_lpPlayScene.load();
    if (!scene) return;
    cSafeVector<std::int32_t>& p = command.m_Params;
    scene->m_ScreenColor.Set(p.At(0), p.At(1), p.At(2), p.At(3), p.At(4), p.At(5), p.At(6), p.At(7));
}

void ExecCmdChangeBackground(cChara&, cCommandData& command)
{
    cSafeVector<cBackgroundData>& list = g_StageData.m_Backgrounds;
    // Counted from 1; a number below 1 names no background (a negative one would index
    // before the list).
    const int number = command.m_Params.At(0);
    if (number < 1 || static_cast<std::size_t>(number) > list.size()) return;
    int& show = list[static_cast<std::size_t>(number) - 1].m_bShow;
    switch (command.m_Params.At(1)) {
    case BACKGROUND_SHOW: show = 1; break;
    case BACKGROUND_HIDE: show = 0; break;
    case BACKGROUND_TOGGLE: show ^= 1; break;
    default: break;
    }
}

void ExecCmdPlaySound(cCommandData& command, cChara& chara)
{
    if (command.m_bSoundOnScreenOnly && chara.m_bOnScreen == 0) return;
    PlayDbSe(static_cast<WORD>(command.m_Params.At(0)));
}

void ExecCmdPlayBgm(cCommandData& command)
{
    cPlayScene* scene = Scene();
    if (!scene) return;
    scene->RequestStageBgm(command.m_Params.At(0), command.m_Params.At(1));
}

void ExecCmdRunCode(cChara& chara, cCommandData& command)
{
    RunCode(command.m_strCode, chara);
}
