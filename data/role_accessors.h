#pragma once
// Stage play names System switches and template fields by what they do; the records name them
// by their stored member. Each accessor here reads the one member that holds its role, so the
// mapping is recorded in this file and nowhere else.
#include <cstdint>

#include "data/chara_data.h"
#include "data/item_data.h"
#include "data/move_part.h"
#include "data/shot_part.h"
#include "data/stage_data.h"
#include "data/system_data.h"

// System switches.

// The auto-scroll speed is added to every approach velocity, and only the hero follows the
// auto-scroll in its own frame update.
inline int ScrollCarrySwitch() { return g_SystemData.m_bScrollFollow; }
// Shots take no scroll speed in their own update; the approach solver carries them instead.
inline int ShotScrollModelSwitch() { return g_SystemData.m_bShotSwitch; }
// The lightning formation spaces its objects by their size alone.
inline int LightningSpacingSwitch() { return g_SystemData.m_bSummonSwitch; }
// A change of scale moves a chara vertically by its bounds' height instead of its drawing.
inline int ScaleByBoundsSwitch() { return g_SystemData.m_bScaleByHeight; }
// Strict block protection: a block summon never changes a cell whose block carries the
// protection byte, shown or not (off: only a shown block protects its cell).
inline int StrictBlockProtectionSwitch() { return g_SystemData.m_bSummonSwitch; }
// A walking chara lands on a floor block even while it moves upward.
inline int LandWhileRisingSwitch() { return g_SystemData.m_bLandingSwitch; }

// A chara whose HP is gone stays to show its death, and the draw removes it when that ends;
// off, it is removed at once.
inline int DefeatDisplaySwitch() { return g_SystemData.m_bHitCheckSwitch; }

// A flow may be tested every time its trigger is raised, not once a frame: the switch that
// decides whether raising a trigger skips flows already marked as tried.
inline int FlowRetestSwitch() { return g_SystemData.m_bRunMarkedTriggers; }
// A key condition found one frame late is taken without testing the condition after it: the
// switch of the key-condition matching loop.
inline int LenientKeySwitch() { return g_SystemData.m_bConditionSwitch; }

// Chara template fields.

