// A volley's repetitions, its aim, the summons' set-up and the object each placement makes.
// Halving an integer is an arithmetic shift; "div" in the angle formulas is a division in
// doubles, and angles stay doubles until a velocity is computed from them.
#include "objects/volley.h"

#include <cstdlib>

#include "data/command_data.h"
#include "data/command_info.h"
#include "data/move_shot_labels.h"
#include "data/palette_data.h"
#include "data/role_accessors.h"
#include "data/stage_data.h"
#include "flow/running_flow.h"
#include "objects/chara.h"
#include "objects/chara_movement.h"
#include "objects/shot.h"
#include "objects/trajectory.h"
#include "play/play_scene.h"
#include "shell/game_arithmetic.h"

namespace {

constexpr double kDegreesPerRadian = 57.29577951308232;

int CommandKind(const cFlowCommandEntry& entry)
{
    return entry.m_lpCommand ? entry.m_lpCommand->m_nKind : 0;
}

// A summon's palette: 0 the common one, 1 the stage's; another value has none.
template <class T>
const T* PaletteEntry(int palette, int index, const cSafeVector<T>& common, const cSafeVector<T>& stage)
{
    const cSafeVector<T>* list = (palette == 0) ? &common : (palette == 1) ? &stage : nullptr;
    if (!list || index < 0 || index >= static_cast<int>(list->size())) return nullptr;
    return &(*list)[static_cast<std::size_t>(index)];
}

// The record of a summon: speed 1, the summoned thing's size, the offsets of index 0.
SPAWNPARAM SummonRecord(cChara& owner, const cEdShot& def, int size)
{
    SPAWNPARAM spawn;
    spawn.speed = 1.0;
    spawn.width = spawn.height = size;
    spawn.direction = VolleyDirectionCode(owner, def);
    spawn.offsetX = def.OffsetX(0, owner.m_nDirection);
    spawn.offsetY = def.OffsetY(0, owner.m_nDirection);
    owner.UpdateScreenRect();
    return spawn;
}

}  // namespace

int VolleyDirectionCode(const cChara& owner, const cEdShot& def)
{
    const bool right = owner.m_nDirection == 1;
    switch (def.m_nDirection) {
    case 0: return right ? 3 : 2;
    case 1: return right ? 2 : 3;
    case 2: return 2;
    case 3: return 3;
    case 4: return right ? 7 : 6;
    case 5: return right ? 6 : 7;
    case 12: {
        const cPlayScene* scene = Scene();
        const int key = (scene && scene->m_lpCurFlow) ? scene->m_lpCurFlow->m_nStartKey : 0;
        return DirectionFromChoice(key, right ? 1 : 0);
    }
    default: return def.m_nDirection;   // 6 to 11 name their code; above 12 none the tables have
    }
}

int VolleyBaseAngle(int code)
{
    static constexpr int kBaseAngles[14] = {0, 0, 0, 180, 0, 0, 90, 270, 45, 315, 135, 225, 0, 0};
    return (code >= 0 && code < 14) ? kBaseAngles[code] : 0;
}

int VolleyAimAngle(int x, int y, const cChara& owner, const cEdShot& def, SPAWNPARAM& spawn)
{
    const cChara* target = owner.m_lpTarget;
    if (!target) return owner.m_nDirection == 1 ? 180 : 0;
    const cPlayScene* scene = Scene();
    const double sx = scene ? scene->m_ScrollX.m_dPos : 0.0;
    const double sy = scene ? scene->m_ScrollY.m_dPos : 0.0;
    const APPROACHSCROLL scroll = CurrentApproachScroll();
    const bool screenMoves = scroll.dSx != 0 || scroll.dSy != 0;
    double angle = 0;
    if (screenMoves && def.m_bScrollFollow == 0 && target->m_bScrollRelative != 0) {
        const STAGESPEED speed = CurrentStageSpeed();
        cEdShot copy = def;
        cShot probe;
        probe.InitFromTemplate(0, owner, kShotObjectShot, copy, spawn);
        const double v = (def.m_nSpeed + def.m_nSpeedStep * spawn.index) * 0.1 / speed.dSteps;
        double vx = 0;
        double vy = 0;
        int direction = 0;
        SolveApproachVelocity(vx, vy, direction, &probe, WrapSub(x, TruncToInt(sx)), WrapSub(y, TruncToInt(sy)),
                              ScreenCentreX(*target), ScreenCentreY(*target), v, probe.m_bScrollRelative, 1, 0, scroll);
        angle = GameAtan2(vy, vx) * kDegreesPerRadian + 180;
        spawn.speed = GameSqrt(vx * vx + vy * vy) * speed.dSteps;
    } else {
        const int tx = WrapAdd(TruncToInt(sx), ScreenCentreX(*target));
        const int ty = WrapAdd(TruncToInt(sy), ScreenCentreY(*target));
        angle = GameAtan2(WrapSub(ty, y), WrapSub(tx, x)) * kDegreesPerRadian + 180 + 0.5;
    }
    return TruncToInt(angle);
}

