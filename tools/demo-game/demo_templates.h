#pragma once
// The templates the demo's stages place, each made in a file of its own
// (demo_template_*.cpp).
#include <cstdint>

#include "data/block_data.h"
#include "data/chara_data.h"
#include "data/command_data.h"
#include "data/item_data.h"

// A block showing cell `number` of the block sheet, with a collision mode.
cBlockData DemoBlock(const char* name, int number, int hitMode);
// The hero: right walks, the first button jumps.
cCharaData DemoHero();
// A walker drawn from chara sheet `sheet`: it walks forward for two seconds, turns, and cries
// when it is hit.
cCharaData DemoWalker(int sheet);
// A coin that sounds when taken.
cItemData DemoCoin();

// A command of a kind that runs for tenths of a second.
inline cCommandData DemoCommand(int kind, int tenths)
{
    cCommandData command;
    command.m_nKind = static_cast<std::int8_t>(kind);
    command.m_nTime = static_cast<std::int16_t>(tenths);
    return command;
}
