#pragma once
// The scene base: the title menu, the world map, the story menu, the stage select, the
// options and the stage play are scenes. The game manager makes one with new when its type
// becomes current and deletes it through the virtual destructor; Run runs one frame and
// calls Init on the first. Each scene is a table of states: entry 0 fades in, the last fades
// out and hands over, the ones between are the scene's own.
#include <vector>

#include "platform/os/windows_types.h"

struct DDSURFACEDATA;

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

// What the front-end scenes share: their music, their standard pictures, their one work
// surface in g_SceneSurface and their fades.

// The start of every front-end Init: the BGM of the screen (0 title, 1 world map and story
// menu, 2 stage select, 3 options) asked for when it is 0 or not the one playing, then the
// scene's standard pictures loaded; a picture that cannot be loaded asks the program to close
// and the scene goes on.
void BeginFrontEndInit(int bgmScreen, const int* pictures, int count);
// The scene's standard pictures released, and the work surface when the scene has one.
void ReleaseFrontEndPictures(const int* pictures, int count, bool workSurface);
// The work surface made anew: w x h, transparent or opaque. False (the program asked to close)
// when it cannot be made; the scene then draws nothing into it.
bool RebuildSceneSurface(int w, int h, BOOL transparent);
// The work surface, or null when there is none (or it could not be made).
DDSURFACEDATA* SceneSurface();
// 8-bit colour: the scenes draw their work surface again on every fade-in frame.
bool IsEightBitColour();
// True, clearing the flag, when the work surface was lost: the caller draws it again before
// showing it.
bool TakeSceneSurfaceLost();
// Ends the program after a failure its box has named: asks the main window to close and,
// unless a close is already under way, marks the run as failed, so that it ends with status 1.
void PostClose();
// One step of the fade from black; true on the step that finished it.
bool FrontEndFadeInStep();
// One step of the fade to black; on the step that finished it, the back buffer is filled with
// colour 16, the menu cursor reset when resetCursor, the scene's own type recorded as the
// previous scene and the next scene made current: true.
bool FrontEndFadeOutStep(int ownScene, bool resetCursor);
