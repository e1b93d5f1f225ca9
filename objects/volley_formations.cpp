// The six formations: where a volley's objects start, how they are spaced and how fast they
// fly. An angle a gives the velocity (-cos a, -sin a) × speed: 0 left, 90 up, 180 right,
// 270 down. Halving an integer is an arithmetic shift.
#include "data/role_accessors.h"
#include "data/shot_part.h"
#include "objects/chara.h"
#include "objects/volley.h"
#include "play/play_scene.h"
#include "shell/game_arithmetic.h"
#include "shell/root_two.h"

namespace {

int Half(int value)
{
    return value >> 1;
}

// The owner's screen rectangle and the camera, as the placement tables read them.
struct OWNERFRAME {
    int L, T, R, B, W, H;
    double sx, sy;
    int isx, isy;   // trunc(sx), trunc(sy)
};

OWNERFRAME FrameOf(const cChara& owner)
{
    OWNERFRAME f{};
    const INTRECT& r = owner.m_ScreenRect;
    f.L = r.left;
    f.T = r.top;
    f.R = r.right;
    f.B = r.bottom;
    f.W = WrapAdd(WrapSub(r.right, r.left), 1);
    f.H = WrapAdd(WrapSub(r.bottom, r.top), 1);
    const cPlayScene* scene = Scene();
    f.sx = scene ? scene->m_ScrollX.m_dPos : 0.0;
    f.sy = scene ? scene->m_ScrollY.m_dPos : 0.0;
    f.isx = TruncToInt(f.sx);
    f.isy = TruncToInt(f.sy);
    return f;
}

bool IsPlacementCode(int code)
{
    return code == 2 || code == 3 || (code >= 6 && code <= 11);
}

// The diagonal corners beside the owner.
int X8(const OWNERFRAME& f, int w)
{
    const double c = g_dInvSqrt2;
    return TruncToInt(WrapAdd(WrapAdd(f.isx, f.L), Half(f.W)) + c * WrapSub(WrapSub(1, Half(f.W)), Half(w)) - Half(w));
}
int X10(const OWNERFRAME& f, int w)
{
    const double c = g_dInvSqrt2;
    const int across = WrapAdd(WrapSub(WrapSub(WrapAdd(f.R, Half(w)), Half(f.W)), f.L), 1);
    return TruncToInt(WrapAdd(WrapAdd(f.isx, f.L), Half(f.W)) + c * across - Half(w));
}
int Y8(const OWNERFRAME& f, int h)
{
    const double c = g_dInvSqrt2;
    return TruncToInt(WrapAdd(WrapAdd(f.isy, f.T), Half(f.H)) - c * WrapAdd(Half(f.H), Half(h)) - Half(h));
}
int Y9(const OWNERFRAME& f, int h)
{
    const double c = g_dInvSqrt2;
    const int across = WrapAdd(WrapSub(WrapSub(WrapAdd(f.B, Half(h)), f.T), Half(f.H)), 1);
    return TruncToInt(WrapAdd(WrapAdd(f.isy, f.T), Half(f.H)) + c * across - Half(h));
}

// The velocity of the straight formations' table for a code: the axis speeds, or c × speed
// on both axes for the diagonals.
void TableVelocity(int code, double speed, double& vx, double& vy)
{
    const double c = g_dInvSqrt2;
    vx = vy = 0;
    switch (code) {
    case 2: vx = -speed; break;
    case 3: vx = speed; break;
    case 6: vy = -speed; break;
    case 7: vy = speed; break;
    case 8: vx = -c * speed; vy = -c * speed; break;
    case 9: vx = -c * speed; vy = c * speed; break;
    case 10: vx = c * speed; vy = -c * speed; break;
    case 11: vx = c * speed; vy = c * speed; break;
    default: break;
    }
}

void VelocityAt(double angle, double speed, double& vx, double& vy)
{
    const double radians = DegToRad(angle);
    vx = -GameCos(radians) * speed;
    vy = -GameSin(radians) * speed;
}

// "直進A": a row across the flight, centred on the owner's side.
void PlaceStraightA(const OWNERFRAME& f, const cEdShot& def, SPAWNPARAM& p)
{
    const double c = g_dInvSqrt2;
    const int n = static_cast<std::int8_t>(def.m_nFormationCount);
    const int s16 = WrapMul(def.m_nFormationParams[0], 16);
    const int s8 = WrapMul(def.m_nFormationParams[0], 8);
    const int w = p.width;
    const int h = p.height;
    const int rowY = WrapSub(WrapSub(WrapAdd(WrapAdd(f.isy, f.T), Half(f.H)), WrapMul(n - 1, s8)), WrapMul(n, Half(h)));
    const int rowX = WrapSub(WrapSub(WrapAdd(WrapAdd(f.isx, f.L), Half(f.W)), WrapMul(n - 1, s8)), WrapMul(n, Half(w)));
    const double alongX = c * (n - 1) * WrapAdd(s8, Half(w));
    const double alongY = c * (n - 1) * WrapAdd(s8, Half(h));
    switch (p.direction) {
    case 2: p.startX = TruncToInt(f.sx + f.L + 1 - w); p.startY = rowY; p.stepX = 0; p.stepY = WrapAdd(s16, h); break;
    case 3: p.startX = TruncToInt(f.sx + f.R + 1); p.startY = rowY; p.stepX = 0; p.stepY = WrapAdd(s16, h); break;
    case 6: p.startX = rowX; p.startY = WrapSub(WrapAdd(f.isy, f.T), h); p.stepX = WrapAdd(s16, w); p.stepY = 0; break;
    case 7: p.startX = rowX; p.startY = WrapAdd(WrapAdd(f.isy, f.B), 1); p.stepX = WrapAdd(s16, w); p.stepY = 0; break;
    case 8:
        p.startX = TruncToInt(X8(f, w) - alongX);
        p.startY = TruncToInt(Y8(f, h) + alongY);
        p.stepX = WrapAdd(s16, w);
        p.stepY = WrapSub(WrapSub(0, s16), h);
        break;
    case 9:
        p.startX = TruncToInt(X8(f, w) - alongX);
        p.startY = TruncToInt(Y9(f, h) - alongY);
        p.stepX = WrapAdd(s16, w);
        p.stepY = WrapAdd(s16, h);
        break;
    case 10:
        p.startX = TruncToInt(X10(f, w) - alongX);
        p.startY = TruncToInt(Y8(f, h) - alongY);
        p.stepX = WrapAdd(s16, w);
        p.stepY = WrapAdd(s16, h);
        break;
    case 11:
        p.startX = TruncToInt(X10(f, w) - alongX);
        p.startY = TruncToInt(Y9(f, h) + alongY);
        p.stepX = WrapAdd(s16, w);
        p.stepY = WrapSub(WrapSub(0, s16), h);
        break;
    default: break;
    }
}

// "直進B": a column standing on the owner's bottom, stacked upward.
void PlaceStraightB(const OWNERFRAME& f, const cChara& owner, const cEdShot& def, SPAWNPARAM& p)
{
    const int s16 = WrapMul(def.m_nFormationParams[0], 16);
    const int leftX = TruncToInt(f.sx + f.L + 1 - p.width);
    const int rightX = TruncToInt(f.sx + f.R + 1);
    p.startY = WrapAdd(WrapSub(WrapAdd(f.isy, f.B), p.height), 1);
    p.stepX = 0;
    p.stepY = WrapSub(WrapSub(0, s16), p.height);
    switch (p.direction) {
    case 2: case 8: case 9: p.startX = leftX; break;
    case 3: case 10: case 11: p.startX = rightX; break;
    case 6: case 7: p.startX = (owner.m_nDirection == 1) ? rightX : leftX; break;
    default: break;
    }
}

// "拡散": the point the objects leave from.
void PlaceSpread(const OWNERFRAME& f, SPAWNPARAM& p)
{
    const int w = p.width;
    const int h = p.height;
    const int besideY = WrapSub(WrapAdd(WrapAdd(f.isy, f.T), Half(f.H)), Half(h));
    const int acrossX = WrapSub(WrapAdd(WrapAdd(f.isx, f.L), Half(f.W)), Half(w));
    switch (p.direction) {
    case 2: p.startX = WrapAdd(WrapSub(WrapAdd(f.isx, f.L), w), 1); p.startY = besideY; break;
    case 3: p.startX = WrapAdd(WrapAdd(f.isx, f.R), 1); p.startY = besideY; break;
    case 6: p.startX = acrossX; p.startY = WrapSub(WrapAdd(f.isy, f.T), h); break;
    case 7: p.startX = acrossX; p.startY = WrapAdd(WrapAdd(f.isy, f.B), 1); break;
    case 8: p.startX = X8(f, w); p.startY = Y8(f, h); break;
    case 9: p.startX = X8(f, w); p.startY = Y9(f, h); break;
    case 10: p.startX = X10(f, w); p.startY = Y8(f, h); break;
    case 11: p.startX = X10(f, w); p.startY = Y9(f, h); break;
    default: break;
    }
}

// The start at angle a around the owner (the rotate flag).
void PlaceAboutOwner(const OWNERFRAME& f, double a, SPAWNPARAM& p)
{
    const double c = g_dInvSqrt2;
    const int w = p.width;
    const int h = p.height;
    const double theta = DegToRad(a + 225);
    const double r = c * WrapAdd(WrapSub(WrapSub(WrapAdd(f.B, Half(h)), f.T), Half(f.H)), 1);
    const double t = c * WrapAdd(WrapSub(WrapSub(WrapAdd(Half(w), f.R), f.L), Half(f.W)), 1);
    p.startX = TruncToInt(f.L + Half(f.W) + f.sx + r * GameSin(theta) + t * GameCos(theta) - Half(w));
    p.startY = TruncToInt(f.T + Half(f.H) + f.sy + t * GameSin(theta) - r * GameCos(theta) - Half(h));
    p.startX = WrapAdd(p.startX, p.offsetX);
    p.startY = WrapAdd(p.startY, p.offsetY);
}

// "直進A" about the owner: the row runs across the firing angle.
void RowAcross(double fire, const cEdShot& def, SPAWNPARAM& p)
{
    const int n = static_cast<std::int8_t>(def.m_nFormationCount);
    const int s16 = WrapMul(def.m_nFormationParams[0], 16);
    const int s8 = WrapMul(def.m_nFormationParams[0], 8);
    const double S = GameSin(DegToRad(fire));
    const double C = GameCos(DegToRad(fire));
    const int halfRowX = WrapAdd(s8, Half(p.width));
    const int halfRowY = WrapAdd(s8, Half(p.height));
    if ((S >= 0 && C >= 0) || (S < 0 && C < 0)) {
        p.startX = TruncToInt(p.startX - S * halfRowX * (n - 1));
        p.stepX = TruncToInt(S * WrapAdd(s16, p.width));
        p.startY = TruncToInt(p.startY + C * halfRowY * (n - 1));
        p.stepY = TruncToInt(-C * WrapAdd(s16, p.height));
    } else {
        p.startX = TruncToInt(p.startX + S * halfRowX * (n - 1));
        p.stepX = TruncToInt(-S * WrapAdd(s16, p.width));
        p.startY = TruncToInt(p.startY - C * halfRowY * (n - 1));
        p.stepY = TruncToInt(C * WrapAdd(s16, p.height));
    }
}

// The formation target: 0 the owner's target, 1 player 1, 2 the owner; another choice none.
cChara* FormationTarget(cChara& owner, const cEdShot& def)
{
    switch (def.m_nFormationTarget) {
    case 0: return owner.m_lpTarget;
    case 1: return PlayerOne();
    case 2: return &owner;
    default: return nullptr;
    }
}

void Emit(cShotLists* shots, cChara& owner, cFlowCommandEntry& entry, cEdShot& def, SPAWNPARAM& p, int x, int y)
{
    p.x = x;
    p.y = y;
    SpawnVolleyObject(shots, p, owner, entry, def);
}

// Formations 0 to 2: the placement, the rotation about the owner and the firing angle, then
// the objects. The aim flag aims once per formation, from the placed start's centre.
void RunBesideOwner(int formation, cShotLists* shots, cChara& owner, cFlowCommandEntry& entry, cEdShot& def,
                    SPAWNPARAM& p)
{
    if (!IsPlacementCode(p.direction)) return;
    const OWNERFRAME f = FrameOf(owner);
    if (formation == kFormationStraightA) PlaceStraightA(f, def, p);
    else if (formation == kFormationStraightB) PlaceStraightB(f, owner, def, p);
    else PlaceSpread(f, p);
    p.startX = WrapAdd(p.startX, p.offsetX);
    p.startY = WrapAdd(p.startY, p.offsetY);

    auto aimFromStart = [&] {
        return VolleyAimAngle(WrapAdd(p.startX, Half(p.width)), WrapAdd(p.startY, Half(p.height)), owner, def, p);
    };
    const bool rotate = def.m_bRotateAboutOwner != 0 && formation != kFormationStraightB;
    const bool keepTable = formation != kFormationSpread && p.angle == 0 && !def.m_bAim;
    double fire = 0;
    if (rotate) {
        double a = VolleyBaseAngle(p.direction) + static_cast<double>(p.angle);
        if (def.m_bAim) {
            const int cx = WrapAdd(WrapAdd(WrapAdd(f.isx, f.L), Half(f.W)), p.offsetX);
            const int cy = WrapAdd(WrapAdd(WrapAdd(f.isy, f.T), Half(f.H)), p.offsetY);
            a = VolleyAimAngle(cx, cy, owner, def, p) + static_cast<double>(p.angle);
        }
        PlaceAboutOwner(f, a, p);
        fire = def.m_bAim ? aimFromStart() + static_cast<double>(p.angle) : a;
        if (formation == kFormationStraightA) RowAcross(fire, def, p);
    } else if (!keepTable) {
        fire = (def.m_bAim ? aimFromStart() : VolleyBaseAngle(p.direction)) + static_cast<double>(p.angle);
    }

    const int n = static_cast<std::int8_t>(def.m_nFormationCount);
    if (formation == kFormationSpread) {
        const double b = def.m_nFormationParams[0];
        const double first = (n % 2 != 0) ? fire - b * (n / 2) : fire - b * (n / 2 - 0.5);
        for (int k = 0; k < n; ++k) {
            VelocityAt(first + b * k, p.speed, p.vx, p.vy);
            Emit(shots, owner, entry, def, p, p.startX, p.startY);
        }
        return;
    }
    if (keepTable && !rotate) TableVelocity(p.direction, p.speed, p.vx, p.vy);
    else VelocityAt(fire, p.speed, p.vx, p.vy);
    for (int k = 0; k < n; ++k)
        Emit(shots, owner, entry, def, p, WrapAdd(p.startX, WrapMul(k, p.stepX)), WrapAdd(p.startY, WrapMul(k, p.stepY)));
}

}  // namespace

