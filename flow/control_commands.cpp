// The flow operation, the stage clear, the warp and the target setting.
#include "flow/control_commands.h"

#include <cstdint>

#include "data/command_data.h"
#include "data/command_info.h"
#include "data/move_part.h"
#include "data/save_data.h"
#include "data/world_map_data.h"
#include "flow/movement_commands.h"
#include "flow/running_flow.h"
#include "objects/chara.h"
#include "objects/chara_search.h"
#include "play/play_scene.h"
#include "shell/game_arithmetic.h"

namespace {

enum FLOWOPERATION {
    FLOWOP_START = 0,
    FLOWOP_END = 1,
    FLOWOP_PAUSE = 2,
    FLOWOP_RESUME = 3,
    FLOWOP_DELETE = 4,
    FLOWOP_STOP_FOREVER = 5,
};

enum FLOWOPTARGET {
    FLOWTARGET_THIS = 0,
    FLOWTARGET_OTHERS = 1,
    FLOWTARGET_BY_ID = 2,
};

bool FlowConcerned(const cRunningFlow& flow, const cRunningFlow* running, int target, int id)
{
    switch (target) {
    case FLOWTARGET_THIS: return &flow == running;
    case FLOWTARGET_OTHERS: return &flow != running;
    case FLOWTARGET_BY_ID: {
        const int flowId = flow.m_lpFlow ? flow.m_lpFlow->m_nId : 0;
        return flowId != 0 && flowId == id;
    }
    default: return false;
    }
}

void OperateOnFlow(cChara& chara, cRunningFlow& flow, int operation)
{
    switch (operation) {
    case FLOWOP_START:
        // A stage-start flow runs only inside its own start: one still running is starting now,
        // and starting it again from its own commands would never end.
        if (flow.Trigger() == TRIGGER_BEFORE_STAGE && flow.m_bRunning && !flow.m_Entries.empty()) return;
        flow.Stop(chara);
        flow.Start(chara);
        chara.StopAnimation(flow.m_nSerial);
        break;
    case FLOWOP_END:
        flow.Stop(chara);
        chara.StopAnimation(flow.m_nSerial);
        break;
    case FLOWOP_PAUSE:
        flow.Pause();
        chara.FinishAnimation(flow.m_nSerial);
        break;
    case FLOWOP_RESUME:
        flow.Resume();
        chara.ResumeAnimation(flow.m_nSerial);
        return;   // the flow goes on with its next entries
    case FLOWOP_DELETE:
        flow.m_bDeleted = 1;
        chara.m_bFlowRemoval = 1;
        break;
    case FLOWOP_STOP_FOREVER:
        flow.StopForever(chara);
        chara.StopAnimation(flow.m_nSerial);
        break;
    default: return;
    }
    flow.m_bAbort = 1;
}

constexpr double kQ = 0.7071067811865476;

void ShiftX(cChara& chara, double dx)
{
    chara.m_dX += dx;
    chara.OnMovedX();
}

void ShiftY(cChara& chara, double dy)
{
    chara.m_dY += dy;
    chara.OnMovedY();
}

// Moves the chara by d dots along direction code `code` (2 left, 3 right, 6 up, 7 down, 8 to 11
// the diagonals).
void WarpByDirection(cChara& chara, int code, int distance)
{
    // In doubles: the wrapped distance may be INT_MIN, whose negation has no int.
    const double d = distance;
    const double q = kQ * d;
    switch (code) {
    case 2: ShiftX(chara, -d); break;
    case 3: ShiftX(chara, d); break;
    case 6: ShiftY(chara, -d); break;
    case 7: ShiftY(chara, d); break;
    case 8: ShiftX(chara, -q); ShiftY(chara, -q); break;
    case 9: ShiftX(chara, -q); ShiftY(chara, q); break;
    case 10: ShiftX(chara, q); ShiftY(chara, -q); break;
    case 11: ShiftX(chara, q); ShiftY(chara, q); break;
    default: break;
    }
}

// The chara's drawn centre onto the target's.
void CentreOnTarget(cChara& chara, const cChara& target)
{
    chara.m_dX = target.m_dX - target.m_nDrawOffsetX + target.m_nDrawWidth / 2 + chara.m_nDrawOffsetX -
                 chara.m_nDrawWidth / 2;
    chara.OnMovedX();
    chara.m_dY = target.m_dY - target.m_nDrawOffsetY + target.m_nDrawHeight / 2 + chara.m_nDrawOffsetY -
                 chara.m_nDrawHeight / 2;
    chara.OnMovedY();
}

void WarpToPoint(cChara& chara, const cEdMove& move)
{
    int X = WrapAdd(WrapMul(move.m_nTargetBlockX, 32), move.m_nTargetDotX);
    int Y = WrapAdd(WrapMul(move.m_nTargetBlockY, 32), move.m_nTargetDotY);
    if (chara.m_nDirection != 0) {
        if (move.m_bMirrorTargetX) X = WrapSub(0, X);
        if (move.m_bMirrorTargetY) Y = WrapSub(0, Y);
    }
    switch (move.m_nCoordinates) {
    case 0:
        ShiftX(chara, X);
        ShiftY(chara, Y);
        break;
    case 1:
        chara.PlaceAtBlockX(move.m_nTargetBlockX);
        chara.PlaceAtBlockY(move.m_nTargetBlockY);
        ShiftX(chara, move.m_nTargetDotX);
        ShiftY(chara, move.m_nTargetDotY);
        break;
    case 2: {
        const cPlayScene* scene = Scene();
        const double scrollX = scene ? scene->m_ScrollX.m_dPos : 0;
        const double scrollY = scene ? scene->m_ScrollY.m_dPos : 0;
        chara.m_dX = chara.m_nDrawOffsetX + scrollX + X;
        chara.OnMovedX();
        chara.m_dY = chara.m_nDrawOffsetY + scrollY + Y;
        chara.OnMovedY();
        break;
    }
    default: break;
    }
}

// The nearest chara to the point in the layer, or with `allLayers` the nearest of the layers'
// nearest (the earlier layer on a tie).
cChara* NearestInLayers(cPlayScene& scene, int layer, int allLayers, int x, int y, int mode,
                        const CHARAFILTER& filter)
{
    if (!allLayers) return FindNearestChara(x, y, scene.m_CharaLayers.At(layer), mode, filter);
    cChara* best = nullptr;
    int bestDistance = 0;
    for (cSafeList<cChara*>& list : scene.m_CharaLayers) {
        if (list.empty()) continue;
        cChara* found = FindNearestChara(x, y, list, mode, filter);
        if (!found) continue;
        const int distance = ScreenCentreDistance(*found, x, y);
        if (!best || distance < bestDistance) {
            best = found;
            bestDistance = distance;
        }
    }
    return best;
}

cChara* FirstInLayers(cPlayScene& scene, int layer, int allLayers, const CHARAFILTER& filter)
{
    if (!allLayers) return FindFirstChara(scene.m_CharaLayers.At(layer), filter);
    for (cSafeList<cChara*>& list : scene.m_CharaLayers) {
        if (cChara* found = FindFirstChara(list, filter)) return found;
    }
    return nullptr;
}

}  // namespace

