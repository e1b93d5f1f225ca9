#pragma once
// The stage-play scene (scene type 4): it plays one stage from its fade-in to a clear, a game
// over or a quit, and it is the hub through which charas, items, shots and flows reach the
// running stage (g_lpPlayScene). The states are in play_states.cpp, the set-up in
// stage_setup.cpp, the play frame in play_frame.cpp.
#include <atomic>
#include <cstdint>
#include <list>
#include <string>
#include <vector>

#include "objects/object_types.h"
#include "play/effect_list.h"
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
#include "play/stage_pictures.h"
#include "play/time_limit.h"
#include "shell/safe_container.h"

class cBlockData;
struct DDSURFACEDATA;
class cChara;
class cConditionData;
class cHero;
class cEdShot;
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
constexpr int kActivitySlots = 60;

class cPlayScene : public cScene {
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
    // The stage draw: the scene's picture of the running stage on the back buffer.
    void Draw(int full, int paused, int timer, int bottomText);

    // The pause test of the play frame: the space key held (not pressed) pauses.
    bool CheckPauseKey();
    // The pause test: with the key held, sound 4, the state saved and the pause menu entered.
    bool PauseOnKey();
    // The stage BGM request: the loop option into the progress record, then WM_GAME_PLAYBGM
    // for screen 4 with number n.
    void RequestStageBgm(int n, int loop);
    // The activation pass of one sub-step: appearance conditions, then the charas' in-view
    // test and their waking in two passes.
    void UpdateActivation();
    // 1 when the defeat cleared the stage, 2 when it counts as the player's death, 0 otherwise.
    int OnCharaDefeated(cChara& chara);

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
    // Set to 1 by the window thread when WM_CLOSE comes while thPause runs; the next play
    // frame then posts WM_CLOSE itself.
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
    cSafeVector<int> m_SubStepActive;
    cTimeLimit m_TimeLimit;
    int m_nStateFrames = 0;
    int m_nStateFrames2 = 0;
    cReplayState m_Replay;
    int m_bHoldButtons = 0;
    int m_bStatusChanged = 0;
    cSafeVector<int> m_StageVars;
    int m_bOutRuleChara = 0;
    int m_bOutRuleCharaBlock = 0;
    int m_bOutRuleItem = 0;
    int m_nFrame = 0;
    cStageClear m_StageClear;
    int m_bStatusBar = 1;

    // The published frames per second, written by the game manager every frame.
    int m_nFrameRate = 0;
    // Set by a chara's frame when it must be handled after its update.
    int m_bCharaResult = 0;
    // Set when a set-up could not build the stage: the scene then does nothing until the
    // program closes.
    int m_bSetUpFailed = 0;
    // SetStage runs and defeats reported, counted for the harness and the tests.
    int m_nSetUpCount = 0;
    int m_nDefeatsReported = 0;

    // Stage objects: the charas and items of the stage, their hit layers and serials, and
    // how they are placed, summoned, woken and removed (play/stage_objects.cpp,
    // play/stage_spawn.cpp, play/block_summon.cpp).
    cCharaList m_Charas;
    cItemList m_Items;
    // Not owned: the charas of hit layers 0 to 7 (the hero too, once the set-up adds it).
    cSafeVector<cSafeList<cChara*>> m_CharaLayers = cSafeVector<cSafeList<cChara*>>(8);
    int m_nCharaSerial = 0;
    int m_nItemSerial = 0;
    // Cells already switched by the running toggle-mode block summon command.
    cSafeVector<int> m_ToggledCells;
    // Wake switches set by the charas in view during one activation pass.
    cSafeVector<std::uint8_t> m_ActivityTable = cSafeVector<std::uint8_t>(60);
    // Player 1 while the stage has one: the first target of every chara.
    cChara* m_lpPlayerOne = nullptr;

    // The placed charas and items of the stage record: a chara carrying a placed item carries
    // its own copy of it, and the items nobody carries are placed on the grid.
    void PlaceStageObjects();
    // Copies of a placed chara (margins excluded) inside the stage, each with the next serial.
    void PlaceChara(int column, int row, const cCharaData& placement, const cItem* item);
    void PlaceItem(int column, int row, const cItemData& placement);
    // x and y in stage pixels, margins included.
    void SummonChara(double x, double y, int layer, int direction, const cEdShot& command,
                     const cCharaData& definition);
    void SummonItem(double x, double y, int facing, const cEdShot& command, const cItemData& definition);
    void SummonBlock(double x, double y, int facing, const cEdShot& command, const cBlockData& block);
    // The one way a chara leaves the stage: every reference to it is dropped, then it is
    // destroyed. Returns the position after it.
    cCharaList::iterator UnlinkChara(cCharaList::iterator position);
    // The charas' part of the activation pass: every chara present tests whether it is in
    // view (setting its wake switch), then every active chara whether it is awake.
    void UpdateCharaActivation();
    int CheckCharaConditions(cStageChara& chara);
    // 1 when the chara stands in a solid block or overlaps a block-like chara.
    int IsInSolid(cChara& chara);
    int OverlapsBlockChara(const cChara& chara);
    // Marks the player and the charas a block placed in `cell` would catch; 1 when the
    // command's options cancel the placement.
    int MarkCharasInBlock(int cell, int column, int row, const cEdShot& command);

