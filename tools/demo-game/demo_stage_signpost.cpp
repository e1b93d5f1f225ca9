// A village stage with a sign that greets the hero: a message that waits for the decide key and
// a second one chained to it, then one that shows for three seconds while the game runs on. The sign sways on a flow of its
// own, which the greeting pauses for a second and resumes.
#include <cstdint>

#include "data/command_info.h"
#include "tools/demo-game/demo_content.h"
#include "tools/demo-game/demo_database.h"
#include "tools/demo-game/demo_stage_layout.h"
#include "tools/demo-game/demo_templates.h"

namespace {

constexpr int kSignColumn = 6;
constexpr int kSignRow = 12;
constexpr int kSwayFlowId = 5;
// The message's placement above its own chara, its display modes and its parameter count.
constexpr int kAboveSelf = 1;
constexpr int kUntilKey = 0;
constexpr int kTimed = 2;
constexpr int kMessageParams = 17;
// Flow operations and their targets.
constexpr int kPause = 2;
constexpr int kResume = 3;
constexpr int kStopForever = 5;
constexpr int kThisFlow = 0;
constexpr int kById = 2;

cCommandData Message(const char* text, int displayMode, int tenths, int wait)
{
    cCommandData message = DemoCommand(COMMAND_MESSAGE, 0);
    message.m_Params.resize(kMessageParams);
    message.m_Params[0] = kAboveSelf;
    message.m_Params[5] = 1;   // kept on the screen
    message.m_Params[6] = displayMode;
    message.m_Params[7] = tenths;
    message.m_Params[8] = wait;
    message.m_Params[14] = 1;  // drawn on the window picture
    message.m_strCode = text;
    return message;
}

cCommandData FlowOperation(int operation, int target, int id)
{
    cCommandData command = DemoCommand(COMMAND_FLOW_OPERATION, 0);
    command.m_Params.resize(3);
    command.m_Params[0] = operation;
    command.m_Params[1] = target;
    command.m_Params[2] = id;
    return command;
}

cCommandData Turn(int facing, int tenths)
{
    cCommandData turn = DemoCommand(COMMAND_TURN, tenths);
    turn.m_Params.resize(1);
    turn.m_Params[0] = facing;
    return turn;
}

cCharaData Sign()
{
    cCharaData sign;
    sign.m_strName = "看板";
    sign.m_nImageNumber = 7 * 15 + 1;   // the eighth sheet holds the sign
    sign.m_nOperator = 1;
    sign.m_nMaxHp = 1;
    sign.m_nInvincible = 1;
    sign.m_nHeldItem = -1;
    sign.m_bFixedFacing = 1;

    cFlowData greet;
    greet.m_nTrigger = TRIGGER_ALWAYS;
    greet.m_Commands.push_back(Message("ようこそ！ Zキーで進もう", kUntilKey, 0, 1));
    greet.m_Commands.push_back(Message("村はこの先だよ", kUntilKey, 0, 1));
    greet.m_Commands.push_back(Message("よい旅を！", kTimed, 30, 0));
    greet.m_Commands.push_back(FlowOperation(kPause, kById, kSwayFlowId));
    cCommandData rest = DemoCommand(COMMAND_GAME_WAIT, 0);
    rest.m_Params.resize(1);
    rest.m_Params[0] = 10;
    greet.m_Commands.push_back(rest);
    greet.m_Commands.push_back(FlowOperation(kResume, kById, kSwayFlowId));
    greet.m_Commands.push_back(FlowOperation(kStopForever, kThisFlow, 0));
    sign.m_Flows.push_back(greet);

    cFlowData sway;
    sway.m_nId = kSwayFlowId;
    sway.m_nTrigger = TRIGGER_ALWAYS;
    sway.m_Commands.push_back(Turn(0, 5));
    sway.m_Commands.push_back(Turn(1, 5));
    sign.m_Flows.push_back(sway);
    return sign;
}

}  // namespace

void AddSignpostStage(DEMOGAME& game)
{
    const DEMOSTAGELAYOUT layout{40, DEMO_BGM_OGG, "背景その1.bmp", 12, 2, 2, 0, true};
    cStageData stage = DemoStageLayout(layout);

    const int signIndex = static_cast<int>(stage.m_PaletteCharas.size());
    stage.m_PaletteCharas.push_back(Sign());
    cCharaData placed = stage.m_PaletteCharas[static_cast<std::size_t>(signIndex)];
    placed.m_nColumn = kSignColumn;
    placed.m_nRow = kSignRow;
    placed.m_nInheritSource = 2;  // the stage palette
    placed.m_nInheritIndex = static_cast<std::int16_t>(signIndex);
    stage.m_Charas.push_back(placed);

    game.stages.push_back({"data\\stg4\\Signpost.stg4_001", "看板", stage});
}
