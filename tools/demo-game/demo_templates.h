#pragma once
// The templates the demo's stages place, each made in a file of its own
// (demo_template_*.cpp).
#include <cstdint>

#include "data/block_data.h"
#include "data/chara_data.h"
#include "data/command_data.h"
#include "data/item_data.h"

// The hit layer of the charas the hero fights.
inline constexpr int kDemoEnemyLayer = 2;

// A block showing cell `number` of the block sheet, with a collision mode.
cBlockData DemoBlock(const char* name, int number, int hitMode);
// The hero: left and right walk, the first button jumps, a touch hurts a walker.
cCharaData DemoHero();
// A walker drawn from chara sheet `sheet` (bmp\Character<sheet>.bmp, from 1): it walks
// forward for two seconds, turns, walks back, turns again, and cries when it is hurt.
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