    // Flows: true when the flow's start conditions hold for the chara (an empty list holds).
    bool CheckFlowConditions(cRunningFlow& flow, cChara& chara);
    // Mode 0: every condition holds, 1: at least one; an empty list holds, another mode never.
    // Each stops at the first condition that decides, so later random operands are not drawn.
    bool CheckConditionList(cSafeVector<cConditionData>& conditions, int mode, cChara& chara);
    bool CheckCondition(cConditionData& condition, cChara& chara);

    // Block collision (play/block_collision.cpp): cell indices of the grid; the tests return 2
    // when a block (or the screen's bottom) kills the chara, else 0.
    int FindBlockOnLine(const cChara& chara, int x1, int y1, int x2, int y2);
    int FindFloorBlock(const cChara& chara);
    int FindBlockAtCorners(int left, int top, int right, int bottom, int layer);
    int ProbeLeft(cChara& chara);
    int ProbeRight(cChara& chara);
    int ProbeUp(cChara& chara);
    int ProbeDown(cChara& chara);
    int CollideX(cChara& chara);
    int CollideXBoth(cChara& chara);
    int CollideY(cChara& chara);
    int CollideYBoth(cChara& chara);
    void ClampToScreenX(cHero& player);
    int ClampToScreenY(cHero& player);

    // Hits between objects (play/contacts.cpp, play/item_touch.cpp). Each gives 0 when nothing
    // decisive happened, 1 when the stage is cleared, 2 when the player is killed.
    int ProcessContacts();
    int ResolveDefeat(cChara& chara);
    // 1 when the frame must end.
    int CheckPlayerHp();
    int TouchItems(cHero& player);
    // The end of a touch for the chara it hurt (when `hit`): invincibility from the attacker,
    // or its defeat when its HP is `gone`; 1 or 2 when that ends the contacts.
    int SettleTouch(bool hit, int gone, cChara& target, const cChara& attacker);

    // What the play frame calls of riding and block effects (play/frame_seams.cpp until they
    // exist): each gives 0 when nothing decisive happened, 2 when the chara is killed, and the
    // block effects 1 when the stage is cleared.
    int ProcessHits(cChara& chara, cCharaList& charas);
    int FollowRiddenChara(cChara& chara, cCharaList& charas);
    int ApplyBlockEffect(cChara& player);
    int ApplyBlockItemEffect(cChara& player);

    // Appearance conditions of blocks and items: 1 present. Blocks are tested with player 1
    // as the subject; a cell of the block grid keeps the latch of its check-once conditions.
    int CheckBlockConditions(cBlockData& block);
    int CheckItemConditions(cItem& item);
    // The block test of the block records while a scene lives: the published scene's
    // CheckBlockConditions (no scene published: present).
    static bool BlockConditionTest(cBlockData& block);

    // The stage draw (play/stage_draw.cpp and the files beside it); Draw is the one entry.
    void DrawStage(int full, int paused, int timer, int bottomText);
    // Player 1's draw; after its death display it runs the death sequence.
    void DrawPlayer(int paused);
    // 1 when the chara's death display has ended: the caller removes it.
    int DrawChara(cStageChara& chara, int paused);
    void ScrollBackgrounds();
    void DrawBackgrounds(DDSURFACEDATA* target, int front);
    void DrawBlocks(DDSURFACEDATA* target, int blockLayer);

    // The status bar, the remaining time and the screen colour (play/status_bar.cpp,
    // play/screen_colour.cpp), drawn over the stage in this order. timer: the time warning
    // may sound in this frame.
    void DrawStatusBar(DDSURFACEDATA* lpTarget);
    void DrawTimeLeft(DDSURFACEDATA* lpTarget, int timer);
    void DrawBottomLine();
    void DrawScreenColor(int paused);
};

// The stage-play scene while it exists, null otherwise. Set by the game thread; the window
// thread reads it when WM_CLOSE comes during the stage's modal loop.
extern std::atomic<cPlayScene*> g_lpPlayScene;
// Player 1 of the running stage: null while no stage or no hero is set up.
cChara* PlayerOne();