void FlowCmdFlowOperation(cChara& chara, cFlowCommandEntry& entry)
{
    if (!entry.m_lpCommand) return;
    const cSafeVector<std::int32_t>& params = entry.m_lpCommand->m_Params;
    const int operation = params.At(0);
    const int target = params.At(1);
    const int id = params.At(2);
    cPlayScene* scene = Scene();
    cRunningFlow* running = scene ? scene->m_lpCurFlow : nullptr;
    cFlowCommandEntry* runningEntry = scene ? scene->m_lpCurEntry : nullptr;
    // By index: a flow started here runs commands of its own, which must not leave this walk
    // holding a stale element.
    for (std::size_t i = 0; i < chara.m_RunningFlows.size(); ++i) {
        cRunningFlow& flow = chara.m_RunningFlows[i];
        if (!FlowConcerned(flow, running, target, id)) continue;
        OperateOnFlow(chara, flow, operation);
        // A flow of the stage-start trigger runs its commands as it starts, taking the scene's
        // current flow and entry: the rest of this step belongs to the flow that runs it.
        if (scene) {
            scene->m_lpCurFlow = running;
            scene->m_lpCurEntry = runningEntry;
        }
    }
}

int ExecCmdStageClear(cChara&, cCommandData& command)
{
    const cSafeVector<std::int32_t>& params = command.m_Params;
    if (cPlayScene* scene = Scene()) {
        switch (params.At(0)) {
        case 0: scene->m_StageClear.m_nNextStage = WrapAdd(g_SaveData.m_nSeriesNumber, 1); break;
        case 1: scene->m_StageClear.m_nNextStage = params.At(1); break;
        case 2: scene->m_StageClear.m_nNextStage = 0; break;
        default: break;
        }
    }
    if (params.At(2)) {
        const int x = params.At(3);
        const int y = params.At(4);
        g_SaveData.m_nMapX = (x >= g_WorldMapData.m_nWidth) ? WrapSub(g_WorldMapData.m_nWidth, 1) : x;
        g_SaveData.m_nMapY = (y >= g_WorldMapData.m_nHeight) ? WrapSub(g_WorldMapData.m_nHeight, 1) : y;
        g_SaveData.m_nMapState = 0;
    }
    if (params.At(5)) {
        g_SaveData.m_bFollowUp = 1;
        g_SaveData.m_nFollowUpA = params.At(6);
        g_SaveData.m_nFollowUpB = params.At(7);
        int facing = params.At(8);
        if (facing == 2) {
            const cChara* player = PlayerOne();
            facing = player ? player->m_nDirection : 0;
        }
        g_SaveData.m_nFollowUpC = facing;
    } else {
        g_SaveData.m_bFollowUp = 0;
    }
    return 1;
}

