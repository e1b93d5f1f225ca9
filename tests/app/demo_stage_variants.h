#pragma once
// Variants of the demo's first stage that tests of the executable write into a demo game: the
// stage loaded, changed and saved under a name of its own.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>

#include "data/condition_data.h"
#include "data/palette_data.h"
#include "data/stage_data.h"
#include "tests/support/restore.h"

namespace qbtest {

// Common variable 0 (0 all game) compared with a random number from 0 to `high`: one draw
// every time the condition is tested.
inline cConditionData VariableAgainstRandom(int op, int high)
{
    cConditionData condition;
    condition.m_nKind = 4;            // status
    condition.m_nValueSource = 1;     // a variable
    condition.m_nVariableScope = 0;   // common
    condition.m_nOperandSource = 1;   // random
    condition.m_nRandomMax = high;
    condition.m_nOperator = static_cast<std::int8_t>(op);
    return condition;
}

// Saves the stage `from` of the demo game in `game`, changed by `change`, as `path`.
template <class CHANGE>
void WriteStageAs(const std::filesystem::path& game, const char* from, const char* path, CHANGE change)
{
    cRestore<cPaletteData> common(g_CommonPalette);
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(game);
    cStageData stage;
    const bool loaded = g_CommonPalette.Load("data\\CommonPalette.cplt4") && stage.Load(from);
    change(stage);
    const bool saved = loaded && stage.Save(path);
    std::filesystem::current_path(before);
    ASSERT_TRUE(loaded) << from;
    ASSERT_TRUE(saved) << path;
}

// The game's random numbers matter: every ground block tests a condition with a random operand
// whenever a chara stands or walks on it (it always holds), and a check-once block in the sky
// shows up for good once a random draw lets it.
inline void AddDice(cStageData& stage)
{
    for (cBlockData& block : stage.m_Blocks) {
        if (block.m_nRow >= stage.m_nHeight - 2) block.m_Conditions.assign(1, VariableAgainstRandom(3, 9));
    }
    cBlockData sky = stage.m_Blocks.At(0);
    sky.m_nColumn = 10;
    sky.m_nRow = 3;
    sky.m_Conditions.assign(1, VariableAgainstRandom(2, 3));
    sky.m_bCheckOnce = 1;
    stage.m_Blocks.push_back(sky);
}

}  // namespace qbtest
