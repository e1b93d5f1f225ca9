#include "objects/item_actions.h"

#include <algorithm>
#include <vector>

#include "data/command_data.h"
#include "data/item_data.h"
#include "flow/control_commands.h"
#include "flow/media_commands.h"
#include "flow/status_ops.h"
#include "objects/hero.h"
#include "play/play_scene.h"
#include "shell/log.h"

namespace {

void (*s_ItemActionRecorder)(cHero&, const cCommandData&) = nullptr;

enum FLOWCHANGEMODE { FLOWCHANGE_ADD = 0, FLOWCHANGE_REPLACE = 1, FLOWCHANGE_REMOVE = 2 };

// The items being given by get-item commands, outermost first.
std::vector<const cItemData*> s_ItemsBeingGiven;
bool s_bNestingReported = false;

int ItemActionNone(cHero&, cCommandData&) { return 0; }

int ItemActionChangeFlows(cHero& hero, cCommandData& action)
{
    ChangeFlowsByItem(hero, action, 0);
    return 0;
}

int ItemActionStageClear(cHero& hero, cCommandData& action)
{
    ExecCmdStageClear(hero, action);
    return 1;
}

int ItemActionMessage(cHero& hero, cCommandData& action)
{
    // Only the first message of a list is shown without waiting for the one before.
    cPlayScene* scene = Scene();
    ExecCmdMessage(hero, action, scene ? scene->m_bItemActionOnce : 0);
    if (scene) scene->m_bItemActionOnce = 1;
    return 0;
}

int ItemActionStatusOperation(cHero& hero, cCommandData& action)
{
    ExecCmdStatusOperation(hero, action);
    return 0;
}

int ItemActionPlaySound(cHero& hero, cCommandData& action)
{
    ExecCmdPlaySound(action, hero);
    return 0;
}

int ItemActionPlayBgm(cHero&, cCommandData& action)
{
    ExecCmdPlayBgm(action);
    return 0;
}

// The flow command of kind k + 15 with the hero as its chara.
template <void (*Command)(cChara&, cCommandData&)>
int ItemActionCommand(cHero& hero, cCommandData& action)
{
    Command(hero, action);
    return 0;
}

// The index of the first running flow of the group (0: all, so the first), or -1.
int FirstFlowOfGroup(const cHero& hero, int group)
{
    for (std::size_t i = 0; i < hero.m_RunningFlows.size(); ++i) {
        const cFlowData* flow = hero.m_RunningFlows[i].m_lpFlow;
        if (group == 0 || (flow && flow->m_nGroup == group)) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace

const std::array<ItemActionFunc, ITEMACTION_KINDS> ItemActionTable = {
    ItemActionNone,                                  // 0
    ItemActionChangeFlows,                           // 1
    ItemActionStageClear,                            // 2: command 17
    ItemActionCommand<ExecCmdGameWait>,              // 3
    ItemActionMessage,                               // 4
    ItemActionCommand<ExecCmdWarp>,                  // 5
    ItemActionCommand<ExecCmdSetTarget>,             // 6
    ItemActionStatusOperation,                       // 7
    ItemActionCommand<ExecCmdStatusOperation2>,      // 8
    ItemActionCommand<ExecCmdGetItem>,               // 9
    ItemActionCommand<ExecCmdChangeGraphic>,         // 10
    ItemActionCommand<ExecCmdChangeAnimeSet>,        // 11
    ItemActionCommand<ExecCmdRunAnime>,              // 12
    ItemActionCommand<ExecCmdRunEffect>,             // 13
    ItemActionCommand<ExecCmdRunCharaEffect>,        // 14
    ItemActionCommand<ExecCmdRunScreenEffect>,       // 15
    ItemActionCommand<ExecCmdShowPicture>,           // 16
    ItemActionCommand<ExecCmdChangeScreenColor>,     // 17
    ItemActionCommand<ExecCmdChangeBackground>,      // 18
    ItemActionPlaySound,                             // 19: command 34, record first
    ItemActionPlayBgm,                               // 20: command 35, the record alone
    ItemActionCommand<ExecCmdRunCode>,               // 21
};

int RunItemAction(cHero& hero, cCommandData& action)
{
    const int kind = action.m_nKind;
    if (kind < 0 || kind >= ITEMACTION_KINDS) return 0;
    if (s_ItemActionRecorder) s_ItemActionRecorder(hero, action);
    return ItemActionTable[static_cast<std::size_t>(kind)](hero, action);
}

void ChangeFlowsByItem(cHero& hero, const cCommandData& action, int runNow)
{
    const cPlayScene* scene = Scene();
    if (runNow == 0 && scene && scene->m_lpCurChara != nullptr && scene->m_lpCurChara == PlayerOne()) {
        hero.m_PendingFlowChanges.push_back(action);
        return;
    }
    const int mode = action.m_Params.At(0);
    const int group = action.m_Params.At(1);
    // The hero's flows take copies, so the action's own list is never handed over.
    cSafeVector<cFlowData> flows = action.m_Flows;
    switch (mode) {
    case FLOWCHANGE_ADD: hero.LoadFlows(flows, hero.m_nDirection, 1, -1); break;
    case FLOWCHANGE_REPLACE: {
        const int at = FirstFlowOfGroup(hero, group);
        hero.RemoveFlowsByGroup(group);
        hero.LoadFlows(flows, hero.m_nDirection, 1, at);
        break;
    }
    case FLOWCHANGE_REMOVE: hero.RemoveFlowsByGroup(group); break;
    default: break;
    }
}

int AcquireItem(const cItemData& item)
{
    if (Player.empty()) return 0;
    if (std::find(s_ItemsBeingGiven.begin(), s_ItemsBeingGiven.end(), &item) != s_ItemsBeingGiven.end()) return 0;
    if (s_ItemsBeingGiven.size() >= static_cast<std::size_t>(kMaxItemNesting)) {
        if (!s_bNestingReported) {
            s_bNestingReported = true;
            ReportLog("アイテムの取得が %d 段を超えて入れ子になったため、それより先は取得しません", kMaxItemNesting);
        }
        return 0;
    }
    s_ItemsBeingGiven.push_back(&item);
    const int result = Player.At(0).RunItemActions(item.m_Actions);
    s_ItemsBeingGiven.pop_back();
    return result;
}

void SetItemActionRecorder(void (*recorder)(cHero& hero, const cCommandData& action))
{
    s_ItemActionRecorder = recorder;
}
