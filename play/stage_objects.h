#pragma once
// The stage's charas and items as a population: their lists, hit layers and serials, and how
// they are placed, summoned, woken and removed (play/stage_objects.cpp, play/stage_spawn.cpp,
// play/block_summon.cpp, play/stage_objects_setup.cpp). A part of cPlayScene, which derives
// from it.
#include <cstdint>

#include "play/object_lists.h"
#include "shell/safe_container.h"

class cBlockData;
class cChara;
class cCharaData;
class cEdShot;
class cItemData;

// The wake switches of one activation pass.
constexpr int kActivitySlots = 60;

class cStageObjects {
public:
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
    // The activation pass of one sub-step: appearance conditions, then the charas' in-view
    // test and their waking in two passes.
    void UpdateActivation();
    // The charas' part of the activation pass: every chara present tests whether it is in
    // view (setting its wake switch), then every active chara whether it is awake.
    void UpdateCharaActivation();
    // 1 when the chara stands in a solid block or overlaps a block-like chara.
    int IsInSolid(cChara& chara);
    int OverlapsBlockChara(const cChara& chara);
    // Marks the player and the charas a block placed in `cell` would catch; 1 when the
    // command's options cancel the placement.
    int MarkCharasInBlock(int cell, int column, int row, const cEdShot& command);

    cCharaList m_Charas;
    cItemList m_Items;
    // Not owned: the charas of hit layers 0 to 7 (the hero too, once the set-up adds it).
    cSafeVector<cSafeList<cChara*>> m_CharaLayers = cSafeVector<cSafeList<cChara*>>(8);
    int m_nCharaSerial = 0;
    int m_nItemSerial = 0;
    // Cells already switched by the running toggle-mode block summon command.
    cSafeVector<int> m_ToggledCells;
    // Wake switches set by the charas in view during one activation pass.
    cSafeVector<std::uint8_t> m_ActivityTable = cSafeVector<std::uint8_t>(kActivitySlots);
    // Player 1 while the stage has one: the first target of every chara.
    cChara* m_lpPlayerOne = nullptr;
    // Whether the stage's disappear-off-screen rules for non-block charas, block-like charas
    // and items have any side enabled.
    int m_bOutRuleChara = 0;
    int m_bOutRuleCharaBlock = 0;
    int m_bOutRuleItem = 0;
};
