#pragma once
// Volleys, formations and summons: one shot command fires several repetitions, each placing a
// group of shots in one of six formations around its owner or its target; the chara, item and
// block summons place what they summon with the same formations.
#include "objects/spawn_param.h"

class cChara;
class cEdShot;
class cFlowCommandEntry;
class cShotLists;

// Formations of a shot part.
constexpr int kFormationStraightA = 0;   // "直進A"
constexpr int kFormationStraightB = 1;   // "直進B"
constexpr int kFormationSpread = 2;      // "拡散"
constexpr int kFormationLightning = 3;   // "落雷"
constexpr int kFormationExplosion = 4;   // "爆発"
constexpr int kFormationSurround = 5;    // "包囲"

void FireShotVolley(cShotLists& shots, cChara& owner, cFlowCommandEntry& entry, cEdShot& def);
void SummonCharaVolley(cChara& owner, cFlowCommandEntry& entry, cEdShot& def);
void SummonItemVolley(cChara& owner, cFlowCommandEntry& entry, cEdShot& def);
void SummonBlockVolley(cChara& owner, cFlowCommandEntry& entry, cEdShot& def);

// The formations; a null list summons. A formation number outside 0..5 places nothing.
void RunFormation(cShotLists* shots, cChara& owner, cFlowCommandEntry& entry, cEdShot& def, SPAWNPARAM& spawn);
void FormationStraightA(cShotLists* shots, cChara& owner, cFlowCommandEntry& entry, cEdShot& def, SPAWNPARAM& spawn);
void FormationStraightB(cShotLists* shots, cChara& owner, cFlowCommandEntry& entry, cEdShot& def, SPAWNPARAM& spawn);
void FormationSpread(cShotLists* shots, cChara& owner, cFlowCommandEntry& entry, cEdShot& def, SPAWNPARAM& spawn);
void FormationLightning(cShotLists* shots, cChara& owner, cFlowCommandEntry& entry, cEdShot& def, SPAWNPARAM& spawn);
void FormationExplosion(cShotLists* shots, cChara& owner, cFlowCommandEntry& entry, cEdShot& def, SPAWNPARAM& spawn);
void FormationSurround(cShotLists* shots, cChara& owner, cFlowCommandEntry& entry, cEdShot& def, SPAWNPARAM& spawn);

// The direction code of the shot part's direction choice for this owner (2 left, 3 right,
// 6 up, 7 down, 8 to 11 the diagonals).
int VolleyDirectionCode(const cChara& owner, const cEdShot& def);
// The base angle of a direction code; codes outside the table have 0.
int VolleyBaseAngle(int code);
// The angle in degrees from stage point (x, y) toward the owner's target (0 left, 90 up).
int VolleyAimAngle(int x, int y, const cChara& owner, const cEdShot& def, SPAWNPARAM& spawn);
// Makes one object at (spawn.x, spawn.y) by the running command's kind: 11 a shot, 13 a
// block, 14 a chara, 15 an item.
void SpawnVolleyObject(cShotLists* shots, SPAWNPARAM& spawn, cChara& owner, cFlowCommandEntry& entry, cEdShot& def);