void RunFormation(cShotLists* shots, cChara& owner, cFlowCommandEntry& entry, cEdShot& def, SPAWNPARAM& spawn)
{
    switch (def.m_nFormation) {
    case kFormationStraightA: FormationStraightA(shots, owner, entry, def, spawn); break;
    case kFormationStraightB: FormationStraightB(shots, owner, entry, def, spawn); break;
    case kFormationSpread: FormationSpread(shots, owner, entry, def, spawn); break;
    case kFormationLightning: FormationLightning(shots, owner, entry, def, spawn); break;
    case kFormationExplosion: FormationExplosion(shots, owner, entry, def, spawn); break;
    case kFormationSurround: FormationSurround(shots, owner, entry, def, spawn); break;
    default: break;   // no such formation: nothing is placed
    }
}

void FormationStraightA(cShotLists* shots, cChara& owner, cFlowCommandEntry& entry, cEdShot& def, SPAWNPARAM& spawn)
{
    RunBesideOwner(kFormationStraightA, shots, owner, entry, def, spawn);
}

void FormationStraightB(cShotLists* shots, cChara& owner, cFlowCommandEntry& entry, cEdShot& def, SPAWNPARAM& spawn)
{
    RunBesideOwner(kFormationStraightB, shots, owner, entry, def, spawn);
}