void FireShotVolley(cShotLists& shots, cChara& owner, cFlowCommandEntry& entry, cEdShot& def)
{
    // One record for the whole volley, cleared once: each formation sets what it reads.
    SPAWNPARAM spawn;
    spawn.width = spawn.height = WrapMul(16, def.m_nSize);
    spawn.direction = VolleyDirectionCode(owner, def);
    if (owner.m_nKind == 1) owner.UpdateScreenRect();
    if (owner.m_lpTarget && owner.m_lpTarget->m_nKind == 1) owner.m_lpTarget->UpdateScreenRect();

    const int repetitions = def.m_nRepeat + 1;
    for (int i = 0; i < repetitions; ++i) {
        spawn.index = static_cast<std::int16_t>(i);
        // The speed grows by a step per repetition, added, not multiplied: its bits are those
        // of the running sum.
        if (i == 0) spawn.speed = def.m_nSpeed * 0.1;
        else spawn.speed += def.m_nSpeedStep * 0.1;
        int angle = WrapAdd(def.m_nAngle, WrapMul(def.m_nAngleStep, i));
        if (def.m_bMirrorAngle && owner.m_nDirection == 1) angle = WrapSub(360, angle);
        if (def.m_nSpread != 0) {
            const int s = def.m_nSpread;
            angle = WrapAdd(angle, WrapSub(WrapMod(rand(), WrapAdd(WrapMul(2, s), 1)), s));
        }
        spawn.angle = angle;
        spawn.range = WrapAdd(def.m_nRange, WrapMul(def.m_nRangeStep, i));
        spawn.life = WrapAdd(def.m_nLife, WrapMul(def.m_nLifeStep, i));
        spawn.offsetX = def.OffsetX(i, owner.m_nDirection);
        spawn.offsetY = def.OffsetY(i, owner.m_nDirection);
        RunFormation(&shots, owner, entry, def, spawn);
    }
}

void SummonCharaVolley(cChara& owner, cFlowCommandEntry& entry, cEdShot& def)
{
    const cCharaData* chara = PaletteEntry(def.m_nSummonPalette, def.m_nSummonIndex, g_CommonPalette.m_Charas,
                                           g_StageData.m_PaletteCharas);
    if (!chara || CharaKind(*chara) != 1) return;
    SPAWNPARAM spawn = SummonRecord(owner, def, WrapMul(CharaStoredScale(*chara), 32));
    RunFormation(nullptr, owner, entry, def, spawn);
}

void SummonItemVolley(cChara& owner, cFlowCommandEntry& entry, cEdShot& def)
{
    const cItemData* item = PaletteEntry(def.m_nSummonPalette, def.m_nSummonIndex, g_CommonPalette.m_Items,
                                         g_StageData.m_PaletteItems);
    if (!item) return;
    SPAWNPARAM spawn = SummonRecord(owner, def, WrapMul(item->m_nGiantScale, 32));
    RunFormation(nullptr, owner, entry, def, spawn);
}

void SummonBlockVolley(cChara& owner, cFlowCommandEntry& entry, cEdShot& def)
{
    const cBlockData* block = PaletteEntry(def.m_nSummonPalette, def.m_nSummonIndex, g_CommonPalette.m_Blocks,
                                           g_StageData.m_PaletteBlocks);
    if (!block) return;
    SPAWNPARAM spawn = SummonRecord(owner, def, 32);
    // Each toggle summon may switch every cell once.
    if (SummonBlockMode(def) == 2) {
        if (cPlayScene* scene = Scene()) scene->m_ToggledCells.clear();
    }
    RunFormation(nullptr, owner, entry, def, spawn);
}

void SpawnVolleyObject(cShotLists* shots, SPAWNPARAM& spawn, cChara& owner, cFlowCommandEntry& entry, cEdShot& def)
{
    cPlayScene* scene = Scene();
    switch (CommandKind(entry)) {
    case COMMAND_SHOT: {
        if (!shots) return;
        cShot shot;
        shot.InitFromTemplate(shots->m_nShotSerial, owner, kShotObjectShot, def, spawn);
        cShot& listed = shots->Append(shot);
        shots->m_nShotSerial = WrapAdd(shots->m_nShotSerial, 1);
        // Only shots that home on or aim at the target keep it; the stage clears it on the
        // listed copy when that chara leaves.
        const int trajectory = listed.m_Def.m_nTrajectory;
        if (trajectory != kTrajectoryAimTarget && trajectory != kTrajectoryHomeTarget) listed.m_lpTarget = nullptr;
        return;
    }
    case COMMAND_BLOCK_SUMMON: {
        if (!scene) return;
        const cSafeVector<cBlockData>& list =
            (def.m_nSummonPalette == 0) ? g_CommonPalette.m_Blocks : g_StageData.m_PaletteBlocks;
        scene->SummonBlock(spawn.x, spawn.y, owner.m_nDirection, def, list.At(def.m_nSummonIndex));
        return;
    }
    case COMMAND_CHARA_SUMMON: {
        if (!scene) return;
        const cSafeVector<cCharaData>& list =
            (def.m_nSummonPalette == 0) ? g_CommonPalette.m_Charas : g_StageData.m_PaletteCharas;
        const cCharaData& chara = list.At(def.m_nSummonIndex);
        int facing = owner.m_nDirection;
        if (def.m_bSummonReversed) facing = (facing == 1) ? 0 : 1;
        // "使用者と同じ" the owner's layer, "番号で指定" the part's number; any other choice
        // takes the chara template's, as choice 0 does.
        int layer = CharaLayer(chara);
        if (def.m_nForceRule == 1) layer = owner.m_nPassLayer;
        else if (def.m_nForceRule == 2) layer = def.m_nForce;
        scene->SummonChara(spawn.x, spawn.y, layer, facing, def, chara);
        return;
    }
    case COMMAND_ITEM_SUMMON: {
        if (!scene) return;
        const cSafeVector<cItemData>& list =
            (def.m_nSummonPalette == 0) ? g_CommonPalette.m_Items : g_StageData.m_PaletteItems;
        scene->SummonItem(spawn.x, spawn.y, owner.m_nDirection, def, list.At(def.m_nSummonIndex));
        return;
    }
    default:
        return;
    }
}
