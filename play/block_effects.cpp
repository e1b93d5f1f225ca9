// The effects and items of the grid's blocks on player 1: springs, speed changes, conveyors,
// the no-jump flag, and items given by standing on a block.
#include <cstdint>

#include "data/block_data.h"
#include "data/item_data.h"
#include "objects/hero.h"
#include "objects/item.h"
#include "play/frame_seams.h"
#include "play/item_touch.h"
#include "play/play_scene.h"
#include "shell/game_arithmetic.h"
#include "shell/game_requests.h"

namespace {

enum BLOCKEFFECTKIND {
    BLOCKEFFECT_SPRING = 1,
    BLOCKEFFECT_NO_JUMP = 2,
    BLOCKEFFECT_SPEED = 3,
    BLOCKEFFECT_PUSH_LEFT = 4,
    BLOCKEFFECT_PUSH_RIGHT = 5,
};
constexpr int kBlockFxSpringSound = 10;
constexpr int kBlockItemRepeatFrames = 60;

// The floor cell's hit mode for the hero; asking may test the block's appearance conditions,
// which draw random numbers and set latches, so it is asked only where the rules ask it.
int BlockFxFloorHitMode(const cHero& hero)
{
    return const_cast<cBlockData*>(hero.m_lpFloorCell)->GetHitMode(hero.m_nPassLayer);
}

void StartBlockEffect(cHero& hero, const cBlockData& cell, const STAGESPEED& speed)
{
    const int kind = static_cast<std::int8_t>(cell.m_nEffect);
    switch (kind) {
    case BLOCKEFFECT_SPRING: {
        PlaySe(kBlockFxSpringSound);
        const double jump = JumpSpeedForHeightHbl(static_cast<std::int8_t>(cell.m_nEffectValue & 0xFF), hero.m_nKind, speed);
        hero.m_dVY = jump;
        hero.m_bJumpUsed = 1;
        hero.m_bJumpRise = 1;
        hero.m_bJumpReady = 0;
        hero.m_nJumpHold = StepsToApex(jump, speed);
        break;
    }
    case BLOCKEFFECT_NO_JUMP: hero.m_bNoJump = 1; break;
    case BLOCKEFFECT_SPEED:
        hero.m_nBlockEffectKind = kind;
        hero.m_dBlockEffectValue = cell.m_nEffectValue * 0.01;
        hero.m_nBlockEffectSteps = speed.nSteps;
        break;
    case BLOCKEFFECT_PUSH_LEFT:
    case BLOCKEFFECT_PUSH_RIGHT:
        hero.m_nBlockEffectKind = kind;
        hero.m_dBlockEffectValue = cell.m_nEffectValue * 0.1 / speed.dSteps;
        hero.m_nBlockEffectSteps = speed.nSteps;
        break;
    default: break;
    }
    if (kind != BLOCKEFFECT_NO_JUMP) hero.m_bNoJump = 0;
}

// At the end of an effect the hero is nudged down, so that the floor under it is found again.
void BlockFxNudgeDown(cHero& hero)
{
    if (hero.m_dVY >= 0) hero.m_dVY += 1;
}

}  // namespace

int cRidingAndBlockEffects::ApplyBlockEffect(cChara& player)
{
    auto* hero = dynamic_cast<cHero*>(&player);
    if (!hero || hero->m_bFlying != 0) return 0;
    const STAGESPEED speed = CurrentStageSpeed();
    if (hero->m_lpFloorCell && hero->m_nBlockEffectSteps == 0 && BlockFxFloorHitMode(*hero) != 0)
        StartBlockEffect(*hero, *hero->m_lpFloorCell, speed);
    if (hero->m_nBlockEffectSteps != 0) {
        switch (hero->m_nBlockEffectKind) {
        case BLOCKEFFECT_SPEED: hero->m_dVX = hero->m_dVX * hero->m_dBlockEffectValue; break;
        case BLOCKEFFECT_PUSH_LEFT:
            hero->m_dVX -= hero->m_dBlockEffectValue;
            if (hero->m_dInertiaX > 0) hero->m_dInertiaX = 0;
            break;
        case BLOCKEFFECT_PUSH_RIGHT:
            hero->m_dVX += hero->m_dBlockEffectValue;
            if (hero->m_dInertiaX < 0) hero->m_dInertiaX = 0;
            break;
        default: break;
        }
        hero->m_nBlockEffectSteps -= 1;
        if (hero->m_nBlockEffectSteps == 0) BlockFxNudgeDown(*hero);
    }
    return 0;
}

int cRidingAndBlockEffects::ApplyBlockItemEffect(cChara& player)
{
    auto* hero = dynamic_cast<cHero*>(&player);
    if (!hero || hero->m_bFlying != 0) return 0;
    bool applied = false;
    if (hero->m_lpFloorCell && hero->m_nBlockItemCooldown == 0 && BlockFxFloorHitMode(*hero) != 0 &&
        hero->m_lpFloorCell->m_nItemSource != 0) {
        if (const cItemData* found = FindItemTemplate(hero->m_lpFloorCell->m_nItemSource, hero->m_lpFloorCell->m_nItemIndex)) {
            // A short-lived item that carries the template's effect; it never joins the stage.
            cItemData definition = *found;
            cItem item;
            item.InitFromDefinition(0, definition, 1);
            const int result = ApplyItemEffect(&item, Player.At(0));
            if (result != 0) return result;
            hero->m_nBlockItemCooldown = WrapMul(kBlockItemRepeatFrames, CurrentStageSpeed().nSteps);
            applied = true;
        }
    }
    if (hero->m_nBlockItemCooldown != 0) {
        if (hero->m_bFalling != 0) {
            hero->m_nBlockItemCooldown = 0;
        } else {
            if (hero->m_nBlockItemCooldown > 0) hero->m_nBlockItemCooldown -= 1;
            // Stepping onto another block gives its item at once.
            if (hero->m_lpFloorCell && hero->m_lpFloorCell2 != hero->m_lpPrevFloorCell && !applied) {
                hero->m_nBlockItemCooldown = 0;
                BlockFxNudgeDown(*hero);
            }
        }
    }
    return 0;
}