void FormationSpread(cShotLists* shots, cChara& owner, cFlowCommandEntry& entry, cEdShot& def, SPAWNPARAM& spawn)
{
    RunBesideOwner(kFormationSpread, shots, owner, entry, def, spawn);
}

void FormationLightning(cShotLists* shots, cChara& owner, cFlowCommandEntry& entry, cEdShot& def, SPAWNPARAM& p)
{
    const cChara* target = FormationTarget(owner, def);
    if (!target || !IsPlacementCode(p.direction)) return;
    const double c = g_dInvSqrt2;
    const OWNERFRAME f = FrameOf(owner);
    const int w = p.width;
    const int h = p.height;
    const int X = WrapAdd(target->m_ScreenRect.left, Half(WrapAdd(WrapSub(target->m_ScreenRect.right, target->m_ScreenRect.left), 1)));
    const int Y = WrapAdd(target->m_ScreenRect.top, Half(WrapAdd(WrapSub(target->m_ScreenRect.bottom, target->m_ScreenRect.top), 1)));
    switch (p.direction) {
    case 2: p.startX = TruncToInt(f.sx + 640 - w); p.startY = WrapSub(WrapAdd(f.isy, Y), Half(h)); break;
    case 3: p.startX = f.isx; p.startY = WrapSub(WrapAdd(f.isy, Y), Half(h)); break;
    case 6: p.startX = WrapSub(WrapAdd(f.isx, X), Half(w)); p.startY = TruncToInt(f.sy + 480 - h); break;
    case 7: p.startX = WrapSub(WrapAdd(f.isx, X), Half(w)); p.startY = f.isy; break;
    case 8: {
        const int G = 640 - X;
        const int E = 480 - Y;
        if (G < E) { p.startX = TruncToInt(f.sx + 640 - w); p.startY = TruncToInt(f.sy + Y + G - h); }
        else { p.startX = TruncToInt(f.sx + X + E - w); p.startY = TruncToInt(f.sy + 480 - h); }
        break;
    }
    case 9: {
        const int G = 640 - X;
        const int E = Y;
        if (G < E) { p.startX = TruncToInt(f.sx + 640 - w); p.startY = TruncToInt(f.sy + Y - G); }
        else { p.startX = TruncToInt(f.sx + X + E - w); p.startY = f.isy; }
        break;
    }
    case 10: {
        const int G = X;
        const int E = 480 - Y;
        if (G < E) { p.startX = f.isx; p.startY = TruncToInt(f.sy + Y + G - h); }
        else { p.startX = TruncToInt(f.sx + X - E); p.startY = TruncToInt(f.sy + 480 - h); }
        break;
    }
    case 11: {
        const int G = X;
        const int E = Y;
        if (G < E) { p.startX = f.isx; p.startY = TruncToInt(f.sy + Y - G); }
        else { p.startX = TruncToInt(f.sx + X - E); p.startY = f.isy; }
        break;
    }
    default: break;
    }

    // Along the flight the objects trail each other back toward the edge they enter from.
    const int gap = LightningSpacingSwitch() ? 0 : WrapMul(def.m_nFormationParams[0], 16);
    double vx = 0;
    double vy = 0;
    TableVelocity(p.direction, 1.0, vx, vy);
    const int signX = (vx > 0) ? 1 : (vx < 0) ? -1 : 0;
    const int signY = (vy > 0) ? 1 : (vy < 0) ? -1 : 0;
    const bool diagonal = signX != 0 && signY != 0;
    const int alongX = diagonal ? TruncToInt(c * WrapAdd(w, gap)) : WrapAdd(w, gap);
    const int alongY = diagonal ? TruncToInt(c * WrapAdd(h, gap)) : WrapAdd(h, gap);
    p.stepX = WrapMul(-signX, alongX);
    p.stepY = WrapMul(-signY, alongY);

    // Across the flight: rows of a horizontal flight stack downward, of a vertical one to the
    // right, of a diagonal one along the other diagonal.
    const int columns = static_cast<std::int16_t>(def.m_nFormationParams[1]);
    const int spacing = WrapMul(def.m_nFormationParams[2], 16);
    int acrossX = 0;
    int acrossY = 0;
    if (!diagonal) {
        acrossX = (signX == 0) ? 1 : 0;
        acrossY = (signY == 0) ? 1 : 0;
    } else {
        acrossX = 1;
        acrossY = (signX == signY) ? -1 : 1;
    }
    const int back = WrapAdd(WrapMul((columns - 1) / 2, spacing), (columns % 2 == 0) ? Half(spacing) : 0);
    if (diagonal) {
        p.columnStepX = WrapMul(acrossX, TruncToInt(c * spacing));
        p.columnStepY = WrapMul(acrossY, TruncToInt(c * spacing));
        p.startX = WrapSub(p.startX, WrapMul(acrossX, TruncToInt(c * back)));
        p.startY = WrapSub(p.startY, WrapMul(acrossY, TruncToInt(c * back)));
    } else {
        p.columnStepX = WrapMul(acrossX, spacing);
        p.columnStepY = WrapMul(acrossY, spacing);
        p.startX = WrapSub(p.startX, WrapMul(acrossX, back));
        p.startY = WrapSub(p.startY, WrapMul(acrossY, back));
    }
    p.startX = WrapAdd(p.startX, p.offsetX);
    p.startY = WrapAdd(p.startY, p.offsetY);

    // With no angle the table's velocity, whose diagonals are exactly ±c × speed.
    if (p.angle == 0) TableVelocity(p.direction, p.speed, p.vx, p.vy);
    else VelocityAt(VolleyBaseAngle(p.direction) + static_cast<double>(p.angle), p.speed, p.vx, p.vy);
    const int n = static_cast<std::int8_t>(def.m_nFormationCount);
    for (int k = 0; k < n; ++k) {
        for (int col = 0; col < columns; ++col) {
            const int x = WrapAdd(WrapAdd(p.startX, WrapMul(k, p.stepX)), WrapMul(col, p.columnStepX));
            const int y = WrapAdd(WrapAdd(p.startY, WrapMul(k, p.stepY)), WrapMul(col, p.columnStepY));
            Emit(shots, owner, entry, def, p, x, y);
        }
    }
}

