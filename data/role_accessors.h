#pragma once
// Stage play names System switches and template fields by what they do; the records name them
// by their stored member. Each accessor here reads the one member that holds its role, so the
// mapping is recorded in this file and nowhere else.
#include <cstdint>

#include "data/chara_data.h"
#include "data/move_part.h"
#include "data/system_data.h"

// System switches.

// The auto-scroll speed is added to every approach velocity, and only the hero follows the
// auto-scroll in its own frame update.
inline int ScrollCarrySwitch() { return g_SystemData.m_bScrollFollow; }
// A change of scale moves a chara vertically by its bounds' height instead of its drawing.
inline int ScaleByBoundsSwitch() { return g_SystemData.m_bScaleByHeight; }

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

// Movement part fields.

// The two axis switches of a movement command: it leaves x (y) alone.
inline int MoveNoX(const cEdMove& m) { return m.m_bKeepX; }
inline int MoveNoY(const cEdMove& m) { return m.m_bKeepY; }
