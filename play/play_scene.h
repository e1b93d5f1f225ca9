#pragma once
// The stage-play scene (scene type 4): it plays one stage from its fade-in to a clear, a game
// over or a quit, and it is the hub through which charas, items, shots and flows reach the
// running stage (g_lpPlayScene). The states are in play_states.cpp, the set-up in
// stage_setup.cpp, the play frame in play_frame.cpp.
#include <atomic>

#include "objects/object_types.h"
#include "play/block_collision.h"
#include "play/contacts.h"
#include "play/effect_list.h"
#include "play/frame_seams.h"
#include "play/message_list.h"
#include "play/modal_loop.h"
#include "play/object_lists.h"
#include "play/replay_state.h"
#include "play/scene.h"
#include "play/screen_colour.h"
#include "play/screen_effect.h"
#include "play/scroll_axis.h"
#include "play/shot_lists.h"
#include "play/stage_clear.h"
#include "play/stage_conditions.h"
#include "play/stage_draw.h"
#include "play/stage_objects.h"
#include "play/stage_pictures.h"
#include "play/time_limit.h"
#include "shell/safe_container.h"

class cChara;
class cRunningFlow;
class cFlowCommandEntry;

enum PLAYSTATE {
    PLAYSTATE_FADEIN = 0,
    PLAYSTATE_READY = 1,
    PLAYSTATE_PLAY = 2,
    PLAYSTATE_PAUSE = 3,
    PLAYSTATE_CLEAR = 4,
    PLAYSTATE_CONTINUE = 5,
    PLAYSTATE_GAMEOVER = 6,
    PLAYSTATE_FADEOUT = 7,
};
constexpr int kPlayStates = 8;
constexpr int kObjectLayers = 8;
constexpr int kStageVars = 255;

// The scene's operations are grouped by concern in classes of their own, each in its own
// header, from which the scene derives; each reaches the whole scene through SceneOf.
class cPlayScene : public cScene,
                   public cStageObjects,
                   public cStageConditions,
                   public cBlockCollision,
                   public cContacts,
                   public cRidingAndBlockEffects,
                   public cStageDraw {
public:
    cPlayScene();
    ~cPlayScene() override;

    void Run() override;
    void Init() override;
    void FadeIn() override;
    void FadeOut() override;

    void StateReady();
    void StatePlay();
    void StatePause();
    void StateClear();
    void StateContinue();
    void StateGameOver();

    // Builds the running stage from the stage record (stage_setup.cpp). reload: restore the
    // record's settings from the backup; entry: the stage is entered (or a replay restarts),
    // 0 on a retry. A set-up that fails leaves the scene doing nothing until the program ends.
    void SetStage(int reload, int entry);
    // Takes one life from the progress record: 1, or 0 when none is left. Direct stage play
    // takes nothing and 999999 lives are unlimited.
    int UseLife();
    void ResetStageState();
    // The first set-up of a stage entered from another scene (re-entered: from a stage), after
    // its pictures: a new entry starts its progress, and takes a life unless it plays a replay.
    void EnterStage(bool reEntered);
    // The stage draw: the scene's picture of the running stage on the back buffer.
    void Draw(int full, int paused, int timer, int bottomText);

    // The pause test of the play frame: the space key held (not pressed) pauses.
    bool CheckPauseKey();
    // The pause test: with the key held, sound 4, the state saved and the pause menu entered.
    bool PauseOnKey();
    // The stage BGM request: the loop option into the progress record, then WM_GAME_PLAYBGM
    // for screen 4 with number n.
    void RequestStageBgm(int n, int loop);

    int m_nSavedState = 0;
    int m_nSavedSubState = 0;
    int m_nResult = 0;              // 0 none, 1 stage cleared, 2 player killed
    // The camera: game objects clamp and test themselves against these.
    cScrollAxis m_ScrollX;
    cScrollAxis m_ScrollY;
    cShotLists m_ShotLists;
    cMessageList m_MessageList;
    cEffectList m_EffectList;
    cStagePictures m_StagePictures;
    cScreenEffect m_ScreenEffect;
    cScreenColor m_ScreenColor;
    WAITSTATE m_Wait;
    // The program is closing: set to 1 by the window thread when WM_CLOSE comes while thPause
    // runs (the next play frame then posts WM_CLOSE itself), and by a quit from the pause menu
    // in direct play (the fade-out then starts nothing).
    std::atomic<int> m_nQuitRequest{0};
    // The chara, flow and command being run; command handlers read them. A chara or flow that
    // goes away clears the ones that point at it.
    cChara* m_lpCurChara = nullptr;
    cRunningFlow* m_lpCurFlow = nullptr;
    cFlowCommandEntry* m_lpCurEntry = nullptr;
    int m_bItemActionOnce = 0;
    int m_nPlayers = 0;
    int m_nSubStep = 0;
    int m_nSubStepTotal = 0;
    cTimeLimit m_TimeLimit;
    int m_nStateFrames = 0;
    int m_nStateFrames2 = 0;
    cReplayState m_Replay;
    int m_bHoldButtons = 0;
    cSafeVector<int> m_StageVars;
    int m_nFrame = 0;
    cStageClear m_StageClear;
    int m_bStatusBar = 1;

    // The published frames per second, written by the game manager every frame.
    int m_nFrameRate = 0;
    // Set when a set-up could not build the stage: the scene then does nothing until the
    // program closes.
    int m_bSetUpFailed = 0;
    // SetStage runs, counted for the harness and the tests.
    int m_nSetUpCount = 0;
};

// The stage-play scene while it exists, null otherwise. Set by the game thread; the window
// thread reads it when WM_CLOSE comes during the stage's modal loop.
extern std::atomic<cPlayScene*> g_lpPlayScene;
// The running stage-play scene, or null: what the game layer's code reaches the stage through.
inline cPlayScene* Scene() { return g_lpPlayScene.load(std::memory_order_relaxed); }
// Player 1 of the running stage: null while no stage or no hero is set up.
cChara* PlayerOne();

// The scene that one of its groups of operations belongs to.
template <class tPart> cPlayScene& SceneOf(tPart* part) { return static_cast<cPlayScene&>(*part); }
