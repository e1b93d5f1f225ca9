// Movement commands' aim: from the chara's screen centre toward a point.
#include "data/command_data.h"
#include "data/role_accessors.h"
#include "objects/chara.h"
#include "shell/game_arithmetic.h"

namespace {

int CentreX(const cChara& chara)
{
    return WrapAdd(chara.m_ScreenRect.left, chara.m_nDrawWidth / 2);
}

int CentreY(const cChara& chara)
{
    return WrapAdd(chara.m_ScreenRect.top, chara.m_nDrawHeight / 2);
}

const cEdMove* MovePart(const cFlowCommandEntry& state)
{
    return state.m_lpCommand ? state.m_lpCommand->m_pMove.get() : nullptr;
}

}  // namespace

void cChara::MoveTargetPoint(double& x, double& y, const cFlowCommandEntry& state) const
{
    const cEdMove* move = MovePart(state);
    const int noX = move ? MoveNoX(*move) : 0;
    const int noY = move ? MoveNoY(*move) : 0;
    // With the second switch set only x is written, whatever the first says.
    if (noY != 0 || noX == 0) x = WrapAdd(CentreX(*this), state.m_nTargetX);
    if (noY == 0) y = WrapAdd(CentreY(*this), state.m_nTargetY);
}

void cChara::MoveToward(cFlowCommandEntry& state, const cGameObject* mover, double toX, double toY, int relative,
                        int arrival)
{
    int direction = state.m_nFacingRequest;
    const int arrived = SolveApproachVelocity(state.m_dVX, state.m_dVY, direction, mover, CentreX(*this),
                                              CentreY(*this), toX, toY, state.m_dSpeed, relative, 1, arrival,
                                              CurrentApproachScroll());
    state.m_nFacingRequest = direction;
    if (arrived) SnapCenter(TruncToInt(toX), TruncToInt(toY), state);
}

void cChara::MoveTowardX(cFlowCommandEntry& state, const cGameObject* mover, double toX, int relative, int arrival)
{
    int direction = 0;
    const int arrived = ApproachX(state.m_dVX, state.m_dVY, direction, mover, CentreX(*this), toX, state.m_dSpeed,
                                  relative, arrival, CurrentApproachScroll());
    state.m_nFacingRequest = direction;
    if (arrived) SnapCenterX(TruncToInt(toX), state);
}

void cChara::MoveTowardY(cFlowCommandEntry& state, const cGameObject* mover, double toY, int relative, int arrival)
{
    int direction = 0;
    const int arrived = ApproachY(state.m_dVX, state.m_dVY, direction, mover, CentreY(*this), toY, state.m_dSpeed,
                                  relative, arrival, CurrentApproachScroll());
    state.m_nFacingRequest = direction;
    if (arrived) SnapCenterY(TruncToInt(toY), state);
}