inline int CharaFacing(const cCharaData& d) { return d.m_nFacing; }
inline int CharaImageNumber(const cCharaData& d) { return d.m_nImageNumber; }
inline int CharaImageKind(const cCharaData& d) { return d.m_nImageKind; }
inline int CharaAnimeSet(const cCharaData& d) { return d.m_nAnimeSet; }
inline void SetCharaAnimeSet(cCharaData& d, int set) { d.m_nAnimeSet = static_cast<std::int16_t>(set); }
// The chara effect started at set-up, with its two parameters (play mode, loop).
inline int CharaInitialEffect(const cCharaData& d) { return d.m_nCharaEffect; }
inline int CharaInitialEffectMode(const cCharaData& d) { return d.m_nCharaEffectMode; }
inline int CharaInitialEffectLoop(const cCharaData& d) { return d.m_bCharaEffectLoop; }
inline int CharaInvisible(const cCharaData& d) { return d.m_bTransparent; }
// Kind: 0 the hero (the player operates it), 1 every other chara (the computer does).
inline int CharaKind(const cCharaData& d) { return d.m_nOperator; }
// Classification value: the hero's player number.
inline int CharaClass(const cCharaData& d) { return d.m_nPlayerNumber; }
// Pass-through layer: the setting of group 2, handed to the common set-up beside the two above.
inline int CharaPassLayer(const cCharaData& d) { return static_cast<std::int8_t>(d.m_nGroup2Setting); }
inline int CharaId(const cCharaData& d) { return d.m_nCharaId; }
// Move type: 0 walking, 1 flying through blocks, 2 flying, 3 flying, killed by solid blocks.
inline int CharaMoveType(const cCharaData& d) { return d.m_nFlying; }
inline void SetCharaMoveType(cCharaData& d, int type) { d.m_nFlying = static_cast<decltype(d.m_nFlying)>(type); }
inline int CharaFixedFacing(const cCharaData& d) { return d.m_bFixedFacing; }
// Invincibility: 0 off, 1 on, 2 on and shots pass.
inline int CharaInvincibility(const cCharaData& d) { return d.m_nInvincible; }
// A chara that behaves like a block (others stand on it, it is updated first): the byte
// stored between the invincibility settings and the scale, the whole-cell switch.
inline int CharaIsBlock(const cCharaData& d) { return d.m_bWholeCellBoxes; }
// Scale: 1 normal, 2 and more a giant chara; 0 is read as 1.
inline int CharaScale(const cCharaData& d) { return d.m_nGiantScale < 1 ? 1 : d.m_nGiantScale; }
inline int CharaScrollRelative(const cCharaData& d) { return d.m_bSyncAutoScroll; }
inline int CharaSightShape(const cCharaData& d) { return d.m_nSightShape; }
// Sight radius in half-blocks.
inline std::int8_t CharaSightRadius(const cCharaData& d) { return static_cast<std::int8_t>(d.m_nSightRange); }
inline int CharaMaxHp(const cCharaData& d) { return d.m_nMaxHp; }
inline int CharaMaxSp(const cCharaData& d) { return d.m_nMaxSp; }
// Deceleration in hundredths of a pixel per frame squared: the ease of stopping.
inline std::int16_t CharaDeceleration(const cCharaData& d) { return d.m_nEaseOfStopping; }
// Knock-back dealt by touching the chara, and resisted when it is hit, in half-blocks.
inline int CharaKnockbackStrength(const cCharaData& d) { return d.m_nBodyImpact; }
inline int CharaKnockbackResistance(const cCharaData& d) { return static_cast<std::int8_t>(d.m_nImpactResistance); }
// Body damage dealt by touching the chara, and damage it absorbs when hit.
inline int CharaPower(const cCharaData& d) { return d.m_nBodyAttack; }
inline int CharaDefence(const cCharaData& d) { return d.m_nDefence; }
// Non-zero: a body hit by the chara also raises the impacted trigger (the knock-back strength).
inline int CharaImpact(const cCharaData& d) { return d.m_nBodyImpact; }
// The effect entry shown where the chara's body hits another.
inline int CharaHitEffect(const cCharaData& d) { return d.m_nHitEffect; }
// The scale handed to a hit effect: the stored byte read as signed.
inline int CharaHitEffectScale(const cCharaData& d) { return static_cast<std::int8_t>(d.m_nGiantScale); }
// The points a defeat adds to the game score.
inline int CharaScore(const cCharaData& d) { return d.m_nScore; }
// The chara effect started on defeat and its play mode (0 normal, 1 reverse, 2 round trip).
inline int CharaDefeatEffect(const cCharaData& d) { return d.m_nDefeatEffect; }
inline int CharaDefeatEffectMode(const cCharaData& d) { return d.m_nDefeatEffectMode; }
// Hit layer: the list of the scene's layer lists the chara sits in, also its pass-through layer.
inline int CharaLayer(const cCharaData& d) { return CharaPassLayer(d); }
inline void SetCharaLayer(cCharaData& d, int layer) { d.m_nGroup2Setting = static_cast<BYTE>(layer); }
inline void SetCharaFacing(cCharaData& d, int facing) { d.m_nFacing = static_cast<BYTE>(facing); }
// The points a defeat adds to the stage score.
inline void SetCharaScore(cCharaData& d, int score) { d.m_nScore = score; }
// Body box: 0 the stage's chara-against-chara box, 1 its chara-against-shot box, 2 its box of
// shots against charas (that of the chara's own side's shots, ShotHitBox), 3 the whole 32 x 32
// cell; the last three centred.
inline int CharaBodyBoxMode(const cCharaData& d) { return d.m_nContactRange; }
// Wake switch: a chara in view sets switch n, and every chara sharing n wakes with it.
inline int CharaWakeSwitchOn(const cCharaData& d) { return d.m_bGroupSwitch; }
inline int CharaWakeSwitch(const cCharaData& d) { return d.m_nGroupSwitch; }
// Activation mode: the axes the in-view test skips (0 none, 1 y, 2 x, 3 both).
inline int CharaActivationMode(const cCharaData& d) { return d.m_nScreenRange; }
// Keep awake: once woken, the chara counts as in view wherever it goes.
inline int CharaKeepAwake(const cCharaData& d) { return d.m_nActivation; }
// Scale as stored: 0 is written back as 1 when a chara is set up.
inline int CharaStoredScale(const cCharaData& d) { return d.m_nGiantScale; }
inline void SetCharaStoredScale(cCharaData& d, int scale) { d.m_nGiantScale = static_cast<BYTE>(scale); }
// The switches the second status command sets, each stored as its value's low byte.
inline void SetCharaInvisible(cCharaData& d, int on) { d.m_bTransparent = static_cast<BYTE>(on); }
inline void SetCharaFixedFacing(cCharaData& d, int on) { d.m_bFixedFacing = static_cast<BYTE>(on); }
inline void SetCharaInvincibility(cCharaData& d, int mode) { d.m_nInvincible = static_cast<BYTE>(mode); }
inline void SetCharaScrollRelative(cCharaData& d, int on) { d.m_bSyncAutoScroll = static_cast<BYTE>(on); }
// The picture a graphic change gives: image kind, image number and base image row.
inline void SetCharaImage(cCharaData& d, std::int8_t kind, std::int16_t number, std::int16_t baseRow)
{
    d.m_nImageKind = static_cast<BYTE>(kind);
    d.m_nImageNumber = number;
    d.m_nImageFrame = baseRow;
}

