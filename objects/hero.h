#pragma once
// The player's chara: a chara bound to one player's input record, with an item box, a camera
// that follows it, a jump whose height the key or the running speed decides, block effects on
// its horizontal motion and overlays that show its boxes.
#include <cstdint>
#include <vector>

#include "data/command_data.h"
#include "objects/chara.h"
#include "shell/safe_container.h"

class cInput;
struct DDSURFACEDATA;
class cKeyConditionData;

// One overlay of the hero's boxes (32 bytes as the game keeps it).
struct HEROOVERLAY {
    int nKind = 0;       // 0 bounds, 1 body box, 2 item box, 3 shot box
    int nMode = 0;       // 0 hidden, 1 filled, 2 outline
    int nColor = 0;      // palette number
    int nX = 0;          // screen
    int nY = 0;
    int nWidth = 0;
    int nHeight = 0;
    int nBlink = 0;      // 0 to 31
};

class cHero : public cChara {
public:
    cHero() = default;

    // Sets the hero up from its placement; the caller then puts it on its block.
    void Spawn(int serial, const cCharaData& placement, double homeX, double homeY);
    // Walking (0) or one of the flying types; applyScale sizes everything by the template's
    // scale afterwards.
    void SetMoveType(int type, int applyScale);
    // The stage's walking or flying bounds by the current flying flag, centred (or
    // bottom-aligned) in the 32 x 32 drawing.
    void GetBodySize(int& drawOffsetX, int& drawOffsetY, int& width, int& height) const;
    void RebuildBoxList();
    // The screen rectangle: on an auto-scrolling axis the position and the scroll are
    // truncated apart, otherwise their difference is.
    void UpdateScreenRect();
    void RememberDirection() { m_nPrevDirection = m_nDirection; }
    void RememberFloorBlock() { m_lpPrevFloorCell = m_lpFloorCell2; }
    int IsNewItem(int serial) const;
    void ForgetItem(int serial);
    int RunItemActions(const cSafeVector<cCommandData>& actions);
    void ShowItemMessage(int imageKind, int picture, int imageIndex);
    // The chara, then the overlays of its boxes.
    void Draw(DDSURFACEDATA* target, int paused);
    // The box an overlay shows, or none for the bounds.
    const HITBOX* OverlayBox(int kind) const;
    void DrawOverlayMask(DDSURFACEDATA* target);
    // Floor block solid for the hero, or riding.
    int IsOnGround() const;

    void ScaleBoxes(int newScale) override;
    void UpdateBoxesX() override;
    void UpdateBoxesY() override;
    // The camera follows, then the hero is kept inside the scroll (flying) or the playfield.
    int OnMovedX() override;
    int OnMovedY() override;
    int MoveX() override;
    // 7 when a walking hero fell out of the stage, else the clamp's code.
    int MoveY() override;
    int Update(int restricted) override;
    void AfterFlows() override;
    void StartJump(cFlowCommandEntry& jump) override;

    cInput* m_lpInput = nullptr;     // into g_Input, which a stage never resizes
    int m_nJumpHold = 0;
    int m_bJumpReady = 1;
    int m_bNoJump = 0;
    double m_dBlockEffectBase = 0;
    int m_bJumpHandled = 0;
    int m_bBlockDirection = 0;
    int m_bBlockButtons = 0;
    int m_nPrevDirection = 0;
    cSafeVector<int> m_Touching;
    int m_nBlockEffectKind = 0;
    double m_dBlockEffectValue = 0;
    int m_nBlockEffectSteps = 0;
    int m_nBlockItemCooldown = 0;
    int m_nFrameCounter = 0;
    HITBOX m_ItemBox;
    std::vector<HEROOVERLAY> m_Overlays;
    // Flow-change item actions taken while the hero's own flows ran: copies, since the item
    // that gave one may be gone by the time they run after the flows.
    std::vector<cCommandData> m_PendingFlowChanges;
};

// Whether the newest key states of `input` satisfy the key condition, by its rule: 0 every
// used key matches, 1 at least one, 2 exactly one. Facing does not mirror the keys.
int TestJumpKeys(const cInput& input, const cKeyConditionData& condition);

// The heroes of a stage, element 0 player 1. The stage set-up sizes it.
extern cSafeVector<cHero> Player;
