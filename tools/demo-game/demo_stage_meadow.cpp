// The first stage: a short meadow with two walkers, to the Ogg tune.
#include "tools/demo-game/demo_content.h"
#include "tools/demo-game/demo_database.h"
#include "tools/demo-game/demo_stage_layout.h"

void AddMeadowStage(DEMOGAME& game)
{
    const DEMOSTAGELAYOUT layout{40, DEMO_BGM_OGG, "背景その1.bmp", 12, 2, 2, 0, false};
    game.stages.push_back({"data\\stg4\\Meadow.stg4_001", "草原", DemoStageLayout(layout)});
}
