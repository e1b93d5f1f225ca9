// The second stage: longer caves with three walkers, to the MIDI tune, against the clock,
// with its number shown before READY.
#include "tools/demo-game/demo_content.h"
#include "tools/demo-game/demo_database.h"
#include "tools/demo-game/demo_stage_layout.h"

void AddCavesStage(DEMOGAME& game)
{
    const DEMOSTAGELAYOUT layout{60, DEMO_BGM_MIDI, "背景その2.bmp", 13, 3, 3, 200, true};
    game.stages.push_back({"data\\stg4\\Caves.stg4_001", "洞窟", DemoStageLayout(layout)});
}
