#pragma once
// A chara of a stage other than the hero: one placed in the stage file or summoned by a flow.
// It carries one item for the player, sleeps until it comes into view or a chara sharing its
// wake switch does, and shows its item's icon above its head.
#include "objects/chara.h"
#include "objects/item.h"

struct DDSURFACEDATA;

class cStageChara : public cChara {
public:
    cStageChara() = default;

    // Sets the chara up from `definition` (a template scale of 0 is written back as 1 first),
    // carrying a copy of `item` (none: no item), with its home point and copy index.
    void Spawn(int serial, cCharaData& definition, const cItem* item, double homeX, double homeY,
               int copyIndex);
    // Puts the chara on stage block (column, row), margins excluded.
    void PlaceAtBlock(int column, int row);

    // 1 when the chara is in view on its tested axes; a chara in view sets its wake switch.
    int CheckActive(cSafeVector<std::uint8_t>& switches);
    // 1 when the chara is to be awake: in view, its wake switch set, or a walking chara in the
    // air (rising from a jump, or falling once woken).
    int TryActivate(cSafeVector<std::uint8_t>& switches);

    // The held item's icon above the chara's head.
    void DrawMarkIcon(DDSURFACEDATA* target);
    // One frame of the icon's 96-frame cycle: 1 when the icon shows this frame, at (x, y).
    int StepMarkIcon(int& x, int& y);

    void ScaleBoxes(int newScale) override;
    void UpdateBoxesX() override;
    void UpdateBoxesY() override;
    cItem* HeldItem() override { return &m_HeldItem; }
    int OnMovedX() override;
    int OnMovedY() override;
    // Result 4 when stopped at a stage side, else the clamp's code.
    int MoveX() override;
    // A walking chara that fell out gets 7; a flying one at the stage's top or bottom 8.
    int MoveY() override;
    int Update(int restricted) override;
    // Refused while falling, stopped by a ceiling, knocked back or airborne.
    void StartJump(cFlowCommandEntry& jump) override;

    int m_bInView = 0;
    int m_bAwake = 0;
    cItem m_HeldItem;
    int m_nIconCounter = 0;
    int m_bIgnoreX = 0;
    int m_bIgnoreY = 0;
    int m_bActivated = 0;
    int m_nSpare = 0;
};
