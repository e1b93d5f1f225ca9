#include "app/scene_factory.h"

#include <new>

#include "play/play_scene.h"
#include "scenes/option_scene.h"
#include "scenes/stage_select_scene.h"
#include "scenes/story_menu_scene.h"
#include "scenes/title_scene.h"
#include "scenes/world_map_scene.h"

cScene* MakeScene(int type)
{
    switch (type) {
    case SCENE_TITLE: return new (std::nothrow) cTitleScene;
    case SCENE_WORLDMAP: return new (std::nothrow) cWorldMapScene;
    case SCENE_STORYMENU: return new (std::nothrow) cStoryMenuScene;
    case SCENE_STAGESELECT: return new (std::nothrow) cStageSelectScene;
    case SCENE_PLAY: return new (std::nothrow) cPlayScene;
    case SCENE_OPTION: return new (std::nothrow) cOptionScene;
    default: return nullptr;
    }
}