// Draw layer, 0 to 8: the pass of the stage draw the chara is drawn in (not its hit layer).
inline int CharaDrawLayer(const cCharaData& d) { return d.m_nZ; }
// The first cell of the chara's pictures in its sheet, before the animation frame.
inline int CharaBaseImage(const cCharaData& d) { return d.m_nImageFrame; }
// The three row-offset flags of the chara's picture, in the definition's order: the fixed-facing,
// invincibility and whole-cell bytes. A set flag adds one row offset of the chara's animation set
// to its base image (the first flag the set's third offset, the second its first, the third its
// second).
inline int CharaRowFlag1(const cCharaData& d) { return d.m_bFixedFacing; }
inline int CharaRowFlag2(const cCharaData& d) { return d.m_nInvincible; }
inline int CharaRowFlag3(const cCharaData& d) { return d.m_bWholeCellBoxes; }
// The colour-animation index stored after the second row-offset flag: the flash colour 1 to 9
// an invincible chara is drawn with under Direct3D (0 none).
inline int CharaColourAnimation(const cCharaData& d) { return d.m_nFlashColor; }

// Item template fields.

// Draw layer of an item: the setting of group 5, stored between its picture and hidden flag.
inline int ItemDrawLayer(const cItemData& d) { return d.m_nGroup5Setting; }

// The pixel offsets an item is moved by from where it is placed or summoned.
inline int ItemOffsetX(const cItemData& d) { return d.m_nGroup2Setting; }
inline int ItemOffsetY(const cItemData& d) { return d.m_nGroup3Setting; }

// Shot fields read by the hits between objects (the command's shot part as a shot copies it).

// Knock-back strength of a shot's hit; non-zero also raises the impacted trigger.
inline int ShotImpact(const cEdShot& s) { return s.m_nShotSetting49; }
// Non-zero: shots of other layers destroy the shot; the strength (signed) decides between two
// such shots.
inline int ShotBreakable(const cEdShot& s) { return s.m_nShotSetting45; }
inline int ShotStrength(const cEdShot& s) { return static_cast<std::int8_t>(s.m_nShotSetting24); }

// Summon command fields (the command's shot part).

