#pragma once
// The game manager: owns the scene objects, switches between them and runs one frame of the
// game (frame wait, lost-surface recovery, input, scene switch, the scene's frame, the
// frame-rate text, presentation). The game thread runs RunFrame; the stage's modal loops reuse
// WaitFrameRate, RestoreLostSurfaces, PollInput and Present while the game thread waits.
#include <memory>
#include <vector>

#include "data/game_modes.h"
#include "graphics/surface_data.h"
#include "platform/os/windows_types.h"
#include "play/scene.h"
#include "shell/input.h"
#include "shell/safe_container.h"

class cGameManager {
public:
    cGameManager() = default;
    ~cGameManager();
    cGameManager(const cGameManager&) = delete;
    cGameManager& operator=(const cGameManager&) = delete;

    // One frame; false when the game cannot go on (a surface that cannot be restored).
    bool RunFrame();
    // Makes scene type n exist; deletes the others unless m_bKeepScenes.
    void ChangeScene(int n);
    void DeleteScenes();
    // Shows the finished frame: the Direct3D present, or under DirectDraw a copy to the window
    // or a flip (a copy when flipping is off or the stage runs above 60 frames a second).
    void Present();
    // DirectDraw: once the primary surface is lost, restores the standard surfaces and every
    // program-wide container of surfaces; false when one cannot be restored.
    bool RestoreLostSurfaces();
    // A lost DirectDraw surface restored; one in video memory is marked lost for its owner and
    // gets its picture file back. False when it cannot be restored or reloaded.
    static bool RestoreOneSurface(DDSURFACEDATA& sd);
    // The lost digit surfaces of the fonts restored and their digits drawn again.
    static bool RestoreFontSurfaces(DDSURFACEDATA* surfaces, int n);
    void PollInput(cSafeVector<cInput>& inputs);

    // The scene object of a type, null when it does not exist (or the type is outside 0..5).
    cScene* Scene(int type) const;

    int m_nScene = SCENE_TITLE;
    int m_nNextScene = SCENE_TITLE;
    int m_nPrevScene = SCENE_TITLE;
    int m_nGameMode = GAMEMODE_NEWSTORY;  // GAMEMODE: the title-menu item chosen last
    int m_nPlayMode = PLAYMODE_STORY;     // PLAYMODE
    int m_bKeepScenes = 0;
    int m_nStageSelectRow = 0;   // the stage select's cursor row and list top, kept when a stage starts
    int m_nStageSelectTop = 0;
    int m_bRanking = 0;
    double m_dScaleX = 0.0;
    double m_dScaleY = 0.0;
    int m_nFps = 0;
    int m_nFadeSpeed = 0;
    int m_nBgm = 0;

private:
    void DeleteScene(int type);
    void DrawFrameRateText(DWORD fps, DWORD work);
    std::unique_ptr<cScene> m_lpScenes[kSceneTypes];
    // The frame-rate text's average work time: a ring of 16 frames, averaged when it wraps.
    DWORD m_adwWorkRing[16] = {};
    int m_nWorkRingIndex = 0;
    DWORD m_dwWorkAverage = 0;
};

extern cGameManager g_GameManager;

// DirectDraw frame wait at the game manager's frame rate.
void WaitFrameRate();

// RestoreOneSurface on every record in order; false at the first failure.
bool RestoreSurface(std::vector<DDSURFACEDATA>& surfaces);
bool RestoreSurface(cSafeList<DDSURFACEDATA>& surfaces);

// One step of a value bouncing between min and max; true when a full cycle ended.
bool PingPongStep(int& value, int& falling, int step, int min, int max);

// Makes the scene object of a type with new (null when it cannot be allocated). The program
// registers the maker that knows every scene at start-up.
using SceneFactory = cScene* (*)(int type);
void SetSceneFactory(SceneFactory factory);

// Called at the start and at the end of every frame, on the thread that runs it (the harness).
// carry: a frame that one thread began goes on on the calling thread (a stage's modal loop
// shows the frame whose play frame started it, and the play frame finishes the frame in which
// the loop ended).
using FrameHook = void (*)();
void SetFrameHooks(FrameHook start, FrameHook end, FrameHook carry = nullptr);
void CallFrameStartHook();
void CallFrameEndHook();
void CallFrameCarryHook();
// Whether frames are held (the harness after its close frame): a loop that runs frames of its
// own then runs none and only waits for its WM_QUIT.
using FrameHoldTest = bool (*)();
void SetFrameHoldTest(FrameHoldTest test);
bool FramesHeld();

// Draws the frame-rate text onto the back buffer (System.ini ShowFps 1: in a window, 2: plain).
// Without one the program's fonts draw it; tests set one to see the text.
using FpsTextDrawer = void (*)(int showFps, const char* text);
void SetFpsTextDrawer(FpsTextDrawer draw);