void FormationExplosion(cShotLists* shots, cChara& owner, cFlowCommandEntry& entry, cEdShot& def, SPAWNPARAM& p)
{
    const OWNERFRAME f = FrameOf(owner);
    p.startX = WrapAdd(WrapSub(WrapAdd(WrapAdd(f.isx, f.L), Half(f.W)), Half(p.width)), p.offsetX);
    p.startY = WrapAdd(WrapSub(WrapAdd(WrapAdd(f.isy, f.T), Half(f.H)), Half(p.height)), p.offsetY);
    const int n = static_cast<std::int8_t>(def.m_nFormationCount);
    const double base = VolleyBaseAngle(p.direction) + static_cast<double>(p.angle);
    for (int k = 0; k < n; ++k) {
        VelocityAt(base + k * 360.0 / n, p.speed, p.vx, p.vy);
        Emit(shots, owner, entry, def, p, p.startX, p.startY);
    }
}

void FormationSurround(cShotLists* shots, cChara& owner, cFlowCommandEntry& entry, cEdShot& def, SPAWNPARAM& p)
{
    const cChara* target = FormationTarget(owner, def);
    if (!target) return;
    const OWNERFRAME f = FrameOf(owner);
    const INTRECT& r = target->m_ScreenRect;
    const int tw = WrapAdd(WrapSub(r.right, r.left), 1);
    const int th = WrapAdd(WrapSub(r.bottom, r.top), 1);
    p.startX = WrapAdd(WrapSub(WrapAdd(WrapAdd(f.isx, r.left), Half(tw)), Half(p.width)), p.offsetX);
    p.startY = WrapAdd(WrapSub(WrapAdd(WrapAdd(f.isy, r.top), Half(th)), Half(p.height)), p.offsetY);
    const int n = static_cast<std::int8_t>(def.m_nFormationCount);
    const double distance = WrapMul(def.m_nFormationParams[0], 16);
    const double base = VolleyBaseAngle(p.direction) + static_cast<double>(p.angle);
    for (int k = 0; k < n; ++k) {
        const double u = base + k * 360.0 / n;
        const double radians = DegToRad(u);
        const int x = WrapAdd(p.startX, TruncToInt(distance * GameCos(radians) + 0.5));
        const int y = WrapAdd(p.startY, TruncToInt(distance * GameSin(radians) + 0.5));
        VelocityAt(u, p.speed, p.vx, p.vy);
        Emit(shots, owner, entry, def, p, x, y);
    }
}
