#include "tools/demo-game/demo_content.h"

// The features of the demo game, each defined in the file named after it. The order is that of
// the lists they add to (a database entry, a stage, a point of the world map), so it is fixed.
void AddDemoSystem(DEMOGAME& game);             // demo_system.cpp
void AddDemoDatabase(DEMOGAME& game);           // demo_database.cpp
void AddMeadowStage(DEMOGAME& game);            // demo_stage_meadow.cpp
void AddCavesStage(DEMOGAME& game);             // demo_stage_caves.cpp
void AddHillsStage(DEMOGAME& game);             // demo_stage_hills.cpp
void AddPlatformsStage(DEMOGAME& game);         // demo_stage_platforms.cpp
void AddDarknessStage(DEMOGAME& game);          // demo_stage_darkness.cpp
void AddSignpostStage(DEMOGAME& game);          // demo_stage_signpost.cpp
void AddSeriesStages(DEMOGAME& game);           // demo_stage_series.cpp
void AddBossStage(DEMOGAME& game);              // demo_stage_boss.cpp
void AddShotFeatures(DEMOGAME& game);           // demo_feature_shots.cpp: after the stages
void AddDemoWorldMap(DEMOGAME& game);           // demo_world_map.cpp: after every stage
void AddDemoStory(DEMOGAME& game);              // demo_story.cpp: after the world map
void AddDemoChallenge(DEMOGAME& game);          // demo_challenge.cpp: after every stage
void AddDemoOptions(DEMOGAME& game);            // demo_options.cpp
void AddPalettePictures(DEMOGAME& game);        // demo_picture_palette.cpp
void AddBlockPictures(DEMOGAME& game);          // demo_picture_blocks.cpp
void AddCharaPictures(DEMOGAME& game);          // demo_picture_charas.cpp
void AddObjectPictures(DEMOGAME& game);         // demo_picture_objects.cpp
void AddStatusBarPictures(DEMOGAME& game);      // demo_picture_status_bar.cpp
void AddStoryPictures(DEMOGAME& game);          // demo_story_pictures.cpp: after the status bar's
void AddWindowPictures(DEMOGAME& game);         // demo_picture_windows.cpp
void AddTitlePictures(DEMOGAME& game);          // demo_picture_title.cpp
void AddWorldMapPictures(DEMOGAME& game);       // demo_picture_world_map.cpp
void AddBackgroundPictures(DEMOGAME& game);     // demo_picture_backgrounds.cpp
void AddDemoSoundEffects(DEMOGAME& game);       // demo_sound_effects.cpp
void AddDemoTune(DEMOGAME& game);               // demo_tune.cpp

namespace {

using DEMOFEATURE = void (*)(DEMOGAME& game);

constexpr DEMOFEATURE kDemoFeatures[] = {
    AddDemoSystem,
    AddDemoDatabase,
    AddMeadowStage,
    AddCavesStage,
    AddHillsStage,
    AddPlatformsStage,
    AddDarknessStage,
    AddSignpostStage,
    AddSeriesStages,
    AddBossStage,
    AddShotFeatures,
    AddDemoWorldMap,
    AddDemoStory,
    AddDemoChallenge,
    AddDemoOptions,
    AddPalettePictures,
    AddBlockPictures,
    AddCharaPictures,
    AddObjectPictures,
    AddStatusBarPictures,
    AddStoryPictures,
    AddWindowPictures,
    AddTitlePictures,
    AddWorldMapPictures,
    AddBackgroundPictures,
    AddDemoSoundEffects,
    AddDemoTune,
};

}  // namespace

DEMOGAME DemoGameContent()
{
    DEMOGAME game;
    for (DEMOFEATURE add : kDemoFeatures) {
        add(game);
        if (!game.error.empty()) break;
    }
    return game;
}
