#pragma once
// The scene base: the title menu, the world map, the story menu, the stage select, the
// options and the stage play are scenes. The game manager makes one with new when its type
// becomes current and deletes it through the virtual destructor; Run runs one frame and
// calls Init on the first.

// Scene types: the index of each scene in the game manager.
enum SCENE {
    SCENE_TITLE = 0,
    SCENE_WORLDMAP = 1,
    SCENE_STORYMENU = 2,
    SCENE_STAGESELECT = 3,
    SCENE_PLAY = 4,
    SCENE_OPTION = 5,
};
constexpr int kSceneTypes = 6;

class cScene {
public:
    cScene() = default;
    virtual ~cScene() = default;
    cScene(const cScene&) = delete;
    cScene& operator=(const cScene&) = delete;

    virtual void Run() = 0;

    int m_nState = -1;   // -1 until Init has run
};
