#pragma once
// The kinds of flow commands and item actions with their parameter counts, and the flow
// triggers. A command record's m_bItemAction selects which numbering its kind uses; item
// action k from 2 to 21 is flow command k + 15 with the same parameters.
#include <array>
#include <cstdint>
#include <string>

enum COMMANDKIND {
    COMMAND_NONE,
    COMMAND_WAIT,
    COMMAND_STRAIGHT_MOVE,
    COMMAND_GROUND_TURN_MOVE,
    COMMAND_CIRCLE_MOVE,
    COMMAND_CHARGE_MOVE,
    COMMAND_HOMING_MOVE,
    COMMAND_AVOID_OFFSCREEN_MOVE,
    COMMAND_CANCEL_MOVE,
    COMMAND_TURN,
    COMMAND_JUMP,
    COMMAND_SHOT,
    COMMAND_SWORD,
    COMMAND_BLOCK_SUMMON,
    COMMAND_CHARA_SUMMON,
    COMMAND_ITEM_SUMMON,
    COMMAND_FLOW_OPERATION,
    COMMAND_STAGE_CLEAR,
    COMMAND_GAME_WAIT,
    COMMAND_MESSAGE,
    COMMAND_WARP,
    COMMAND_SET_TARGET,
    COMMAND_STATUS,
    COMMAND_STATUS2,
    COMMAND_GET_ITEM,
    COMMAND_CHANGE_GRAPHIC,
    COMMAND_CHANGE_ANIMESET,
    COMMAND_ANIME,
    COMMAND_EFFECT,
    COMMAND_CHARA_EFFECT,
    COMMAND_SCREEN_EFFECT,
    COMMAND_PICTURE,
    COMMAND_SCREEN_COLOR,
    COMMAND_BACKGROUND,
    COMMAND_SOUND,
    COMMAND_BGM,
    COMMAND_CODE,
    COMMAND_KINDS
};

enum ITEMACTIONKIND {
    ITEMACTION_NONE,
    ITEMACTION_CHANGE_FLOWS,
    ITEMACTION_FIRST_COMMAND,      // 2: the flow command COMMAND_STAGE_CLEAR, and so on
    ITEMACTION_KINDS = 22
};
constexpr int kItemActionCommandOffset = 15;

enum FLOWTRIGGER {
    TRIGGER_ALWAYS,
    TRIGGER_DAMAGED,
    TRIGGER_IMPACT,
    TRIGGER_DEATH,
    TRIGGER_HIT_CHARA,
    TRIGGER_HIT_BLOCK_CHARA,
    TRIGGER_ON_BLOCK_CHARA,
    TRIGGER_HIT_SHOT,
    TRIGGER_HIT_ITEM,
    TRIGGER_HIT_BLOCK,
    TRIGGER_BLOCK_LEFT_RIGHT,
    TRIGGER_BLOCK_LEFT,
    TRIGGER_BLOCK_RIGHT,
    TRIGGER_BLOCK_UP_DOWN,
    TRIGGER_BLOCK_UP,
    TRIGGER_BLOCK_DOWN,
    TRIGGER_RIDDEN_BY_HERO,
    TRIGGER_RIDDEN_BY_CHARA,
    TRIGGER_BEFORE_STAGE,
    TRIGGER_NONE,                  // raised by no event: started by the flow operation command
    TRIGGER_KINDS
};

// The number of groups a chara keeps busy flags for: 0 no group, 1..26 "A".."Z".
constexpr int kFlowGroups = 27;

struct COMMANDINFO {
    COMMANDINFO(const char* text, int n) : label(text ? text : ""), count(n) {}

    std::string label;
    std::int32_t count;   // the number of integer parameters
};

extern const COMMANDINFO g_CommandInfo[COMMAND_KINDS];
extern const std::array<COMMANDINFO, ITEMACTION_KINDS> g_ItemActionInfo;

// The table entry of a kind in the numbering bItemAction selects; null for a kind outside the
// table, which is kept as read and never run.
const COMMANDINFO* FindCommandInfo(int bItemAction, int kind);
// The flow command kind with the same meaning: an item action from 2 to 21 is its command,
// item action 1 and kinds outside the tables give -1.
int CommandKindOf(int bItemAction, int kind);
