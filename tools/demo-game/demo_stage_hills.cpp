// The third stage: hills with two walkers, to the Ogg tune.
#include "tools/demo-game/demo_content.h"
#include "tools/demo-game/demo_database.h"
#include "tools/demo-game/demo_stage_layout.h"

void AddHillsStage(DEMOGAME& game)
{
    const DEMOSTAGELAYOUT layout{50, DEMO_BGM_OGG, "背景その3.bmp", 14, 4, 2, 0, false};
    game.stages.push_back({"data\\stg4\\Hills.stg4_001", "丘", DemoStageLayout(layout)});
}
