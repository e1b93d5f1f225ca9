#pragma once
// The scene base: the title menu, the world map, the story menu, the stage select, the
// options and the stage play are scenes. The game manager makes one with new when its type
// becomes current and deletes it through the virtual destructor; Run runs one frame and
// calls Init on the first. Each scene is a table of states: entry 0 fades in, the last fades
// out and hands over, the ones between are the scene's own.
#include <vector>

#include "platform/os/windows_types.h"

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
    // A state handler: a member of the scene without arguments. A derived scene's handler is
    // entered with static_cast<STATEHANDLER>(&cDerived::State).
    using STATEHANDLER = void (cScene::*)();

    cScene() = default;
    virtual ~cScene() = default;
    cScene(const cScene&) = delete;
    cScene& operator=(const cScene&) = delete;

    virtual void Run() {}
    virtual void Init() {}
    virtual void FadeIn() {}
    virtual void FadeOut() {}

    // The state table's first and last entries.
    void CallFadeIn() { FadeIn(); }
    void CallFadeOut() { FadeOut(); }
    // The handler of the current state; a state outside the table does nothing.
    void RunState();
    // The frame of a front-end scene's Run: player 1's input with the menu repeat and the
    // scene's one-shot buttons (the mask of cInput::TriggerButtons), Init on the first frame,
    // then the handler of the current state.
    void RunFrontEndFrame(WORD oneShotButtons);

    int m_nState = -1;   // -1 until Init has run
    int m_nSubState = 0;
    std::vector<STATEHANDLER> m_States;
};