// A summoned chara's or item's life: limited when the switch is on, in tenths of a second.
inline int SummonLifeOn(const cEdShot& s) { return s.m_bRangeLimit; }
inline int SummonLife(const cEdShot& s) { return s.m_nRange; }
// A summoned chara adds no score when defeated.
inline int SummonNoScore(const cEdShot& s) { return s.m_nShotSetting59; }
// The two options that cancel a block placement which would catch the player, or a chara.
inline int SummonCancelOverPlayers(const cEdShot& s) { return s.m_nShotSetting54; }
inline int SummonCancelOverCharas(const cEdShot& s) { return s.m_nShotSetting55; }
inline int SummonBlockMode(const cEdShot& s) { return s.m_nBlockSummonMode; }

// Stage chara sizes: the bounds, the box against charas (with its bottom-aligned flag) and
// the box against shots, walking or flying.
struct CHARASIZE {
    int nWidth;
    int nHeight;
    int bBottom;
};
inline CHARASIZE StageCharaBounds(const cStageData& s, bool flying)
{
    return flying ? CHARASIZE{s.m_nCharaBodyFlyW, s.m_nCharaBodyFlyH, s.m_nCharaBodyFlyAlign}
                  : CHARASIZE{s.m_nCharaBodyW, s.m_nCharaBodyH, s.m_nCharaBodyAlign};
}
inline CHARASIZE StageCharaBody(const cStageData& s, bool flying)
{
    return flying ? CHARASIZE{s.m_nCharaBox2FlyW, s.m_nCharaBox2FlyH, s.m_nCharaBox2FlyAlign}
                  : CHARASIZE{s.m_nCharaBox2W, s.m_nCharaBox2H, s.m_nCharaBox2Align};
}
inline CHARASIZE StageCharaShotBox(const cStageData& s) { return {s.m_nCharaBox3W, s.m_nCharaBox3H, 0}; }
// The box with which a shot hits charas: the first of the stage's four for the player's side
// (the hero's shots), the third for the others; centred.
inline CHARASIZE ShotHitBox(const cStageData& s, bool playerSide)
{
    return playerSide ? CHARASIZE{s.m_nShotBox1W, s.m_nShotBox1H, 0} : CHARASIZE{s.m_nShotBox3W, s.m_nShotBox3H, 0};
}
// The hero's sizes: its bounds, its box against charas, against shots and against items.
inline CHARASIZE HeroBounds(const cStageData& s, bool flying)
{
    return flying ? CHARASIZE{s.m_nHeroBodyFlyW, s.m_nHeroBodyFlyH, s.m_nHeroBodyFlyAlign}
                  : CHARASIZE{s.m_nHeroBodyW, s.m_nHeroBodyH, s.m_nHeroBodyAlign};
}
inline CHARASIZE HeroBody(const cStageData& s, bool flying)
{
    return flying ? CHARASIZE{s.m_nHeroBox2FlyW, s.m_nHeroBox2FlyH, s.m_nHeroBox2FlyAlign}
                  : CHARASIZE{s.m_nHeroBox2W, s.m_nHeroBox2H, s.m_nHeroBox2Align};
}
inline CHARASIZE HeroShotBox(const cStageData& s) { return {s.m_nHeroBox3W, s.m_nHeroBox3H, 0}; }
inline CHARASIZE HeroItemBox(const cStageData& s) { return {s.m_nHeroBox4W, s.m_nHeroBox4H, 0}; }
// The hero's box overlays, by box kind (0 bounds, 1 body, 2 item, 3 shot): mode and colour index.
inline int HeroOverlayMode(const cStageData& s, int kind)
{
    const int modes[4] = {s.m_nHeroBodyShow, s.m_nHeroBox2Show, s.m_nHeroBox4Show, s.m_nHeroBox3Show};
    return modes[kind & 3];
}
inline int HeroOverlayColor(const cStageData& s, int kind)
{
    const int colors[4] = {s.m_nHeroBodyColor, s.m_nHeroBox2Color, s.m_nHeroBox4Color, s.m_nHeroBox3Color};
    return colors[kind & 3];
}

// Movement part fields.

// The two axis switches of a movement command: it leaves x (y) alone.
inline int MoveNoX(const cEdMove& m) { return m.m_bKeepX; }
inline int MoveNoY(const cEdMove& m) { return m.m_bKeepY; }
