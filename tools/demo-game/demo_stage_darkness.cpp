// The third stage: a dark cave that only the hero's sight lights, and the charas' draw effects.
// The hero starts blinking and stays invincible, and hurts what it touches: walkers show their
// HP gauges and burst when defeated, one walker grows and shrinks, and a ghost floats by
// translucent. Its chara effects are entries of its own in the CharaEffect database.
#include <cstdint>

#include "tools/demo-game/demo_content.h"
#include "tools/demo-game/demo_database.h"
#include "tools/demo-game/demo_stage_layout.h"
#include "tools/demo-game/demo_templates.h"

namespace {

struct DEMOCHARAEFFECT {
    const char* name;
    int kind;
    int params[5];
};

// A chara effect entry appended to the database; its number.
int AddCharaEffect(cDatabase& database, const DEMOCHARAEFFECT& effect)
{
    cCharaEffectData entry;
    entry.m_strName = effect.name;
    entry.m_nKind = effect.kind;
    for (int i = 0; i < 5; ++i) entry.m_nParams[i] = effect.params[i];
    database.m_CharaEffects.push_back(entry);
    return static_cast<int>(database.m_CharaEffects.size()) - 1;
}

void SetInitialEffect(cCharaData& chara, int effect, int mode, int loop)
{
    chara.m_nCharaEffect = static_cast<std::int16_t>(effect);
    chara.m_nCharaEffectMode = static_cast<std::int8_t>(mode);
    chara.m_bCharaEffectLoop = static_cast<BYTE>(loop);
}

// A template of the stage's palette placed at (column, row).
cCharaData PlacedCharaOf(const cStageData& stage, int paletteIndex, int column, int row)
{
    cCharaData placed = stage.m_PaletteCharas[static_cast<std::size_t>(paletteIndex)];
    placed.m_nColumn = static_cast<std::int16_t>(column);
    placed.m_nRow = static_cast<std::int16_t>(row);
    placed.m_nInheritSource = 2;  // the stage palette
    placed.m_nInheritIndex = static_cast<std::int16_t>(paletteIndex);
    return placed;
}

constexpr int kHeroIndex = 1;
constexpr int kWalkerIndex = 2;

}  // namespace

void AddDarknessStage(DEMOGAME& game)
{
    cDatabase& database = game.database;
    const int blink = AddCharaEffect(database, {"点滅", 6, {30, 4, 0, 0, 0}});
    const int burst = AddCharaEffect(database, {"破裂", 1, {5, 0, 32, 0, 0}});
    const int zoom = AddCharaEffect(database, {"拡大", 11, {10, 32, 48, 0, 0}});
    const int translucent = AddCharaEffect(database, {"半透明", 14, {10, 9999, 0, 0, 0}});
    // A defeated chara stays to show its death effect.
    game.system.m_bHitCheckSwitch = 1;

    const DEMOSTAGELAYOUT layout{40, DEMO_BGM_MIDI, "背景その2.bmp", 13, 3, 3, 0, false};
    cStageData stage = DemoStageLayout(layout);

    cCharaData& hero = stage.m_PaletteCharas[kHeroIndex];
    hero.m_nSightShape = 1;    // a circle around the hero
    hero.m_nSightRange = 8;    // half blocks
    hero.m_nInvincible = 1;
    hero.m_nFlashColor = 3;
    hero.m_nBodyAttack = 1;
    hero.m_nGroup2Setting = 0;  // a layer of its own, so that it and the walkers hit each other
    hero.m_nDefeatEffect = static_cast<std::int16_t>(burst);
    SetInitialEffect(hero, blink, 0, 0);
    stage.m_PaletteCharas[kWalkerIndex].m_nDefeatEffect = static_cast<std::int16_t>(burst);

    cCharaData zoomer = DemoWalker(5);
    zoomer.m_nDefeatEffect = static_cast<std::int16_t>(burst);
    SetInitialEffect(zoomer, zoom, 2, 1);
    stage.m_PaletteCharas.push_back(zoomer);
    cCharaData ghost = DemoWalker(7);
    ghost.m_nFlying = 1;       // through the blocks
    SetInitialEffect(ghost, translucent, 0, 1);
    stage.m_PaletteCharas.push_back(ghost);

    // The placed charas copy their templates as they stand now: the hero, the walkers, then
    // the second walker's place goes to the zoomer, and the ghost floats above the ledges.
    for (cCharaData& placed : stage.m_Charas) {
        const int index = placed.m_nInheritIndex;
        const int column = placed.m_nColumn, row = placed.m_nRow;
        placed = PlacedCharaOf(stage, index, column, row);
    }
    stage.m_Charas[2] = PlacedCharaOf(stage, kWalkerIndex + 1, stage.m_Charas[2].m_nColumn, stage.m_Charas[2].m_nRow);
    stage.m_Charas.push_back(PlacedCharaOf(stage, kWalkerIndex + 2, 16, 7));
    game.stages.push_back({"data\\stg4\\Darkness.stg4_001", "闇", stage});
}
