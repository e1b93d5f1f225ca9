#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "data/command_data.h"
#include "data/command_info.h"
#include "data/palette_data.h"
#include "flow/media_commands.h"
#include "objects/hero.h"
#include "objects/item_actions.h"
#include "tests/play/block_stage.h"

namespace {

// What reached the item-action table, and what the recorder does on a kind.
std::vector<int> s_ActionKinds;
std::vector<int> s_MessageOnceSeen;
int s_KillOnKind = -1;

void RecordItemAction(cHero& hero, const cCommandData& action)
{
    s_ActionKinds.push_back(action.m_nKind);
    if (cPlayScene* scene = Scene()) s_MessageOnceSeen.push_back(scene->m_bItemActionOnce);
    if (action.m_nKind == s_KillOnKind) hero.m_nHp = 0;
}

// The recorder while it lives, and a hero with HP to lose.
class cItemActionStage {
public:
    cItemActionStage()
    {
        s_ActionKinds.clear();
        s_MessageOnceSeen.clear();
        s_KillOnKind = -1;
        SetItemActionRecorder(RecordItemAction);
        hero.m_nHp = 10;
    }
    ~cItemActionStage() { SetItemActionRecorder(nullptr); }
    cItemActionStage(const cItemActionStage&) = delete;
    cItemActionStage& operator=(const cItemActionStage&) = delete;

    qbtest::cNoModalLoops noLoops;
    cBlockStage stage;
    cHero& hero{stage.AddPlayerOne()};
};

cCommandData ItemAction(int kind, std::initializer_list<int> params = {})
{
    cCommandData action;
    action.m_bItemAction = 1;
    action.m_nKind = static_cast<std::int8_t>(kind);
    for (int p : params) action.m_Params.push_back(p);
    return action;
}

cSafeVector<cCommandData> ActionList(std::initializer_list<int> kinds)
{
    cSafeVector<cCommandData> list;
    for (int kind : kinds) list.push_back(ItemAction(kind));
    return list;
}

cFlowData FlowNamed(const char* name, int group)
{
    cFlowData flow;
    flow.m_strName = name;
    flow.m_nGroup = static_cast<BYTE>(group);
    flow.m_nTrigger = TRIGGER_NONE;
    return flow;
}

// The hero's flows A (group 1), B (group 2), C (group 1); the flows' running copies must stay
// bound to the definitions in the same order.
void GiveHeroFlows(cHero& hero)
{
    hero.m_Def.m_Flows.clear();
    for (const cFlowData& flow : {FlowNamed("A", 1), FlowNamed("B", 2), FlowNamed("C", 1)})
        hero.m_Def.m_Flows.push_back(flow);
    hero.LoadFlows(hero.m_Def.m_Flows, hero.m_nDirection, 0, -1);
}

std::string FlowOrder(const cHero& hero)
{
    std::string order;
    for (std::size_t i = 0; i < hero.m_RunningFlows.size(); ++i) {
        const cFlowData* flow = hero.m_RunningFlows[i].m_lpFlow;
        EXPECT_EQ(flow, &hero.m_Def.m_Flows.At(static_cast<int>(i)));
        order += flow ? flow->m_strName : "?";
    }
    return order;
}

cCommandData FlowChange(int mode, int group)
{
    cCommandData action = ItemAction(ITEMACTION_CHANGE_FLOWS, {mode, group});
    action.m_Flows.push_back(FlowNamed("x", 3));
    action.m_Flows.push_back(FlowNamed("y", 3));
    return action;
}

}  // namespace

TEST(ItemActions, AStageClearStopsTheListAndHpGoneEndsItWithTwo)
{
    struct Case {
        const char* name;
        std::initializer_list<int> kinds;
        int killOnKind;
        int result;
        std::vector<int> reached;
    } cases[] = {
        {"a clear then a sound: no sound", {2, 19}, -1, 1, {2}},
        {"HP gone mid-list gives 2 at once", {3, 19, 19}, 3, 2, {3}},
        {"HP gone by a clear still gives 2", {2, 19}, 2, 2, {2}},
        {"a list that ends normally gives 0", {0, 3, 0}, -1, 0, {0, 3, 0}},
        {"kinds outside the table do nothing", {-1, 22, 100, -128, 0}, -1, 0, {0}},
    };
    for (const auto& c : cases) {
        cItemActionStage stand;
        s_KillOnKind = c.killOnKind;
        EXPECT_EQ(stand.hero.RunItemActions(ActionList(c.kinds)), c.result) << c.name;
        EXPECT_EQ(s_ActionKinds, c.reached) << c.name;
    }
}

TEST(ItemActions, OnlyTheFirstMessageOfAListGetsTheUnsetOnceFlag)
{
    cItemActionStage stand;
    stand.hero.RunItemActions(ActionList({4, 0, 4}));
    stand.hero.RunItemActions(ActionList({4}));
    EXPECT_EQ(s_MessageOnceSeen, (std::vector<int>{0, 1, 1, 0}));
}

TEST(ItemActions, FlowChangesAddReplaceAndRemoveInTheHerosFlowOrder)
{
    struct Case {
        const char* name;
        int mode, group;
        const char* order;
    } cases[] = {
        {"add appends", 0, 1, "ABCxy"},
        {"change inserts where the group's first flow stood", 1, 2, "AxyC"},
        {"change of a group whose first flow leads inserts at the start", 1, 1, "xyB"},
        {"change of group 0 replaces every flow", 1, 0, "xy"},
        {"change of a missing group appends", 1, 5, "ABCxy"},
        {"remove takes the group out", 2, 1, "B"},
        {"remove of group 0 takes every flow out", 2, 0, ""},
        {"mode 3 does nothing", 3, 1, "ABC"},
    };
    for (const Case& c : cases) {
        cItemActionStage stand;
        GiveHeroFlows(stand.hero);
        ChangeFlowsByItem(stand.hero, FlowChange(c.mode, c.group), 1);
        EXPECT_EQ(FlowOrder(stand.hero), c.order) << c.name;
    }
}

