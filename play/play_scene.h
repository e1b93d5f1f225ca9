#pragma once
// The stage-play scene (scene type 4). Stage play itself is not built yet: the scene keeps the
// members the window thread and the dialogs touch, and its frame says it is not built.
#include <atomic>
#include <cstdint>
#include <string>

#include "play/object_lists.h"
#include "play/scene.h"
#include "play/scroll_axis.h"
#include "shell/safe_container.h"

class cBlockData;
class cChara;
class cEdShot;
class cRunningFlow;
class cFlowCommandEntry;

class cPlayScene : public cScene {
public:
    ~cPlayScene() override;
    void Run() override;

    // Set to 1 by the window thread when WM_CLOSE comes while thPause runs; the next play
    // frame then posts WM_CLOSE itself.
    std::atomic<int> m_nQuitRequest{0};
    // The published frames per second, written by the game manager every frame.
    int m_nFrameRate = 0;
    // The ranking name that the name-entry dialog edits (at most 3 characters).
    std::string m_strRankingName;
    // The camera: game objects clamp and test themselves against these.
    cScrollAxis m_ScrollX;
    cScrollAxis m_ScrollY;
    // The chara, flow and command being run; command handlers read them. A chara or flow that
    // goes away clears the ones that point at it.
    cChara* m_lpCurChara = nullptr;
    cRunningFlow* m_lpCurFlow = nullptr;
    cFlowCommandEntry* m_lpCurEntry = nullptr;
    // Set by a chara's frame when it must be handled after its update.
    int m_bCharaResult = 0;

    // The stage values that expressions and status operations read and write.
    int m_nTimeLeft = 0;               // seconds, 0 to 999
    int m_bNoTimeLimit = 0;            // the time is shown as 999 and never counted down
    // Set when a flow leaves a chara other than the one running it with HP 0 or less.
    int m_bStatusChanged = 0;
    cSafeVector<int> m_StageVars;      // S0..S254, sized by the set-up

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
};

// The stage-play scene while it exists, null otherwise. Set by the game thread; the window
// thread reads it when WM_CLOSE comes during the stage's modal loop.
extern std::atomic<cPlayScene*> g_lpPlayScene;