void ExecCmdWarp(cChara& chara, cCommandData& command)
{
    const cEdMove* move = command.m_pMove.get();
    if (!move) return;
    const cChara* target = chara.m_lpTarget;
    if (move->m_nMode == 1 && !target) return;

    const double savedX = chara.m_dX;
    const double savedY = chara.m_dY;
    const double savedRight = chara.m_dRight;
    const double savedBottom = chara.m_dBottom;
    chara.m_bFixedScreenX = 0;
    chara.m_bFixedScreenY = 0;
    const int d = WrapMul(WrapAdd(WrapMul(move->m_nDistancePerFactor, chara.m_sCopyIndex), move->m_nDistance), 16);
    switch (move->m_nMode) {
    case 0: WarpByDirection(chara, ResolveMoveDirection(chara, move->m_nDirection), d); break;
    case 1: {
        const int code = ResolveMoveDirection(*target, move->m_nDirection);
        CentreOnTarget(chara, *target);
        WarpByDirection(chara, code, d);
        break;
    }
    case 2: WarpToPoint(chara, *move); break;
    default: break;
    }

    chara.UpdateScreenRect();
    cPlayScene* scene = Scene();
    if (!chara.IsInsideStage(0) || (scene && scene->IsInSolid(chara))) {
        chara.m_dX = savedX;
        chara.m_dY = savedY;
        chara.m_dRight = savedRight;
        chara.m_dBottom = savedBottom;
        chara.OnMovedY();
        chara.OnMovedX();
        chara.UpdateScreenRect();
    } else if (chara.m_bFlying == 0) {
        chara.m_dVY = 0;
    }
    if (move->m_nMode == 2 && move->m_nCoordinates == 2) {
        // Drawn at that screen point for the rest of the frame, even where it could not go.
        chara.m_nFixedScreenX = chara.m_ScreenRect.left;
        chara.m_nFixedScreenY = chara.m_ScreenRect.top;
        chara.m_bFixedScreenX = 1;
        chara.m_bFixedScreenY = 1;
    }
}

void ExecCmdSetTarget(cChara& chara, cCommandData& command)
{
    const cSafeVector<std::int32_t>& params = command.m_Params;
    chara.UnregisterFromTarget();
    CHARAFILTER filter;
    filter.bById = params.At(8);
    filter.nId = static_cast<std::uint8_t>(params.At(9));
    filter.bExcludeSerial = params.At(4);
    filter.nSerial = chara.m_nSerial;
    filter.bExcludeInvincible1 = params.At(5);
    filter.bExcludeInvincible2 = params.At(6);
    filter.bExcludeBlock = params.At(7);
    const int layer = params.At(1);
    const int allLayers = params.At(2);
    cPlayScene* scene = Scene();

    cChara* target = nullptr;
    switch (params.At(0)) {
    case 0: target = PlayerOne(); break;
    case 1: target = &chara; break;
    case 2:
        if (scene) {
            const int x = WrapAdd(chara.m_ScreenRect.left, chara.m_nDrawWidth / 2);
            const int y = WrapAdd(chara.m_ScreenRect.top, chara.m_nDrawHeight / 2);
            target = NearestInLayers(*scene, layer, allLayers, x, y, params.At(3), filter);
        }
        break;
    case 3:
        if (scene) target = FirstInLayers(*scene, layer, allLayers, filter);
        break;
    default: break;
    }
    chara.m_lpTarget = target;
    chara.RegisterWithTarget();
}