TEST(ItemActions, AFlowChangeTakenInsideTheHerosFlowsWaitsForItsUpdate)
{
    cItemActionStage stand;
    GiveHeroFlows(stand.hero);
    cPlayScene& scene = stand.stage.Scene();
    scene.m_lpCurChara = &stand.hero;
    cSafeVector<cCommandData> actions;
    actions.push_back(FlowChange(2, 1));
    EXPECT_EQ(stand.hero.RunItemActions(actions), 0);
    EXPECT_EQ(FlowOrder(stand.hero), "ABC");
    ASSERT_EQ(stand.hero.m_PendingFlowChanges.size(), 1u);

    // Another chara's flow taking it changes the hero's flows at once.
    cStageChara other;
    scene.m_lpCurChara = &other;
    ChangeFlowsByItem(stand.hero, FlowChange(0, 0), 0);
    EXPECT_EQ(FlowOrder(stand.hero), "ABCxy");

    scene.m_lpCurChara = nullptr;
    stand.hero.Update(0);
    EXPECT_EQ(FlowOrder(stand.hero), "Bxy");
    EXPECT_TRUE(stand.hero.m_PendingFlowChanges.empty());
}

TEST(ItemActions, TheGetItemCommandRunsTheItemOnPlayerOneAndSetsTheResultEvenWhenZero)
{
    struct Case {
        const char* name;
        int source, index;
        std::initializer_list<int> kinds;   // of common item 0; stage items hold none
        int result;
        std::vector<int> reached;
    } cases[] = {
        {"a common item's actions run", 0, 0, {3, 0}, 0, {3, 0}},
        {"a clearing item gives 1", 0, 0, {2, 3}, 1, {2}},
        {"another source gives nothing", 2, 0, {3}, 0, {}},
    };
    for (const auto& c : cases) {
        cItemActionStage stand;
        cItemData item;
        item.Reset();
        item.m_Actions = ActionList(c.kinds);
        g_CommonPalette.m_Items.clear();
        g_CommonPalette.m_Items.push_back(item);
        cPlayScene& scene = stand.stage.Scene();
        scene.m_nResult = 7;
        cCommandData command = ItemAction(COMMAND_GET_ITEM, {c.source, c.index});
        cStageChara other;
        ExecCmdGetItem(other, command);
        EXPECT_EQ(scene.m_nResult, c.result) << c.name;
        EXPECT_EQ(s_ActionKinds, c.reached) << c.name;
    }
}

TEST(ItemActions, AnItemThatGivesItselfIsAppliedOncePerAcquisition)
{
    cItemActionStage stand;
    cItemData item;
    item.Reset();
    item.m_Actions.push_back(ItemAction(9, {0, 0}));
    item.m_Actions.push_back(ItemAction(3));
    g_CommonPalette.m_Items.clear();
    g_CommonPalette.m_Items.push_back(item);
    cCommandData command = ItemAction(COMMAND_GET_ITEM, {0, 0});
    ExecCmdGetItem(stand.hero, command);
    EXPECT_EQ(s_ActionKinds, (std::vector<int>{9, 3}));
    EXPECT_EQ(stand.stage.Scene().m_nResult, 0);
}

TEST(ItemActions, ItemsGivingEachOtherStopAtTheNestingLimit)
{
    cItemActionStage stand;
    // Item i gives item i + 1, for more items than the limit allows.
    g_CommonPalette.m_Items.clear();
    const int count = kMaxItemNesting + 10;
    for (int i = 0; i < count; ++i) {
        cItemData item;
        item.Reset();
        item.m_Actions.push_back(ItemAction(9, {0, i + 1 < count ? i + 1 : i}));
        g_CommonPalette.m_Items.push_back(item);
    }
    cCommandData command = ItemAction(COMMAND_GET_ITEM, {0, 0});
    ExecCmdGetItem(stand.hero, command);
    EXPECT_EQ(s_ActionKinds.size(), static_cast<std::size_t>(kMaxItemNesting));
}

TEST(ItemActionKinds, TwentyTwoKindsOfWhichTwoToTwentyOneAreFlowCommandsFifteenOn)
{
    EXPECT_EQ(g_ItemActionInfo.size(), 22u);
    EXPECT_EQ(ItemActionTable.size(), 22u);
    EXPECT_EQ(CommandKindOf(1, ITEMACTION_CHANGE_FLOWS), -1);
    EXPECT_EQ(g_ItemActionInfo[ITEMACTION_CHANGE_FLOWS].count, 2);
    for (int kind = ITEMACTION_FIRST_COMMAND; kind < ITEMACTION_KINDS; ++kind) {
        EXPECT_EQ(CommandKindOf(1, kind), kind + 15) << kind;
        EXPECT_EQ(g_ItemActionInfo[kind].count, g_CommandInfo[kind + 15].count) << kind;
    }
    EXPECT_EQ(g_ItemActionInfo[7].count, 18);
    EXPECT_EQ(g_ItemActionInfo[5].count, 0);
    EXPECT_EQ(g_ItemActionInfo[21].count, 0);
}
